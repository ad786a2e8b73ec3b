#include "core/link/port_choice.h"

#include "core/model/text_format.h"
#include "core/link/network_port_name.h"
#include "core/link/port_name.h"

namespace cam {

PortEntry MakePortEntry(std::string_view portName, std::string_view description, std::string_view location) {
    Program probe;
#ifdef _WIN32
    (void)location;
    SetPortName(probe, portName);  // the location is "\\.\COMn"
#else
    SetPortName(probe, location.empty() ? portName : location);
#endif
    PortEntry e;
    e.name = PortDisplayName(probe);
    std::string head;
    if (portName != e.name) head = std::string(portName);
    if (!description.empty()) head += (head.empty() ? "" : " ") + std::string(description);
    e.caption = head.empty() ? e.name : head + " (" + e.name + ")";
    return e;
}

PortChoice::PortChoice(Program& p, std::vector<PortEntry> ports) : p_(p), ports_(std::move(ports)) {
    portIndex_ = findPort();
    const std::string speed = CStr(p_.ComSpeed);
    for (int i = 0; i < 4; ++i)
        if (speed == kSpeeds[i]) {
            speedIndex_ = i;
            break;
        }
}

int PortChoice::findPort() const {
    // By name, so that COM1 never picks COM10's entry.
    const std::string name = PortDisplayName(p_);
    for (std::size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i].name == name) return static_cast<int>(i);
    return -1;
}

void PortChoice::selectPort(int index) {
    if (index < 0 || index >= static_cast<int>(ports_.size())) return;
    if (SetPortName(p_, ports_[index].name)) portIndex_ = index;
}

void PortChoice::selectSpeed(int index) {
    if (index < 0 || index >= 4) return;
    p_.ComSpeed = static_cast<long>(Val(kSpeeds[index]));
    speedIndex_ = index;
}

void PortChoice::typePort(std::string_view text) {
    for (std::size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i].caption == text) return selectPort(static_cast<int>(i));
    if (SetPortName(p_, text)) portIndex_ = findPort();
}

bool PortChoice::speedApplies() const { return SpeedApplies(PortDisplayName(p_)); }

std::string PortChoice::settingsLine() const {
    const std::string where = p_.ComDevice.empty() ? "COM:" + CStr(p_.ComPort) : p_.ComDevice;
    return "Current Settings: " + where + ", " + CStr(p_.ComSpeed) + "baud, NO parity, 8 bits, 1stop";
}

}  // namespace cam
