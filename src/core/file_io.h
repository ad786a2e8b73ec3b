// Whole-file reads of the small text files of the program (writes: camfile/atomic_write.h).
#pragma once

#include <optional>
#include <string>

namespace cam {

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// Where the installed program keeps its data (the language script) and its documents (the
// manual); "" in a build that is not installed.
enum class InstalledFolder { Data, Doc };

// A file that comes with the program: beside the executable (exeDir), else in the installed
// folder. "" when neither holds it.
std::string FindProgramFile(const std::string& exeDir, const std::string& name,
                            InstalledFolder folder = InstalledFolder::Data);

// The file's bytes, std::nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace cam
