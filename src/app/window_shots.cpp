#include "app/window_shots.h"

#include "app/main_window.h"
#include "editor/chart_widget.h"
#include "messages/message_file.h"
#include "messages/message_window.h"

#include <QPixmap>

namespace cam {

const std::vector<WindowShot>& WindowShots() {
    static const std::vector<WindowShot> kShots = {
        // {"functions", true, [](MainWindow& main, Program& p, Prompt& prompt, const CommandLine& cl) {...}},
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
