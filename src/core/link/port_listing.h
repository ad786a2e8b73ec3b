// The serial ports as `camctl ports` lists them, so that a user finds the port from a
// terminal: the device, what the system calls it, its stable name under /dev/serial/by-id
// (which stays when the adapter is plugged into another socket) and whether this user may
// open it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace cam {

struct ListedPort {
    std::string device;       // /dev/ttyUSB0
    std::string description;  // "FT232R USB UART"; "" when the system has none
    std::string byId;         // /dev/serial/by-id/usb-FTDI_...; "" when there is none
    std::string access;       // "yes", or "no: ..." with what is missing
};

// The links of folder (/dev/serial/by-id), each under the device it leads to.
std::map<std::string, std::string> StableNames(const std::string& folder);

// What a user lacking the right to open a device needs: "no: not in group dialout" when
// the device's group may open it, else "no: only for its owner".
std::string AccessText(bool mayOpen, const std::string& group, bool groupMayOpen);

// A table of aligned columns under a header line, "-" for what is unknown.
std::string PortTable(const std::vector<ListedPort>& ports);

}  // namespace cam
