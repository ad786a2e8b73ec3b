// Reading text lines of files and received blocks: CR LF and LF both end a line.
#pragma once

#include <istream>
#include <string>

namespace cam {

// Reads the next line without its line end. False at the end of the input (line empty).
bool ReadTextLine(std::istream& in, std::string& line);

}  // namespace cam
