// Language scripts (*.Scr): line k holds text k, between two delimiter characters
// (the first line has only its last character dropped).
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

inline constexpr const char* kDefaultLanguageScript = "Z32px_ENG.SCR";

// The shipped script is a few kilobytes; 500 texts of two kilobytes each is more than any.
inline constexpr std::uintmax_t kMaxLanguageScriptBytes = 1024 * 1024;

// Texts 1..500 of a script's bytes (element 0 unused, texts not given are ""). Lines
// ended by LF or CR alone count as CR LF; an empty line is an empty text; a final line without
// a line end is not loaded.
std::vector<std::string> ParseLanguageScript(std::string_view bytes);

// Reads the script at path into p.LngTxt. A file that cannot be read leaves the texts as
// they were; the reason names it.
Result ReadLanguageScript(Program& p, const std::string& path);

// Path of the default script: beside the executable (exeDir), then in the installed data
// folder. "" when neither holds it.
std::string FindDefaultLanguageScript(const std::string& exeDir);

// Loads p.LngFile into p.LngTxt, asking the user for a script when it is missing
// (messages and dialog through prompt; a chosen script is saved with the options).
void LoadLanguage(Program& p, Prompt& prompt);

// The Set Language command: asks for a script and stores its path in the options file.
// True when the start-up must run again to apply it.
bool ChooseLanguage(Program& p, Prompt& prompt);

}  // namespace cam
