// camctl ports: the serial ports the system knows, so that a user finds the port from a
// terminal. Pseudo-terminals (camsim's) are not listed: their path is given to --port as it is.
#include "programs/camctl/commands.h"
#include "core/link/port_listing.h"

#include <QSerialPortInfo>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>

namespace cam::cli {

namespace {

std::string Access(const std::string& device) {
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return "no: " + device + " is gone";
    const group* g = ::getgrgid(st.st_gid);
    return AccessText(::access(device.c_str(), R_OK | W_OK) == 0, g ? g->gr_name : "",
                      (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP));
}

}  // namespace

int PortsCommand(const ParsedArgs&) {
    const std::map<std::string, std::string> stable = StableNames("/dev/serial/by-id");
    std::vector<ListedPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string device = info.systemLocation().toStdString();
        const auto link = stable.find(device);
        ports.push_back(
            {device, info.description().toStdString(), link == stable.end() ? "" : link->second, Access(device)});
    }
    if (ports.empty()) {
        std::cerr << "camctl ports: no serial ports found (a pseudo-terminal such as camsim's is not listed: "
                     "give its path to --port)\n";
        return 0;
    }
    std::cout << PortTable(ports);
    return 0;
}

}  // namespace cam::cli
