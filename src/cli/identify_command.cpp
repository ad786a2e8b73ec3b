// camctl identify: asks the device on a port for its model, as camdesk does at start-up.
#include "cli/commands.h"
#include "core/scripted_prompt.h"
#include "link/identify.h"
#include "link/port_name.h"
#include "link/qt_serial_port.h"
#include "qt/cp1252.h"

#include <iostream>

namespace cam::cli {

namespace {

// A message box's text for the console: each CR starts a new line.
std::string ConsoleText(const std::string& text) {
    std::string out = FromCp1252(text).toStdString();
    for (char& c : out)
        if (c == '\r') c = '\n';
    return out;
}

}  // namespace

int IdentifyCommand(const std::vector<std::string>& args) {
    Program p;
    bool havePort = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--port" && i + 1 < args.size()) {
            havePort = SetPortName(p, args[++i]);
        } else if (a == "--baud" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v.empty() || v.size() > 7 || v.find_first_not_of("0123456789") != std::string::npos || v == "0") {
                std::cerr << "camctl identify: bad speed '" << v << "'\n";
                return 2;
            }
            p.ComSpeed = std::stol(v);
        } else {
            std::cerr << "camctl identify: unexpected argument '" << a << "'\n";
            return 2;
        }
    }
    if (!havePort) {
        std::cerr << "camctl identify: --port PORT is required (a device path or COMn)\n";
        return 2;
    }
    QtSerialPort port;
    SteadyClock clock;
    ScriptedPrompt prompt;
    Link link(port, clock, prompt);
    const bool found = IdentifyDevice(p, link);
    ClosePort(link);
    for (const std::string& m : prompt.messages()) std::cerr << ConsoleText(m) << '\n';
    if (found) {
        std::cout << ModelText(p) << '\n';
        return 0;
    }
    if (p.ReadError && prompt.messages().empty())
        std::cerr << "camctl identify: the command came back unchanged on " << PortDisplayName(p)
                  << " (a loop-back or an echoing line, not a cam programmer)\n";
    return 1;
}

}  // namespace cam::cli
