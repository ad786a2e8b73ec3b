// A whole program as JSON, for scripts: the model, the functions block, the remarks, and
// every size with the phases of each cam that has any (chart order, [ON, OFF] pairs, OFF
// exclusive, ON > OFF for a phase through position 0). Texts are UTF-8. README.md describes
// every member.
#pragma once

#include "core/model/program.h"

#include <string>
#include <string_view>

namespace cam {

std::string CamJsonText(const CamData& p);

// A JSON string literal of Windows-1252 text: quoted, with the escapes JSON requires.
std::string JsonString(std::string_view cp1252);

}  // namespace cam
