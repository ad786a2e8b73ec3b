// camctl: inspect and convert cam files and talk to the device from a console.
// A small dispatcher: every command lives in its own file and is listed below once, with
// its options; one parser splits every command line by that table.
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/speed_note.h"
#include "core/model/version.h"
#include "qt/command_line.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace cam::cli;
using cam::CommandOption;
using cam::Required;

struct Command {
    cam::CommandSyntax syntax;  // its name is "camctl NAME"
    int (*run)(const cam::ParsedArgs& args);
    const char* name() const { return syntax.name.c_str() + 7; }
};

const CommandOption kVerify{"verify", "", "receive the sizes back and compare them with what the device can hold"};
const CommandOption kMsgs{"msgs", "N", "the number of messages (default 255)"};
const CommandOption kCsv{"csv", "", "a CSV table"};

// One entry per command: its usage, what it does, its options and its arguments. Adding a
// command is an entry here and its declaration in commands.h.
const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {{"camctl phases",
          {"[--model CxS] [--yes] FILE.Cam"},
          "List every phase of every size and cam: SS CC Fnnn ON OFF.",
          {opt::kModel, opt::kYes},
          {"FILE.Cam"},
          1},
         PhasesCommand},
        {{"camctl convert",
          {"[--model CxS] [--yes] IN.Cam OUT.Cam"},
          "Read a cam file as camdesk does and write it again.",
          {opt::kModel, opt::kYes},
          {"IN.Cam", "OUT.Cam"},
          2},
         ConvertCommand},
        {{"camctl identify",
          {"--port PORT [--baud N]"},
          "Ask the device on PORT for its model.",
          {Required(opt::kPort), opt::kBaud}},
         IdentifyCommand},
        {{"camctl ports",
          {""},
          "List the serial ports: device, description, /dev/serial/by-id name, whether this user may open it."},
         PortsCommand},
        {{"camctl send",
          {"--port PORT [--baud N] [--model CxS] [--yes] [--verify] FILE.Cam"},
          "Send the functions block and every size the device holds.",
          {Required(opt::kPort), opt::kBaud, opt::kYes, kVerify, opt::kModel},
          {"FILE.Cam"},
          1},
         SendCommand},
        {{"camctl receive",
          {"--port PORT [--baud N] [--model CxS] [--yes] OUT.Cam"},
          "Receive the device's configuration into OUT, written only after a complete reception.",
          {Required(opt::kPort), opt::kBaud, opt::kModel, opt::kYes},
          {"OUT.Cam"},
          1},
         ReceiveCommand},
        {{"camctl verify-hex",
          {"FILE.Abs"},
          "Check every record of a firmware file and show its identification.",
          {},
          {"FILE.Abs"},
          1},
         VerifyHexCommand},
        {{"camctl flash",
          {"--port PORT [--yes] FILE.Abs"},
          "Replace the device's firmware with FILE.Abs (asks UPDATE FLASH ? first).",
          {Required(opt::kPort), opt::kYes},
          {"FILE.Abs"},
          1},
         FlashCommand},
        {{"camctl advance",
          {"--rpm N (--ms T | --deg D)"},
          "The effective advance of T ms at N rpm, or the ms a wanted advance of D needs.",
          {Required({"rpm", "N", "speed in revolutions a minute, 1..4000"}),
           {"ms", "T", "time advance in milliseconds, 0..210"},
           {"deg", "D", "wanted advance in positions, 1..360"}}},
         AdvanceCommand},
        {{"camctl msg-list",
          {"[--msgs N] FILE.Msg"},
          "List every alarm message of a message file.",
          {kMsgs},
          {"FILE.Msg"},
          1},
         MsgListCommand},
        {{"camctl msg-convert",
          {"[--msgs N] [--yes] IN.Msg OUT.Msg"},
          "Read a message file and write it again in its canonical form.",
          {kMsgs, opt::kYes},
          {"IN.Msg", "OUT.Msg"},
          2},
         MsgConvertCommand},
        {{"camctl msg-send",
          {"--port PORT [--baud N] [--yes] FILE.Msg"},
          "Send the alarm messages of a message file to the device.",
          {Required(opt::kPort), opt::kBaud, opt::kYes},
          {"FILE.Msg"},
          1},
         MsgSendCommand},
        {{"camctl msg-receive",
          {"--port PORT [--baud N] OUT.Msg"},
          "Receive the device's alarm messages into OUT, written only after a complete reception.",
          {Required(opt::kPort), opt::kBaud},
          {"OUT.Msg"},
          1},
         MsgReceiveCommand},
        {{"camctl print",
          {"[--model CxS] [--yes] FILE.Cam --pdf OUT.pdf [--size N | --all] [--text | --chart]"},
          "Print sizes to an A4 PDF, the pages camdesk prints (default: size 1 as a listing).",
          {opt::kModel,
           opt::kYes,
           Required({"pdf", "OUT.pdf", "the PDF file to write"}),
           {"size", "N", "the size to print (default 1)"},
           {"all", "", "every size, each on a page of its own"},
           {"text", "", "a listing of every cam's phases (the default)"},
           {"chart", "", "the sizes as charts"}},
          {"FILE.Cam"},
          1},
         PrintCommand},
        {{"camctl diff",
          {"[--model CxS] [--yes] A.Cam B.Cam", "--port PORT [--baud N] [--model CxS] [--yes] A.Cam"},
          "List what differs between two cam files, or a cam file and the device (exit 1 when they differ).",
          {opt::kModel, opt::kYes, opt::kPort, opt::kBaud},
          {"A.Cam", "B.Cam"},
          1},
         DiffCommand},
        {{"camctl export",
          {"(--csv | --json) [--model CxS] [--yes] FILE.Cam OUT"},
          "Write a cam file as a CSV table or as JSON (OUT - is standard output).",
          {kCsv, {"json", "", "JSON"}, opt::kModel, opt::kYes},
          {"FILE.Cam", "OUT"},
          2},
         ExportCommand},
        {{"camctl import",
          {"--csv [--model CxS] IN.csv OUT.Cam"},
          "Build a cam file from a CSV table (nothing is written when a row is refused).",
          {Required(kCsv), opt::kModel},
          {"IN.csv", "OUT.Cam"},
          2},
         ImportCommand},
        {{"camctl backup",
          {"--into DIR [--baud N] NAME=PORT..."},
          "Receive every device's sizes, functions block and alarm messages into DIR/NAME.Cam and DIR/NAME.Msg, all devices at once.",
          {Required({"into", "DIR", "the folder the files are written into"}), opt::kBaud},
          {"NAME=PORT..."},
          1},
         BackupCommand},
        {{"camctl restore",
          {"--from DIR [--baud N] [--verify] NAME=PORT..."},
          "Send every device its DIR/NAME.Cam and DIR/NAME.Msg, all devices at once.",
          {Required({"from", "DIR", "the folder the files are read from"}), opt::kBaud, kVerify},
          {"NAME=PORT..."},
          1},
         RestoreCommand},
    };
    return commands;
}

const cam::CommandSyntax kCamctl{"camctl",
                                 {"COMMAND [OPTIONS] [ARGUMENTS]", "help [COMMAND]", "--version"},
                                 "",
                                 {{"version", "", "print the version and end"}}};

const Command* Find(const std::string& name) {
    for (const Command& c : Commands())
        if (name == c.name()) return &c;
    return nullptr;
}

void PrintUsage(std::ostream& out) {
    out << "usage: camctl COMMAND [OPTIONS] [ARGUMENTS]\n"
           "       camctl help COMMAND | camctl COMMAND --help   the options of a command\n"
           "       camctl --version\n\ncommands:\n";
    for (const Command& c : Commands()) {
        for (const std::string& usage : c.syntax.usage)
            out << "  " << c.syntax.name << (usage.empty() ? "" : " ") << usage << '\n';
        out << "      " << c.syntax.summary << '\n';
    }
    out << "\nExit status: 0 success, 1 failure, 2 wrong usage. Messages go to standard error.\n";
}

// The command's line after its name: split, checked, and run.
int Run(const Command& c, const std::vector<std::string>& args) {
    const cam::SplitArgs split = cam::SplitCommandLine(c.syntax, args);
    if (split.help) {
        std::cout << cam::HelpText(c.syntax);
        return FinishOutput(0);
    }
    if (!split.ok()) {
        std::cerr << c.syntax.name << ": " << split.error << '\n' << cam::UsageText(c.syntax);
        return 2;
    }
    TellIgnoredSpeed(split.args);
    return FinishOutput(c.run(split.args));
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const cam::SplitArgs top = cam::SplitCommandLine(kCamctl, args, true);
    if (top.help) {
        PrintUsage(std::cout);
        return FinishOutput(0);
    }
    if (!top.ok() || (top.args.arguments.empty() && !top.args.has("version"))) {
        if (!top.ok()) std::cerr << "camctl: " << top.error << '\n';
        PrintUsage(std::cerr);
        return 2;
    }
    if (top.args.has("version")) {
        std::cout << "camctl " << cam::kVersion << '\n';
        return FinishOutput(0);
    }
    const std::vector<std::string>& words = top.args.arguments;
    if (words[0] == "help") {
        if (words.size() == 1) {
            PrintUsage(std::cout);
            return FinishOutput(0);
        }
        const Command* c = Find(words[1]);
        if (!c || words.size() > 2) {
            std::cerr << "camctl help: " << (c ? "one command at a time" : "no command '" + words[1] + "'")
                      << "; camctl help lists the commands\n";
            return 2;
        }
        std::cout << cam::HelpText(c->syntax);
        return FinishOutput(0);
    }
    const Command* c = Find(words[0]);
    if (!c) {
        std::cerr << "camctl: unknown command '" << words[0] << "'; camctl help lists the commands\n";
        return 2;
    }
    // Gives the commands the executable's folder and, for the device commands, an event loop.
    // Printing lays out text, which needs the fonts of a GUI application: one without a display.
    const bool printing = c->run == PrintCommand;
    if (printing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        cam::EnsureRuntimeDir();
    }
    const std::unique_ptr<QCoreApplication> app =
        printing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    return Run(*c, std::vector<std::string>(words.begin() + 1, words.end()));
}
