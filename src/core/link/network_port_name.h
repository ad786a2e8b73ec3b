// Network ports: a device whose RS-232 line ends at a serial device server on the network.
// "tcp://HOST:PORT" carries the line's bytes as they are (the server's own line settings
// apply); "rfc2217://HOST:PORT" is telnet with the COM port control option, through which
// the tool sets the remote line as it sets a local one.
#pragma once

#include "core/model/result.h"

#include <string>
#include <string_view>

namespace cam {

struct NetworkPortName {
    enum Protocol { RawTcp, Rfc2217 } protocol = RawTcp;
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    int port = 0;      // 1..65535
    std::string where() const;  // "HOST:PORT", as messages name the server
};

// A name with the scheme of a network port, well formed or not: never a device path.
bool IsNetworkPortName(std::string_view name);

// The parts of a network port name; a failure says what is wrong with it.
Result ParseNetworkPortName(std::string_view name, NetworkPortName& out);

// Whether the tool sets the line's speed on this port: not on a raw TCP port, whose server
// keeps its own settings.
bool SpeedApplies(std::string_view portName);

}  // namespace cam
