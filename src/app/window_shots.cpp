#include "app/window_shots.h"

#include "app/main_window.h"
#include "editor/chart_widget.h"
#include "printing/print_window.h"
#include "tools/size_show_window.h"

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
        // {"functions", true, [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) {...}},
        {"print", true,
         [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine&) -> std::unique_ptr<QWidget> {
             return std::make_unique<PrintShot>(p, prompt, &main);
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

bool SaveWindowShot(QWidget& w, const QString& path, std::string* error) {
    w.show();
    const QPixmap shot = w.grab();
    if (shot.save(path, "PNG")) return true;
    if (error) *error = "cannot write " + path.toLocal8Bit().toStdString();
    return false;
}

}  // namespace cam
