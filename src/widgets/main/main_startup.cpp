// The start-up sequence of the main window (the core's RunStartup with this platform's facts)
// and the options file it writes at shut-down.
#include "widgets/main/main_window.h"

#include "core/model/edit_settings.h"
#include "widgets/editor/chart_widget.h"
#include "widgets/ui/qt_single_instance.h"

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
}  // namespace

bool MainWindow::RunStartup() { return Startup(false); }

bool MainWindow::Startup(bool again) {
    editor_.ForgetUndo();
    LeaveEditMode();

    StartupFacts facts;
    facts.documentsDir = !settings_.documentsDir.empty()
                             ? settings_.documentsDir
                             : Local(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    facts.homeDir = !settings_.homeDir.empty() ? settings_.homeDir : Local(QDir::homePath());
    facts.exeDir = settings_.exeDir;
    facts.isWritableDir = IsWritableDir;
    if (settings_.singleInstance)
        facts.acquireLock = [this](const std::string& workDir) {
            instance_ = std::make_unique<SingleInstance>(workDir);
            if (instance_->acquired()) return true;
            instance_.reset();
            return false;
        };
    if (settings_.askDevice && identifyDevice) facts.identifyDevice = [this](Program&) { return identifyDevice(); };
    if (QScreen* s = QGuiApplication::primaryScreen()) facts.screenHeight = s->geometry().height();
    facts.file = settings_.commandLine.file;
    facts.port = settings_.commandLine.port;

    const StartupOutcome outcome = cam::RunStartup(p_, document_, prompt_, facts, again);
    if (!outcome.proceed) return false;
    ReadEditSettings(p_);
    ApplyTexts();
    RebuildRecentMenu();
    Apply(outcome.opened);
    Redraw();
    return true;
}

void MainWindow::WriteOptionsFile() {
    if (settings_.writeOptions) SaveOptions(p_, prompt_);
}

}  // namespace cam
