// File dialog patterns that match names in any letter case ("*.cam" shows X.CAM and x.Cam).
#pragma once

#include <string>

namespace cam {

// "*.cam" -> "*.[cC][aA][mM]"; "*.*" -> "*" (every file, with or without a dot).
std::string AnyCasePattern(const std::string& pattern);

}  // namespace cam
