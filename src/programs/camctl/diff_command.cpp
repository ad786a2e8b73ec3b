// camctl diff: what differs between two cam files, or between a cam file and the device.
#include "core/camfile/cam_file.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/console_view.h"
#include "programs/camctl/scratch_space.h"
#include "core/compare/program_diff.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "core/link/size_transfer.h"

#include <filesystem>
#include <iostream>

namespace cam::cli {

namespace {

constexpr int kUnreadable = 2;  // as wrong usage: there is no answer to give

// What the device holds, received into dev (its port and texts set); false after any
// failure, its messages shown.
bool ReceiveDevice(Program& dev, bool yes) {
    ScratchSpace scratch;
    if (scratch.file().empty()) {
        std::cerr << "camctl: " << scratch.error() << '\n';
        return false;
    }
    dev.TmpFile = scratch.file();
    dev.WorkDir = std::filesystem::temp_directory_path().string();
    QtLinePort port;
    SteadyClock clock;
    ConsolePrompt prompt(yes);
    Link link(port, clock, prompt);
    ConsoleView view;
    // The device's own model: another one is a difference, not a fault.
    const auto received = ReceiveProgram(dev, link, view, std::nullopt);
    if (!received) return false;
    dev.Data() = received->data;
    return true;
}

}  // namespace

int DiffCommand(const ParsedArgs& args) {
    Program dev;
    const bool device = args.has("port");
    const auto o = FileOptionsOf(args);
    if (!o || !PortOptionsOf(args, dev)) return 2;
    if (o->files.size() != (device ? 1u : 2u)) {
        std::cerr << (device ? "camctl diff: with --port, name one cam file (A.Cam)\n"
                             : "camctl diff: name two cam files (A.Cam B.Cam), or one and --port PORT\n");
        return 2;
    }
    Program a;
    if (ReadForCommand(a, *o, o->files[0]) != 0) return kUnreadable;
    std::vector<ProgramDifference> differences;
    if (device) {
        dev.LngTxt = a.LngTxt;
        if (!ReceiveDevice(dev, o->yes)) {
            std::cerr << "camctl diff: the program of the device on " << PortDisplayName(dev)
                      << " could not be received\n";
            return kUnreadable;
        }
        Comparison c = CompareWithDevice(a, dev);
        if (!c.notes.empty()) {
            std::cerr << ConsoleText(Text(a, txt::kCompareCannotHold)) << '\n';
            for (const std::string& note : c.notes) std::cerr << "  " << ConsoleText(note) << '\n';
        }
        differences = std::move(c.differences);
    } else {
        Program b;
        if (ReadForCommand(b, *o, o->files[1]) != 0) return kUnreadable;
        differences = ComparePrograms(a, b, a);
    }
    for (const ProgramDifference& d : differences) std::cout << ConsoleText(d.text) << '\n';
    std::cout << std::flush;
    return differences.empty() ? 0 : 1;
}

}  // namespace cam::cli
