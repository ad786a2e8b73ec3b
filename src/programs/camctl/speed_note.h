// A note for a --baud that cannot apply: a raw TCP port runs at its serial server's own
// line settings.
#pragma once

#include "core/model/command_options.h"

namespace cam::cli {

// Looks at a command's arguments (--port PORT and NAME=PORT alike) and writes one line on
// standard error for each raw TCP port when --baud is given.
void TellIgnoredSpeed(const ParsedArgs& args);

}  // namespace cam::cli
