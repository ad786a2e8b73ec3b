// A note for a --baud that cannot apply: a raw TCP port runs at its serial server's own
// line settings.
#pragma once

#include <string>
#include <vector>

namespace cam::cli {

// Looks at a command's arguments (--port PORT and NAME=PORT alike) and writes one line on
// standard error for each raw TCP port when --baud is given.
void TellIgnoredSpeed(const std::vector<std::string>& args);

}  // namespace cam::cli
