// camctl send / receive: the Size Transmit and Size Receive commands of camdesk, from a console.
#include "core/camfile/cam_file.h"
#include "core/camfile/file_commands.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/console_view.h"
#include "programs/camctl/scratch_space.h"
#include "core/model/text_format.h"
#include "core/link/functions_wire.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "core/link/size_transfer.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace cam::cli {

namespace {

struct TransferOptions {
    Program port;  // its PortSettings: --port and --baud
    bool verify = false;
    FileOptions file;
};

// --port, --baud and --verify, and the file options (--model, --yes, the file).
std::optional<TransferOptions> TransferOptionsOf(const ParsedArgs& args) {
    TransferOptions o;
    o.verify = args.has("verify");
    const auto file = FileOptionsOf(args);
    if (!file || !PortOptionsOf(args, o.port)) return std::nullopt;
    o.file = *file;
    return o;
}

void UsePort(Program& p, const Program& from) { p.Port() = from.Port(); }

// Receives the device's program into p: of the cam count expectedCams when given, else
// the device's own. False after any failure; its messages are already shown.
bool Receive(Program& p, Link& link, std::optional<int> expectedCams) {
    ScratchSpace scratch;
    if (scratch.file().empty()) {
        std::cerr << "camctl: " << scratch.error() << '\n';
        return false;
    }
    p.TmpFile = scratch.file();
    ConsoleView view;
    const auto received = ReceiveProgram(p, link, view, expectedCams);
    if (!received) return false;
    p.Data() = received->data;
    return true;
}

// The first line where two cam file texts differ, "" when they are the same.
std::string FirstDifference(const std::string& sent, const std::string& received) {
    std::istringstream a(sent), b(received);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB) return "";
        if (la != lb || moreA != moreB)
            return "line " + std::to_string(line) + ": sent \"" + (moreA ? std::string(TrimBlanks(la)) : "(end)") +
                   "\", received \"" + (moreB ? std::string(TrimBlanks(lb)) : "(end)") + "\"";
    }
}

}  // namespace

int SendCommand(const ParsedArgs& args) {
    const auto o = TransferOptionsOf(args);
    if (!o) return 2;
    Program p;
    if (const int status = ReadForCommand(p, o->file, o->file.files[0]); status != 0) return status;
    UsePort(p, o->port);
    p.WorkDir = std::filesystem::temp_directory_path().string();
    QtLinePort port;
    SteadyClock clock;
    ConsolePrompt prompt(o->file.yes);
    Link link(port, clock, prompt);
    TransmitResult sent;
    {
        ConsoleView view;
        sent = SizeTransmit(p, link, view);
    }
    if (!sent) {
        std::cerr << "camctl send: the sizes were not sent\n";
        return 1;
    }
    std::cout << "sent the functions block and " << sent.sizes << (sent.sizes == 1 ? " size" : " sizes") << " of "
              << o->file.files[0] << " to " << PortDisplayName(p) << '\n';
    if (!o->verify) return 0;

    Program back;
    back.LngTxt = p.LngTxt;
    UsePort(back, p);
    if (!Receive(back, link, p.NCams)) {
        std::cerr << "camctl send: the sizes could not be received back for the check\n";
        return 1;
    }
    // Compared with what the device can hold of the data: what it cannot was told before sending.
    Program expected = ExpectedOnDevice(p, sent.sizes, sent.device.NEncoders);
    if (const std::string diff = FirstDifference(HeldText(expected, sent.sizes), HeldText(back, sent.sizes));
        !diff.empty()) {
        std::cerr << "camctl send: the device holds something else: " << diff << '\n';
        return 1;
    }
    std::cout << "verified: the device holds what was sent\n";
    return 0;
}

int ReceiveCommand(const ParsedArgs& args) {
    const auto o = TransferOptionsOf(args);
    if (!o) return 2;
    Program p;
    LoadDefaultTexts(p);
    UsePort(p, o->port);
    if (o->file.cams) {
        p.NCams = *o->file.cams;
        p.NSizes = *o->file.sizes;
    }
    QtLinePort port;
    SteadyClock clock;
    ConsolePrompt prompt(o->file.yes);
    Link link(port, clock, prompt);
    if (!Receive(p, link, o->file.cams)) {
        std::cerr << "camctl receive: nothing was written\n";
        return 1;
    }
    const std::string& out = o->file.files[0];
    if (!ConfirmFileKeepsAll(p, prompt)) {
        std::cerr << "camctl receive: nothing was written (--yes writes the file without it)\n";
        return 1;
    }
    if (const Result written = WriteCamFile(p, out); !written) {
        std::cerr << "camctl receive: " << written.reason() << '\n';
        return 1;
    }
    std::cout << "received the functions block and " << p.NSizes << " sizes (" << p.NCams << " cams) from "
              << PortDisplayName(p) << " into " << out << '\n';
    return 0;
}

}  // namespace cam::cli
