// The main window started on a private folder, with a scripted prompt, and the helpers that
// drive it through its real widgets. Shared by the main window's test classes.
#pragma once

#include "../support/make_program.h"
#include "core/camfile/cam_file.h"
#include "core/editor/phase_list.h"
#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "widgets/editor/chart_widget.h"
#include "widgets/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QtTest>

#include <fstream>

namespace camtest {

using namespace cam;
using Entries = std::vector<std::string>;

class MainWindowFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<MainWindow> w;

    // The prompt of the next Start: scripted, declining what the script does not answer.
    std::function<std::unique_ptr<ScriptedPrompt>()> makePrompt = [] {
        return std::make_unique<ScriptedPrompt>(false);
    };

    std::string Docs() const { return Path("docs"); }

    void Start(const std::string& file = "", bool show = true, const std::string& port = "") {
        Stop();
        p = std::make_unique<Program>();
        prompt = makePrompt();
        StartupSettings s;
        s.exeDir = QCoreApplication::applicationDirPath().toStdString();
        std::tie(s.commandLine.file, s.commandLine.port) = std::tie(file, port);
        std::tie(s.singleInstance, s.askDevice) = std::pair(false, false);
        std::tie(s.documentsDir, s.homeDir) = std::tuple(Docs(), dir->path().toStdString());
        w = std::make_unique<MainWindow>(*p, *prompt, s);
        QVERIFY(w->RunStartup());
        if (show) {
            w->show();
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
        }
    }

    ChartWidget* Chart() const { return w->chart(); }
    PhaseBox* On() const { return Chart()->onBox(); }
    PhaseBox* Off() const { return Chart()->offBox(); }
    QStringList Boxes() const { return {On()->text(), Off()->text()}; }
    QStringList Captions() const { return {Chart()->sizeCaption(), Chart()->camCaption()}; }
    bool Saved() const { return w->document().FileSaved(); }
    Entries Listed() const {
        Entries out;
        for (int i = 0; i < Chart()->phaseList()->count(); ++i)
            out.push_back(Chart()->phaseList()->item(i)->text().toStdString());
        return out;
    }
    void ClickRow(int row) { QTest::mouseClick(Chart(), Qt::LeftButton, {}, Chart()->camLabelPoint(row)); }
    void OpenRow(int row) {
        ClickRow(row);
        QTest::mouseDClick(Chart(), Qt::LeftButton, {}, Chart()->camLabelPoint(row));
    }
    void TypePhase(const QString& on, const QString& off) {
        for (const auto& [box, text] : {std::pair(On(), on), std::pair(Off(), off)}) {
            QVERIFY(box->hasFocus());
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Return);
        }
        QVERIFY(On()->hasFocus());
    }
    // Types ON, Enter, OFF into the boxes of cam, leaving the phase in the OFF box.
    void HalfType(int cam, const QString& on, const QString& off) {
        OpenRow(cam);
        QTest::keyClicks(On(), on);
        QTest::keyClick(On(), Qt::Key_Return);
        QTest::keyClicks(Off(), off);
    }
    void Save() { QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier); }
    template <class... A>
    void Trigger(const char* action, const A&... answers) {
        prompt->push(answers...);
        w->action(action)->trigger();
    }
    void Undo() { QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier); }
    void RightClickRow(int row) {
        QTest::mouseClick(Chart(), Qt::RightButton, {}, Chart()->camLabelPoint(row));
        QTRY_VERIFY(w->camMenu()->isVisible());
        w->camMenu()->close();
    }
    std::string Path(const QString& name) const { return dir->filePath(name).toStdString(); }
    std::string WriteFile(const QString& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    static std::string Bytes(const std::string& path) { return ReadFileBytes(path, 1 << 30).bytes; }
    std::vector<Entries> Phases(const std::vector<std::pair<int, int>>& cams) const {
        std::vector<Entries> out;
        for (auto [size, cam] : cams) out.push_back(PhaseListEntries(*p, size, cam));
        return out;
    }
    bool UndoEnabled() const { return w->action("o_Undo")->isEnabled(); }
    void EditPhase(int size, int cam, int on, int off) {
        w->document().Edit(EditScope::Cam(size, cam), "edit", [&](CamData& d) { SetPhase(d, size, cam, on, off); });
    }
    static Program Tables(int cams = 32, int sizes = 7, int encoders = 0) { return MakeProgram(cams, sizes, encoders); }
    std::string WriteProgram(const char* name, Program q) const {
        if (!WriteCamFile(q, Path(name)).reason().empty()) qFatal("cannot write %s", name);
        return Path(name);
    }
    // A cam file of the default model holding one phase on cam `cam` of size 1.
    std::string CamFileWith(const char* name, int cam, int on, int off) const {
        Program q = Tables();
        SetPhase(q, 1, cam, on, off);
        return WriteProgram(name, q);
    }
    // Runs open, which shows a modal window, and drive on that window once it is active; a
    // window drive leaves open is then accepted or rejected. False when no window showed.
    static bool DriveModal(const std::function<void()>& open, const std::function<void(QWidget*)>& drive, bool accept) {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d || !QTest::qWaitForWindowActive(d)) return;
            shown = true;
            drive(d);
            auto* dialog = qobject_cast<QDialog*>(d);
            if (d->isVisible()) accept ? dialog->accept() : dialog->reject();
        });
        open();
        return shown;
    }
    // Runs what with the modal window that the next step opens.
    template <class F>
    static void WithModalSoon(F what) {
        QTimer::singleShot(0, [what] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) qFatal("no modal window opened");
            what(modal);
        });
    }
    // The programmer window opens modally: accept it as soon as it shows.
    static void AcceptModelWindowSoon() {
        QTimer::singleShot(0, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
        });
    }

protected slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QDir().mkpath(QString::fromStdString(Docs()));
    }
    void cleanup() { Stop(); }

protected:
    // Closes the window of the last Start, without a shut-down question.
    void Stop() {
        if (w) {
            w->document().MarkSaved();
            w->close();
        }
        w.reset();
    }
};

}  // namespace camtest
