// The user manual the information window opens: a PDF under the name it has always had.
#pragma once

#include "core/program.h"

#include <string>

namespace cam {

inline constexpr const char* kManualName = "Software use manual cam programmer X9K31.pdf";

// The manual to open: a copy in the working folder first (where a site keeps its own
// edition), else the one that comes with the program (beside the executable exeDir, or in
// the installed data folder). "" when there is none.
std::string ManualPath(const Program& p, const std::string& exeDir);

}  // namespace cam
