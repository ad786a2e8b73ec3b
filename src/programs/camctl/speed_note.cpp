#include "programs/camctl/speed_note.h"

#include "core/link/network_port_name.h"

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace cam::cli {

void TellIgnoredSpeed(const ParsedArgs& args) {
    if (!args.has("baud")) return;
    std::vector<std::string> ports;
    if (args.has("port")) ports.push_back(args.value("port"));
    for (std::string_view named : args.arguments)  // NAME=PORT of a plant command
        if (const std::size_t eq = named.find('='); eq != std::string_view::npos) ports.emplace_back(named.substr(eq + 1));
    for (const std::string& port : ports)
        if (IsNetworkPortName(port) && !SpeedApplies(port))
            std::cerr << "camctl: --baud is ignored on " << port << ": the serial server's own line settings apply\n";
}

}  // namespace cam::cli
