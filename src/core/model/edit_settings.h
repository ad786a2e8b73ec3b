// camdesk's own settings of chart editing, kept apart from the options file so that the
// options file stays as every other tool reads it: "camdesk.ini" in the working folder,
// lines "name=value" ended by CR LF.
#pragma once

#include "core/model/program.h"
#include "core/model/result.h"

#include <string>
#include <string_view>

namespace cam {

inline constexpr const char* kEditSettingsFileName = "camdesk.ini";
inline constexpr int kDefaultSnapStep = 8;
inline constexpr int kMaxSnapStep = 128;

std::string EditSettingsPath(const Program& p);  // WorkDir + "/camdesk.ini"

// A snap step as typed or read: its leading number limited to 1..128.
int SnapStepOf(std::string_view text);

// SnapStep from the file's bytes; a missing or unreadable value keeps the present one.
// Lines it does not know are left alone.
void ParseEditSettings(Program& p, std::string_view bytes);
std::string FormatEditSettings(const Program& p);

// Reads the file of p.WorkDir when there is one (no file: the defaults stay).
void ReadEditSettings(Program& p);
Result WriteEditSettings(const Program& p);

}  // namespace cam
