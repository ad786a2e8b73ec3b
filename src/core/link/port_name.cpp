#include "core/link/port_name.h"

#include "core/model/text_format.h"

#include <cctype>

namespace cam {

namespace {

constexpr long kMaxComNumber = 256;

// The number after prefix (any letter case: "com4" is "COM4"), 1 to 3 digits.
std::optional<long> NumberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 3) return std::nullopt;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(name[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
            return std::nullopt;
    long n = 0;
    for (char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

std::string PortDisplayName(const Program& p) { return p.ComDevice.empty() ? "COM" + CStr(p.ComPort) : p.ComDevice; }

std::string PortSystemName(const Program& p) {
    if (!p.ComDevice.empty()) return p.ComDevice;
#ifdef _WIN32
    return "COM" + CStr(p.ComPort);
#else
    return "/dev/ttyS" + CStr(p.ComPort - 1);
#endif
}

std::optional<long> ComNumber(std::string_view name) {
    auto n = NumberAfter(name, "COM");
    if (!n || *n < 1 || *n > kMaxComNumber) return std::nullopt;
    return n;
}

bool SetPortName(Program& p, std::string_view name) {
    name = TrimBlanks(name);
    if (name.empty()) return false;
    std::optional<long> n = ComNumber(name);
#ifndef _WIN32
    if (!n)
        if (auto s = NumberAfter(name, "/dev/ttyS"); s && *s < kMaxComNumber) n = *s + 1;
#endif
    if (n) {
        p.ComPort = *n;
        p.ComDevice.clear();
    } else {
        p.ComDevice = std::string(name);
    }
    return true;
}

bool UsePortForThisRun(Program& p, std::string_view name) {
    const PortSettings before = p.Port();
    if (!SetPortName(p, name)) return false;
    KeepPortForThisRun(p, before);
    return true;
}

void KeepPort(Program& p) { p.StoredPort.reset(); }

void KeepPortForThisRun(Program& p, const PortSettings& before) {
    if (!p.StoredPort) p.StoredPort = before;
}

}  // namespace cam
