// camdesk [--port NAME] [--trace] [--screenshot OUT.png] [FILE.Cam]
#include "app/main_window.h"

#include "camfile/file_commands.h"
#include "core/programmer_model.h"
#include "core/scripted_prompt.h"
#include "core/startup.h"
#include "link/link_runner.h"
#include "link/port_window.h"
#include "link/qt_serial_port.h"
#include "link/transfer_window.h"
#include "qt/cp1252.h"
#include "ui/qt_prompt.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <iostream>

namespace {

// The one serial port of the run, and the commands that use it.
void ConnectDevice(cam::MainWindow& window, cam::Program& p, cam::Prompt& prompt) {
    static cam::QtSerialPort port;
    window.identifyDevice = [&] { return cam::IdentifyDeviceModal(p, port, prompt, &window); };
    window.portStatus = [&] { return cam::PortStatusText(p, port.isOpen()); };
    window.setCommand("setcom", [&] {
        if (cam::ShowPortWindow(p, prompt, &window)) window.KeepPort();
    });
    window.setCommand("Tr_Siz", [&] { cam::RunSizeTransmit(p, port, prompt, &window); });
    window.setCommand("Rc_Siz", [&] {
        if (cam::RunSizeReceive(p, port, prompt, &window, cam::ToCp1252(window.windowTitle())))
            window.TablesReplaced();
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const cam::CommandLine cl = cam::ParseCommandLine(args);
    const bool screenshot = !cl.screenshot.empty();
    // The screenshot is made without a display.
    if (screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName("camdesk");
    if (!cl.error.empty()) {
        std::cerr << "camdesk: " << cl.error << "\n"
                  << "usage: camdesk [--port NAME] [--trace] [--screenshot OUT.png] [FILE.Cam]\n";
        return 2;
    }

    cam::StartupSettings settings;
    settings.exeDir = QDir(QCoreApplication::applicationDirPath()).absolutePath().toLocal8Bit().toStdString();
    settings.commandLine = cl;
    cam::Program program;

    if (screenshot) {
        // No device query, no lock, no options written; every question gets its default
        // answer and its text goes to standard error.
        settings.singleInstance = false;
        settings.writeOptions = false;
        settings.askDevice = false;
        cam::ScriptedPrompt prompt(true, &std::cerr);
        cam::MainWindow window(program, prompt, settings);
        if (!window.RunStartup()) return 1;
        window.show();
        window.Activate();
        std::string error;
        if (!window.SaveScreenshot(QString::fromLocal8Bit(cl.screenshot.c_str()), 1024, 768, &error)) {
            std::cerr << "camdesk: " << error << "\n";
            return 1;
        }
        return 0;
    }

    cam::QtPrompt prompt;
    cam::MainWindow window(program, prompt, settings);
    prompt.setOwner(&window);
    ConnectDevice(window, program, prompt);
    if (!window.RunStartup()) return 0;
    // A quarter larger than designed when the screen has room; the chart follows the window.
    if (QScreen* s = QGuiApplication::primaryScreen(); s && s->availableGeometry().height() >= 760)
        window.resize(875, 700);
    window.show();
    return app.exec();
}
