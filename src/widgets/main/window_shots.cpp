#include "widgets/main/window_shots.h"

#include <QLayout>

#include "widgets/main/main_window.h"
#include "widgets/compare/compare_window.h"
#include "core/model/texts.h"
#include "widgets/editor/chart_widget.h"
#include "widgets/editor/history_window.h"
#include "widgets/firmware/flash_window.h"
#include "widgets/functions/functions_window.h"
#include "core/messages/message_file.h"
#include "widgets/messages/message_window.h"
#include "widgets/printing/print_window.h"
#include "widgets/tools/advance_window.h"
#include "widgets/tools/size_show_window.h"
#include "widgets/ui/info_window.h"

#include <QPixmap>

namespace cam {

namespace {

// The print dialog with a printer of its own (made before the dialog that refers to it): the
// shot shows the dialog, it prints nothing.
struct PrinterOfShot {
    QPrinter printer{QPrinter::HighResolution};
};
struct PrintShot : PrinterOfShot, PrintWindow {
    PrintShot(const Program& p, Prompt& prompt, QWidget* parent) : PrintWindow(p, prompt, printer, parent) {}
};

}  // namespace

const std::vector<WindowShot>& WindowShots() {
    static const std::vector<WindowShot> kShots = {
        // The information window with the programmer's picture.
        {"info", false,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine&) -> std::unique_ptr<QWidget> {
             return std::make_unique<INTESTA>(p, prompt, &main);
         }},
        // The update window after the verification of the file, no port opened.
        {"flash", false,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) -> std::unique_ptr<QWidget> {
             auto w = std::make_unique<FlashWindow>(&main);
             FlashScreen screen;
             (void)VerifyFirmware(p, cl.file, screen, *w, prompt);
             return w;
         }},
        // --cam N selects the row of cam N as a click on its label does.
        {"functions", true,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) -> std::unique_ptr<QWidget> {
             auto w = std::make_unique<FuncSel>(p, prompt, &main);
             if (cl.cam > 0) w->clickRow(cl.cam - 1);
             return w;
         }},
        {"advance", true,
         [](MainWindow& main, Program& p, Prompt&, const CommandLine&) -> std::unique_ptr<QWidget> {
             return std::make_unique<CalcAnt>(p, &main);
         }},
        // The message window with the message file of the command line loaded, as after Open.
        {"messages", false,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) -> std::unique_ptr<QWidget> {
             auto w = std::make_unique<MsgWindow>(p, prompt, nullptr, &main);
             if (!cl.file.empty()) {
                 p.MsgFile = cl.file;
                 if (!LoadReceivedMessages(p, prompt)) return nullptr;
                 w->ShowFileTitle();
             }
             w->MsgList();
             return w;
         }},
        {"print", true,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine&) -> std::unique_ptr<QWidget> {
             return std::make_unique<PrintShot>(p, prompt, &main);
         }},
        // The tables compared with an empty program of their model: every kind of line the
        // window lists, each phase of the file among them.
        {"compare", true,
         [](MainWindow& main, Program& p, Prompt&, const CommandLine&) -> std::unique_ptr<QWidget> {
             Program empty = p;
             ClearAll(empty);
             Comparison c;
             c.names = {TablesName(p), Text(p, txt::kCompareEmpty)};
             c.differences = ComparePrograms(p, empty, p);
             return std::make_unique<CompareWindow>(p, c, nullptr, &main);
         }},
        // The change history of the file (with --drag: the drag made before the shot).
        {"history", true,
         [](MainWindow& main, Program& p, Prompt&, const CommandLine&) -> std::unique_ptr<QWidget> {
             return std::make_unique<HistoryWindow>(
                 p, main.document(), [] {}, &main);
         }},
        {"show", true,
         [](MainWindow& main, Program& p, Prompt&, const CommandLine& cl) -> std::unique_ptr<QWidget> {
             auto w = std::make_unique<SizeShowWindow>(p, &main);
             w->SetPosition(cl.position >= 0 ? cl.position : 0);
             return w;
         }},
    };
    return kShots;
}

const WindowShot* FindWindowShot(const std::string& name) {
    for (const WindowShot& s : WindowShots())
        if (name == s.name) return &s;
    return nullptr;
}

void ShowForShot(QWidget& w) {
    // The layout sets the window's size limits before the window exists, not after: a
    // platform without a window manager (offscreen) would warn about every change of them.
    if (w.layout()) w.layout()->activate();
    w.show();
}

bool SavePng(const QPixmap& shot, const QString& path, std::string* error) {
    // A quick deflate: the main window's picture takes a quarter of camdesk's start at the
    // usual level, and a third of that at this one, for a file a fifth larger (47 KB).
    if (shot.save(path, "PNG", kScreenshotQuality)) return true;
    if (error) *error = "cannot write " + path.toLocal8Bit().toStdString();
    return false;
}

bool SaveWindowShot(QWidget& w, const QString& path, std::string* error) {
    ShowForShot(w);
    return SavePng(w.grab(), path, error);
}

}  // namespace cam
