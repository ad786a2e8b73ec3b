// camctl identify: asks the device on a port for its model, as camdesk does at start-up.
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "core/model/scripted_prompt.h"
#include "core/link/identify.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "qt/cp1252.h"

#include <iostream>

namespace cam::cli {

int IdentifyCommand(const ParsedArgs& args) {
    Program p;
    if (!PortOptionsOf(args, p)) return 2;
    QtLinePort port;
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
