// camdesk: the desktop program. `camdesk --help` lists its options (core/startup.cpp).
#include "widgets/main/main_window.h"

#include "widgets/main/device_commands.h"
#include "widgets/main/functions_commands.h"
#include "widgets/main/window_shots.h"
#include "core/model/scripted_prompt.h"
#include "core/model/startup.h"
#include "core/model/version.h"
#include "qt/qt_line_port.h"
#include "qt/command_line.h"
#include "widgets/ui/qt_prompt.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <iostream>

namespace {

// camdesk --screenshot: the main window, or the window named by --window, as a PNG. No
// device query, no lock, no options written; every question gets its default answer and its
// text goes to standard error.
int Screenshot(cam::StartupSettings settings, cam::Program& program) {
    // A copy: the start-up must not open the file of a window's own, but the window needs it.
    const cam::CommandLine cl = settings.commandLine;
    const cam::WindowShot* shot = nullptr;
    if (!cl.window.empty()) {
        shot = cam::FindWindowShot(cl.window);
        if (!shot) {
            std::cerr << "camdesk: no window named '" << cl.window << "'; windows:";
            for (const cam::WindowShot& s : cam::WindowShots()) std::cerr << ' ' << s.name;
            std::cerr << "\n";
            return 2;
        }
        if (!shot->camFile) settings.commandLine.file.clear();
    }
    settings.singleInstance = false;
    settings.writeOptions = false;
    settings.askDevice = false;
    cam::ScriptedPrompt prompt(true, &std::cerr);
    cam::MainWindow window(program, prompt, settings);
    if (!window.RunStartup()) return 1;
    cam::ShowForShot(window);
    window.Activate();
    if (cl.cam > 0) window.LabCamClick(cl.cam - 1);
    if (cl.dragCam > 0) {
        if (cl.dragCam > program.NCams) {
            std::cerr << "camdesk: --drag: there is no cam " << cl.dragCam << " (the data has " << program.NCams
                      << ")\n";
            return 2;
        }
        // The drag the mouse would make on the row of the open cam, from FROM to TO.
        if (!window.PerformDrag(cl.dragCam - 1, cl.dragFrom, cl.dragTo))
            std::cerr << "camdesk: the drag changed nothing\n";
    }
    const QString out = QString::fromLocal8Bit(cl.screenshot.c_str());
    std::string error;
    bool saved = false;
    if (shot) {
        const std::unique_ptr<QWidget> w = shot->make(window, program, prompt, cl);
        saved = w && cam::SaveWindowShot(*w, out, &error);
    } else {
        saved = window.SaveScreenshot(out, 1024, 768, &error);
    }
    if (!saved) std::cerr << "camdesk: " << (error.empty() ? "the window could not be made" : error) << "\n";
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> windows;
    for (const cam::WindowShot& s : cam::WindowShots()) windows.push_back(s.name);
    const cam::CommandSyntax syntax = cam::CamdeskSyntax(windows);
    const cam::SplitArgs split = cam::SplitCommandLine(syntax, std::vector<std::string>(argv + 1, argv + argc));
    // Answered before any window system is needed.
    if (split.help) {
        std::cout << cam::HelpText(syntax);
        return 0;
    }
    const cam::CommandLine cl = split.ok() ? cam::ReadCommandLine(split.args) : cam::CommandLine{};
    if (!split.ok() || !cl.error.empty()) {
        std::cerr << "camdesk: " << (split.ok() ? cl.error : split.error) << "\n" << cam::UsageText(syntax);
        return 2;
    }
    if (cl.version) {
        std::cout << "camdesk " << cam::kVersion << "\n";
        return 0;
    }
    const bool screenshot = !cl.screenshot.empty();
    // The screenshot is made without a display.
    if (screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");
    cam::EnsureRuntimeDir();
    QApplication app(argc, argv);
    QApplication::setApplicationName("camdesk");

    cam::StartupSettings settings;
    settings.exeDir = QDir(QCoreApplication::applicationDirPath()).absolutePath().toLocal8Bit().toStdString();
    settings.commandLine = cl;
    cam::Program program;

    if (screenshot) return Screenshot(settings, program);

    cam::QtLinePort port;  // the one device line of the run (local or network), outlives the window
    cam::QtPrompt prompt;
    cam::MainWindow window(program, prompt, settings);
    prompt.setOwner(&window);
    cam::ConnectDevice(window, program, prompt, port);
    cam::ConnectFunctions(window, program, prompt);
    if (!window.RunStartup()) return 0;
    // A quarter larger than designed when the screen has room; the chart follows the window.
    if (QScreen* s = QGuiApplication::primaryScreen(); s && s->availableGeometry().height() >= 760)
        window.resize(875, 700);
    window.show();
    return app.exec();
}
