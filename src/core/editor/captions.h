// The captions of the chart: the size and cam shown and the phase count of the current cam,
// in the language's wording (the built-in "SIZE ", "CAM ", "PHASES" without a script).
#pragma once

#include "core/model/program.h"

#include <string>

namespace cam {

std::string SizeCaption(const Program& p);                    // "SIZE 05"
std::string CamCaption(const Program& p);                     // "CAM 02" for CurCam 1
std::string PhaseCountCaption(const Program& p, int phases);  // "PHASES 0003"

}  // namespace cam
