// The options file "KlmPx_opt.def" in the working folder: language script path, serial
// port and speed, and up to five recent files.
#pragma once

#include "core/model/program.h"
#include "core/model/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cam {

inline constexpr const char* kOptionsFileName = "KlmPx_opt.def";
// Six lines of paths: a larger file is none of ours.
inline constexpr std::uintmax_t kMaxOptionsFileBytes = 64 * 1024;

std::string OptionsPath(const Program& p);  // WorkDir + "/KlmPx_opt.def"

// Reads the options file of p.WorkDir when it exists; values it cannot read keep their
// defaults. A failure (no file, or none that can be read) changes nothing.
Result ReadOptions(Program& p);

// The same from the file's bytes: line 1 gives LngFile, the port (ComPort for a plain
// number, ComDevice for a quoted path) and ComSpeed; lines 2..6 replace RecentFiles.
void ParseOptions(Program& p, std::string_view bytes);

// The file's bytes for p: line 1 and one line per recent file, each ended by CR LF. The port
// written is p.StoredPort when the port in use is for this run only.
std::string FormatOptions(const Program& p);

// Writes the options file (through a temporary file renamed over the old one).
Result WriteOptions(const Program& p);

}  // namespace cam
