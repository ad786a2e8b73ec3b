// Whole-file reads and all-or-nothing writes, for the small text files of the program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cam {

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// The file's bytes, std::nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes bytes to a temporary file beside path and renames it over path, so that a
// failed write leaves the previous file as it was. Returns "" on success, else the reason.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace cam
