// camctl: inspect and convert cam files and talk to the device from a console.
// A small dispatcher: every command lives in its own file and is listed below once.
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/speed_note.h"
#include "core/version.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Command {
    const char* name;
    int (*run)(const std::vector<std::string>& args);
    const char* usage;
};

// One line per command; add a command here and declare it in commands.h.
const Command kCommands[] = {
    {"phases", cam::cli::PhasesCommand,
     "phases [--model CxS] [--yes] FILE.Cam    list every phase of every size and cam"},
    {"convert", cam::cli::ConvertCommand,
     "convert [--model CxS] [--yes] IN.Cam OUT.Cam    read IN and write it again as OUT"},
    {"identify", cam::cli::IdentifyCommand,
     "identify --port PORT [--baud N]    ask the device on PORT (a path or COMn) for its model"},
    {"send", cam::cli::SendCommand,
     "send --port PORT [--baud N] [--yes] [--verify] FILE.Cam    send the functions block and sizes to the device"},
    {"receive", cam::cli::ReceiveCommand,
     "receive --port PORT [--baud N] [--model CxS] [--yes] OUT.Cam    receive the device's configuration into OUT"},
    {"verify-hex", cam::cli::VerifyHexCommand,
     "verify-hex FILE.Abs    check every record of a firmware file and show its identification"},
    {"flash", cam::cli::FlashCommand,
     "flash --port PORT [--yes] FILE.Abs    replace the device's firmware with FILE (asks first)"},
    {"advance", cam::cli::AdvanceCommand,
     "advance --rpm N (--ms T | --deg D)    effective advance of T ms at N rpm, or the ms an advance of D needs"},
    {"msg-list", cam::cli::MsgListCommand,
     "msg-list [--msgs N] FILE.Msg    list every alarm message of a message file (N messages, default 255)"},
    {"msg-convert", cam::cli::MsgConvertCommand,
     "msg-convert [--msgs N] [--yes] IN.Msg OUT.Msg    read a message file and write it again as OUT"},
    {"msg-send", cam::cli::MsgSendCommand,
     "msg-send --port PORT [--baud N] [--yes] FILE.Msg    send the alarm messages of a message file to the device"},
    {"msg-receive", cam::cli::MsgReceiveCommand,
     "msg-receive --port PORT [--baud N] OUT.Msg    receive the device's alarm messages into OUT"},
    {"print", cam::cli::PrintCommand,
     "print [--model CxS] [--yes] FILE.Cam --pdf OUT.pdf [--size N | --all] [--text | --chart]    print sizes to a "
     "PDF (default: size 1 as a listing)"},
    {"diff", cam::cli::DiffCommand,
     "diff [--model CxS] [--yes] A.Cam (B.Cam | --port PORT [--baud N])    list what differs between two cam files, "
     "or a cam file and the device (exit 1 when they differ)"},
    {"export", cam::cli::ExportCommand,
     "export (--csv | --json) [--model CxS] [--yes] FILE.Cam OUT    write a cam file as a CSV table or as JSON (OUT - "
     "is standard output)"},
    {"import", cam::cli::ImportCommand,
     "import --csv [--model CxS] IN.csv OUT.Cam    build a cam file from a CSV table (nothing is written when a row is "
     "refused)"},
    {"backup", cam::cli::BackupCommand,
     "backup --into DIR [--baud N] NAME=PORT...    receive every device's sizes, functions block and alarm messages "
     "into DIR/NAME.Cam and DIR/NAME.Msg, all devices at once"},
    {"restore", cam::cli::RestoreCommand,
     "restore --from DIR [--baud N] [--verify] NAME=PORT...    send every device its DIR/NAME.Cam and DIR/NAME.Msg, "
     "all devices at once"},
};

void PrintUsage(std::ostream& out) {
    out << "usage: camctl COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : kCommands) out << "  camctl " << c.usage << '\n';
    out << "\n  --model CxS  cams x sizes of the programmer, e.g. 32x7\n"
           "  --yes        answer OK/Yes to every question (default: Cancel/No)\n";
}

}  // namespace

int main(int argc, char* argv[]) {
    // Gives the commands the executable's folder and, for the device commands, an event loop.
    // Printing lays out text, which needs the fonts of a GUI application: one without a display.
    const bool printing = argc > 1 && std::string(argv[1]) == "print";
    if (printing) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        printing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return 2;
    }
    if (args[0] == "--version") {
        std::cout << "camctl " << cam::kVersion << '\n';
        return cam::cli::FinishOutput(0);
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(std::cout);
        return cam::cli::FinishOutput(0);
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.name) {
            std::vector<std::string> rest(args.begin() + 1, args.end());
            for (const std::string& a : rest)
                if (a == "--help" || a == "-h") {
                    std::cout << "usage: camctl " << c.usage << '\n';
                    return cam::cli::FinishOutput(0);
                }
            cam::cli::TellIgnoredSpeed(rest);
            return cam::cli::FinishOutput(c.run(rest));
        }
    }
    std::cerr << "camctl: unknown command '" << args[0] << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
