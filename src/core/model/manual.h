// The user manual the information window opens.
#pragma once

#include "core/model/program.h"

#include <string>

namespace cam {

// A site's own edition in the working folder, under the name it has always had.
inline constexpr const char* kSiteManualName = "Software use manual cam programmer X9K31.pdf";
// The manual that comes with the program.
inline constexpr const char* kManualName = "camdesk-manual.pdf";

// The manual to open: a site's edition in the working folder first, else the one that comes
// with the program (beside the executable exeDir, or in the installed documentation folder).
// "" when there is none.
std::string ManualPath(const Program& p, const std::string& exeDir);

}  // namespace cam
