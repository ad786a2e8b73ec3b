// camctl msg-list / msg-convert / msg-send / msg-receive: alarm message files and their
// transfer, as camdesk's message window and its transfer commands do them.
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/console_view.h"
#include "programs/camctl/scratch_space.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/link/identify.h"
#include "core/link/message_transfer.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "core/messages/message_file.h"
#include "qt/cp1252.h"

#include <charconv>
#include <iostream>

namespace cam::cli {

namespace {

struct MsgOptions {
    Program p;         // --msgs in NMsgs; --port and --baud in its port settings
    bool yes = false;  // --yes: messages beyond the count may be left out
    std::vector<std::string> files;
};

// --msgs, --port, --baud and --yes, as far as the command takes them, and the files. nullopt
// (after a line on standard error) for a bad value.
std::optional<MsgOptions> MsgOptionsOf(const ParsedArgs& args) {
    MsgOptions o;
    o.p.NMsgs = 255;
    o.yes = args.has("yes");
    o.files = args.arguments;
    if (args.has("msgs")) {
        const std::string n = args.value("msgs");
        int count = 0;
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), count);
        if (ec != std::errc() || end != n.data() + n.size() || count < 1 || count > kMaxMsgNumber) {
            std::cerr << "camctl: bad message count '" << n << "': 1.." << kMaxMsgNumber << '\n';
            return std::nullopt;
        }
        o.p.NMsgs = count;
    }
    if (!PortOptionsOf(args, o.p)) return std::nullopt;
    ResizeTables(o.p);
    return o;
}

// 0 when path is a message file that can be read; else 1 after saying why.
int CheckReadable(const std::string& path) {
    if (const Result r = CheckInputFile(path, kMaxMsgFileBytes); !r) {
        std::cerr << "camctl: " << r.reason() << '\n';
        return 1;
    }
    return 0;
}

// Reads a message file into p as the message window's Open does; messages beyond the count
// are left out only when yes.
int LoadForCommand(Program& p, const std::string& path, bool yes) {
    if (const int status = CheckReadable(path); status != 0) return status;
    LoadDefaultTexts(p);
    ConsolePrompt prompt(yes);
    return OpenMsgFile(p, path, prompt) ? 0 : 1;
}

struct DeviceLink {
    explicit DeviceLink(bool yes = false) : prompt(yes) {}
    QtLinePort port;
    SteadyClock clock;
    ConsolePrompt prompt;
    Link link{port, clock, prompt};
};

}  // namespace

int MsgListCommand(const ParsedArgs& args) {
    const auto o = MsgOptionsOf(args);
    if (!o) return 2;
    Program p = o->p;
    // A listing leaves nothing out of any file: it shows the --msgs first messages, as asked.
    if (const int status = LoadForCommand(p, o->files[0], true); status != 0) return status;
    for (const std::string& entry : MsgList(p)) std::cout << FromCp1252(entry).toLocal8Bit().toStdString() << '\n';
    return 0;
}

int MsgConvertCommand(const ParsedArgs& args) {
    const auto o = MsgOptionsOf(args);
    if (!o) return 2;
    Program p = o->p;
    if (const int status = LoadForCommand(p, o->files[0], o->yes); status != 0) {
        std::cerr << "camctl msg-convert: nothing was written\n";
        return status;
    }
    p.MsgFile = o->files[1];
    if (const Result written = WriteMsgFile(p); !written) {
        std::cerr << "camctl msg-convert: " << written.reason() << '\n';
        return 1;
    }
    return 0;
}

int MsgSendCommand(const ParsedArgs& args) {
    const auto o = MsgOptionsOf(args);
    if (!o) return 2;
    Program p = o->p;
    const std::string& file = o->files[0];
    if (const int status = CheckReadable(file); status != 0) return status;
    LoadDefaultTexts(p);
    DeviceLink d(o->yes);
    bool sent = false;
    if (IdentifyDevice(p, d.link)) {
        ConsoleView view;
        sent = TransmitMsgFile(p, d.link, view, file, "");
    }
    ClosePort(d.link);
    if (!sent) {
        std::cerr << "camctl msg-send: the messages were not sent\n";
        return 1;
    }
    std::cout << "sent the messages of " << file << " to " << PortDisplayName(p) << '\n';
    return 0;
}

int MsgReceiveCommand(const ParsedArgs& args) {
    const auto o = MsgOptionsOf(args);
    if (!o) return 2;
    Program p = o->p;
    LoadDefaultTexts(p);
    ScratchSpace scratch;
    if (scratch.file().empty()) {
        std::cerr << "camctl: " << scratch.error() << '\n';
        return 1;
    }
    DeviceLink d;
    MsgReception r;
    {
        ConsoleView view;
        r = ReceiveMsgs(p, d.link, view, scratch.file(), true);
    }
    // Only a complete reception is written, and then as the list reads it, not as it came.
    if (!ApplyMsgReception(p, r, scratch.file(), r.model.NMsgs, d.prompt)) {
        std::cerr << "camctl msg-receive: nothing was written\n";
        return 1;
    }
    p.MsgFile = o->files[0];
    if (const Result written = WriteMsgFile(p); !written) {
        std::cerr << "camctl msg-receive: " << written.reason() << '\n';
        return 1;
    }
    std::cout << "received " << p.NMsgs << " messages from " << PortDisplayName(p) << " into " << p.MsgFile << '\n';
    return 0;
}

}  // namespace cam::cli
