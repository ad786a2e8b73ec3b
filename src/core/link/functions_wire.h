// The functions block and the sizes as they travel to the device ("?FW"), and the checks of
// what the wire cannot carry. The device answers "?FR" in a layout of its own, read by
// reception_parser.h.
#pragma once

#include "core/model/program.h"

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

// The ratio of cams 17-32 goes to the device as a switch only: its value travels with the
// ratio of cams 25-32 alone. The note to give when the switch is on without that one; ""
// otherwise.
std::string Ratio17NotSent(const Program& p);

// The largest advance or delay the device takes, in milliseconds.
inline constexpr long kMaxAdvanceMs = 210;

// The functions-block values that the device's fields cannot carry (a direction of 2, a
// negative or four-digit shift...), one readable line each. With apply, each becomes the
// nearest value its field carries, which is what a transmission sends.
std::vector<std::string> FitFunctionsToWire(Program& p, bool apply);

// What the device holds after a transmission of sizes 1..sizes to a device with
// deviceEncoders encoders: the values fitted to their fields, the sizes as the device form
// carries them (remarks in size 1 only, at most 181 phases a cam, no always-ON cams).
Program ExpectedOnDevice(Program& p, int sizes, int deviceEncoders);

// The text that two programs held by a device are compared by: the functions block without
// its header line, then sizes 1..sizes.
std::string HeldText(Program& p, int sizes);

}  // namespace cam
