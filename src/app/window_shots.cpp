#include "app/window_shots.h"

#include "app/main_window.h"
#include "editor/chart_widget.h"

#include <QPixmap>

namespace cam {

const std::vector<WindowShot>& WindowShots() {
    static const std::vector<WindowShot> kShots = {
        // {"functions", true, [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) {...}},
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
