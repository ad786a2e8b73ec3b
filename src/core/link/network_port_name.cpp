#include "core/link/network_port_name.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace cam {

namespace {

constexpr std::string_view kTcp = "tcp://";
constexpr std::string_view kRfc2217 = "rfc2217://";

bool HasScheme(std::string_view name, std::string_view scheme) {
    return name.size() >= scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), name.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::string NetworkPortName::where() const {
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool IsNetworkPortName(std::string_view name) { return HasScheme(name, kTcp) || HasScheme(name, kRfc2217); }

Result ParseNetworkPortName(std::string_view name, NetworkPortName& out) {
    const std::string form = " (tcp://HOST:PORT or rfc2217://HOST:PORT)";
    auto bad = [&](const std::string& why) { return Result::Failure(std::string(name) + ": " + why + form); };
    NetworkPortName n;
    std::string_view rest;
    if (HasScheme(name, kTcp)) {
        rest = name.substr(kTcp.size());
    } else if (HasScheme(name, kRfc2217)) {
        n.protocol = NetworkPortName::Rfc2217;
        rest = name.substr(kRfc2217.size());
    } else {
        return bad("not a network port");
    }
    if (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
    std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return bad("no port number");
    std::string_view host = rest.substr(0, colon);
    const std::string_view port = rest.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty()) return bad("no host");
    if (std::any_of(host.begin(), host.end(), [](char c) {
            return c == '/' || c == '[' || c == ']' || c == '@' || std::isspace(static_cast<unsigned char>(c));
        }))
        return bad("the host \"" + std::string(host) + "\" is no host name or address");
    int number = 0;
    const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || ec != std::errc() || end != port.data() + port.size() || number < 1 || number > 65535)
        return bad("the port must be a number from 1 to 65535");
    n.host = std::string(host);
    n.port = number;
    out = std::move(n);
    return {};
}

bool SpeedApplies(std::string_view portName) { return !HasScheme(portName, kTcp); }

}  // namespace cam
