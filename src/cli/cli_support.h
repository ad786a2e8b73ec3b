// What the camctl commands share: the model option, the answer option and the texts of
// the default language script.
#pragma once

#include "core/program.h"

#include <optional>
#include <string>
#include <vector>

namespace cam::cli {

// The options every file command takes, and the remaining (positional) arguments.
struct FileOptions {
    std::optional<int> cams;   // --model CxS
    std::optional<int> sizes;
    bool yes = false;          // --yes: accept every question
    std::vector<std::string> files;
};

// Parses "--model CxS", "--yes" and the file names. Returns nullopt (after a line on
// standard error) when an option is unknown or malformed.
std::optional<FileOptions> ParseFileOptions(const std::vector<std::string>& args);

// "32x7" -> cams 32, sizes 7. Only the programmer's counts are accepted: 16 or 32 cams,
// 1..60 sizes.
bool ParseModel(const std::string& text, int& cams, int& sizes);

// Loads the default language script found beside the executable (or in the installed
// data folder) into p.LngTxt, so that messages carry the program's own wording.
// Returns false (after a note on standard error) when there is none.
bool LoadDefaultTexts(Program& p);

}  // namespace cam::cli
