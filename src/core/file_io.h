// Whole-file reads of the small text files of the program (writes: camfile/atomic_write.h).
#pragma once

#include <optional>
#include <string>

namespace cam {

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// A file that comes with the program (the language script, the manual): beside the
// executable (exeDir), else in the installed data folder. "" when neither holds it.
std::string FindProgramFile(const std::string& exeDir, const std::string& name);

// The file's bytes, std::nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace cam
