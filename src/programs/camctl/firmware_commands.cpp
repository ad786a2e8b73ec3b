// camctl verify-hex / flash: the firmware update window of camdesk, from a console.
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/console_view.h"
#include "core/model/file_io.h"
#include "core/firmware/flash_update.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"

#include <algorithm>
#include <iostream>

namespace cam::cli {

namespace {

// The transmission's progress on standard error, redrawn in place on a terminal.
class ConsoleFlashView : public FlashView {
public:
    void display(const FlashScreen& s) override {
        if (s.percent < 0 || s.percent == drawnPercent_) return;
        drawnPercent_ = s.percent;
        bar_.draw("UPDATE FLASH", s.percent, std::to_string(std::max(s.sentLines, 0L)) + " lines");
    }
    void endLine() {
        bar_.end();
        drawnPercent_ = -1;
    }

private:
    ConsoleBar bar_;
    int drawnPercent_ = -1;
};

// What the verification found, as the window's rows 2 and 4 show it.
void PrintVerified(const FirmwareFile& f) {
    std::cout << "lines: " << f.records.size() << '\n'
              << "data bytes: " << f.dataBytes << '\n'
              << IdentificationRow(f.identification) << '\n';
}

// The file can be read as a firmware file: else why, on standard error.
bool CheckFile(const char* command, const std::string& path) {
    const Result usable = CheckInputFile(path, kMaxFirmwareFileBytes);
    if (!usable) std::cerr << "camctl " << command << ": " << usable.reason() << '\n';
    return usable.ok();
}

// Nothing to draw while the file is read: the counts are printed at the end.
struct NoView : FlashView {
    void display(const FlashScreen&) override {}
};

}  // namespace

int VerifyHexCommand(const ParsedArgs& args) {
    const std::string& path = args.arguments[0];
    if (!CheckFile("verify-hex", path)) return 1;
    Program p;
    LoadDefaultTexts(p);
    ConsolePrompt prompt(false);
    FlashScreen screen;
    NoView view;
    const FirmwareFile f = VerifyFirmware(p, path, screen, view, prompt);
    if (!f.ok()) return 1;
    PrintVerified(f);
    return 0;
}

int FlashCommand(const ParsedArgs& args) {
    Program p;
    if (!PortOptionsOf(args, p)) return 2;
    const bool yes = args.has("yes");
    const std::string& path = args.arguments[0];
    if (!CheckFile("flash", path)) return 1;
    LoadDefaultTexts(p);
    QtLinePort port;
    SteadyClock clock;
    ConsolePrompt prompt(yes);
    Link link(port, clock, prompt);
    FlashScreen screen;
    NoView quiet;
    const FirmwareFile f = VerifyFirmware(p, path, screen, quiet, prompt);
    if (!f.ok()) return 1;
    PrintVerified(f);
    FlashOutcome outcome;
    {
        ConsoleFlashView view;
        outcome = SendFirmware(p, link, f, path, screen, view, 0);
    }
    if (outcome != FlashOutcome::Updated) {
        if (outcome == FlashOutcome::Declined || outcome == FlashOutcome::NotReady)
            std::cerr << "camctl flash: the device on " << PortDisplayName(p) << " was not updated\n";
        return 1;
    }
    std::cout << screen.row8 << '\n';
    return 0;
}

}  // namespace cam::cli
