// The start-up sequence of the main window and the options file it writes at shut-down.
#include "app/main_window.h"

#include "core/file_io.h"
#include "core/language.h"
#include "core/options.h"
#include "core/single_instance.h"
#include "link/port_name.h"
#include "editor/chart_widget.h"
#include "qt/cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

namespace cam {

namespace {
std::string Local(const QString& s) { return s.toLocal8Bit().toStdString(); }

bool IsWritableDir(const std::string& path) {
    const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    return info.isDir() && info.isWritable();
}

// Text 104 is needed before the language script of this run is loaded.
std::string AlreadyRunningText(Program& p, const std::string& exeDir) {
    const std::string script = FileExists(p.LngFile) ? p.LngFile : FindDefaultLanguageScript(exeDir);
    if (!script.empty()) ReadLanguageScript(p, script);
    return p.Text(104).empty() ? std::string("The cam programmer interface is already running.") : p.Text(104);
}
}  // namespace

bool MainWindow::RunStartup() { return Startup(false); }

bool MainWindow::Startup(bool again) {
    // Working folder first: the single-instance lock lives there.
    const std::string documents = !settings_.documentsDir.empty()
                                      ? settings_.documentsDir
                                      : Local(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const std::string home = !settings_.homeDir.empty() ? settings_.homeDir : Local(QDir::homePath());
    p_.WorkDir = ChooseWorkDir(documents, home, IsWritableDir);

    if (!again && settings_.singleInstance) {
        instance_ = std::make_unique<SingleInstance>(p_.WorkDir);
        if (!instance_->acquired()) {
            instance_.reset();
            prompt_.message(AlreadyRunningText(p_, settings_.exeDir), "", Buttons::Ok, Icon::Exclamation);
            return false;
        }
    }

    p_.UndoPos.fill(0);
    p_.CurSize = 1;
    editor_.ForgetUndo();
    LeaveEditMode();

    SetStartupSettings(p_);
    p_.LngFile.clear();
    if (FileExists(OptionsPath(p_))) ReadOptions(p_);
    if (!settings_.commandLine.port.empty()) UsePortForThisRun(p_, settings_.commandLine.port);

    // A script chosen with Set Language is used while it exists; otherwise the default one.
    if (p_.LngFile.empty() || !FileExists(p_.LngFile)) {
        const std::string found = FindDefaultLanguageScript(settings_.exeDir);
        p_.LngFile = !found.empty() ? found : settings_.exeDir + "/" + kDefaultLanguageScript;
    }
    LoadLanguage(p_, prompt_);
    ApplyTexts();

    SetStartupModel(p_);
    if (settings_.askDevice && identifyDevice) identifyDevice();
    ResizeTables(p_);
    p_.FileSaved = true;
    // The tables were cleared: the file that was open is no longer what they hold.
    if (again) CloseCamFile(p_);
    RebuildRecentMenu();

    // The file named on the command line is opened once, not again by Set Language.
    if (!again && !settings_.commandLine.file.empty()) Apply(OpenCommandLine(p_, prompt_, settings_.commandLine.file));

    if (QScreen* s = QGuiApplication::primaryScreen()) p_.ScrScale = ScreenScale(s->geometry().height(), p_.ScrScale);
    Redraw();
    return true;
}

void MainWindow::WriteOptionsFile() {
    if (!settings_.writeOptions) return;
    WriteOptions(p_);
}

}  // namespace cam
