// The device answering "?FR": its functions block in the fixed-width layout it sends (lines
// A to E, hexadecimal and decimal fields), then every size, then "END". One block a line.
#pragma once

#include "device_memory.h"

#include <string>
#include <vector>

namespace camsim {

std::vector<std::string> Readout(const Model& model, const DeviceMemory& mem);

// The device answering "?AR": one block a message, "N 007" and its text between double
// quotes, then "END".
std::vector<std::string> MessageReadout(const DeviceMemory& mem);

}  // namespace camsim
