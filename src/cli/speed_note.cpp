#include "cli/speed_note.h"

#include "link/network_port_name.h"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace cam::cli {

void TellIgnoredSpeed(const std::vector<std::string>& args) {
    if (std::find(args.begin(), args.end(), "--baud") == args.end()) return;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view port = args[i];
        if (i == 0 || args[i - 1] != "--port") {  // else NAME=PORT
            const std::size_t eq = port.find('=');
            if (eq == std::string_view::npos || port[0] == '-') continue;
            port.remove_prefix(eq + 1);
        }
        if (IsNetworkPortName(port) && !SpeedApplies(port))
            std::cerr << "camctl: --baud is ignored on " << port << ": the serial server's own line settings apply\n";
    }
}

}  // namespace cam::cli
