// The functions block and the sizes as they travel to the device ("?FW"), and the checks of
// what the wire cannot carry. The device answers "?FR" in a layout of its own, read by
// reception_parser.h.
#pragma once

#include "core/program.h"

#include <string>
#include <vector>

namespace cam {

// The functions block as the framed blocks of a transmission, in order.
std::vector<std::string> FunctionBlocks(const Program& p);

// The blocks of one size: "F07", then each cam's header and phase lines (device form,
// at most kDevicePhaseLimit phases a cam).
std::vector<std::string> SizeBlocks(Program& p, int size);

// What a transmission of sizes 1..sizes would lose or change, one readable line each
// (cams with more than 181 phases, always-on cams, values wider than their wire field).
// Empty when everything goes out as it is.
std::vector<std::string> TransmitLosses(Program& p, int sizes);

}  // namespace cam
