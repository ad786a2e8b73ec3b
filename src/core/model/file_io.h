// Whole-file reads of the input files of the program, and the checks every reader makes
// before it reads (writes: camfile/atomic_write.h).
#pragma once

#include "core/model/result.h"

#include <cstdint>
#include <string>

namespace cam {

// True when path names an existing regular file (a folder does not count).
bool FileExists(const std::string& path);

// Where the installed program keeps its data (the language script) and its documents (the
// manual); "" in a build that is not installed.
enum class InstalledFolder { Data, Doc };

// A file that comes with the program: beside the executable (exeDir), else in the installed
// folder, wherever something of that name is (the reading then says what is wrong with it).
// "" when neither holds one.
std::string FindProgramFile(const std::string& exeDir, const std::string& name,
                            InstalledFolder folder = InstalledFolder::Data);

// Whether path can be read as an input file of at most limit bytes. The reason names the
// file: no such file, a folder, not a regular file (a FIFO or a device is never opened for
// reading: it could wait for ever), a loop of links, no permission, or larger than any
// file of its kind can be.
Result CheckInputFile(const std::string& path, std::uintmax_t limit);

// The bytes of an input file, with the checks of CheckInputFile.
struct [[nodiscard]] FileBytes {
    Result read;
    std::string bytes;
    bool ok() const { return read.ok(); }
};
FileBytes ReadFileBytes(const std::string& path, std::uintmax_t limit);

// Whether two paths name one file (also through links, or by two spellings); false when
// either cannot be looked at.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace cam
