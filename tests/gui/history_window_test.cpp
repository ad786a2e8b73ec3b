// The change history as a user meets it: edits on the chart and by the commands are listed,
// the History window shows an earlier state on the chart, Restore brings it back (and can be
// reverted), and the file saved afterwards holds exactly the state restored.
#include "chart_drag_fixture.h"

#include "core/editor/size_commands.h"
#include "find_child.h"
#include "gui_tests.h"
#include "widgets/editor/history_window.h"
#include "widgets/main/functions_commands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

namespace {

using namespace camtest;

class HistoryWindowTest : public ChartDragFixture {
    Q_OBJECT

    // Ctrl+H; drive acts on the History window while it is shown.
    void WithHistory(const std::function<void(QWidget*)>& drive) {
        Activated();
        QVERIFY(DriveModal([&] { QTest::keyClick(w.get(), Qt::Key_H, Qt::ControlModifier); }, drive, false));
    }
    // The main window active again after a modal window (the shortcuts need it).
    void Activated() {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    static QListWidget* List(QWidget* d) { return child<QListWidget>(d, "LstHistory"); }
    static void Pick(QWidget* d, int row) {
        QListWidget* list = List(d);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    static std::vector<std::string> Rows(QWidget* d) {
        std::vector<std::string> out;
        for (int i = 0; i < List(d)->count(); ++i) out.push_back(List(d)->item(i)->text().toStdString());
        return out;
    }
    std::string DemoCopy() {
        const QString path = dir->filePath("demo.Cam");
        QFile::copy(QString(CAMDESK_SOURCE_DIR) + "/resources/samples/demo.Cam", path);
        return path.toStdString();
    }

private slots:
    // Open demo.Cam, open cam 3, drag a new phase, move its end, restore the state before
    // both, then the state after the first, save: the file holds exactly that state.
    void restoredStateIsWhatTheFileHolds() {
        const std::string path = DemoCopy();
        Start(path);
        QCOMPARE(Labels(), std::vector<std::string>{"file opened"});
        OpenRow(2);
        QCOMPARE(Listed(), Entries{"F001 0000 0512"});
        const QPoint a = At(2, 700), b = At(2, 900);
        const int on = PosAt(a), off1 = EndAt(b);
        Drag(a, b);
        const QPoint end = At(2, off1), further = At(2, 960);
        Drag(end, further);
        const int off2 = off1 + EndAt(further) - PosAt(end);
        QCOMPARE(Listed(), (Entries{"F001 0000 0512", Entry(2, on, off2)}));
        const std::string first = "phase " + D4(on) + "-" + D4(off1) + " of cam 3, size 1";
        QCOMPARE(Labels(), (std::vector<std::string>{"file opened", first,
                                                     "phase " + D4(on) + "-" + D4(off2) + " of cam 3, size 1"}));
        WithHistory([&](QWidget* d) {
            QCOMPARE(d->objectName(), QString("History"));
            QCOMPARE(List(d)->count(), 3);
            QCOMPARE(List(d)->currentRow(), 2);  // the present state
            QVERIFY(!child<QPushButton>(d, "CmdRestore")->isEnabled());
            Pick(d, 0);
            QCOMPARE(Listed(), Entries{"F001 0000 0512"});  // shown on the chart behind
            QVERIFY(child<QPushButton>(d, "CmdRestore")->isEnabled());
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
            QCOMPARE(Rows(d).back(), std::string("   4  back to: file opened"));
            QCOMPARE(List(d)->currentRow(), 3);
            Pick(d, 1);
            QCOMPARE(Listed(), (Entries{"F001 0000 0512", Entry(2, on, off1)}));
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
            QCOMPARE(Rows(d).back(), "   5  back to: " + first);
            QTest::mouseClick(child<QPushButton>(d, "CmdClose"), Qt::LeftButton);
        });
        QCOMPARE(Listed(), (Entries{"F001 0000 0512", Entry(2, on, off1)}));
        QVERIFY(!w->document().FileSaved());
        QVERIFY(!UndoEnabled());  // the undo copy was taken against other positions
        Activated();
        QTest::keyClick(w.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(w->document().FileSaved());

        Program saved, original;
        ScriptedPrompt quiet;
        QCOMPARE(ReadCamFile(saved, path, quiet), CamFileRead::Complete);
        QCOMPARE(ReadCamFile(original, CAMDESK_SOURCE_DIR "/resources/samples/demo.Cam", quiet), CamFileRead::Complete);
        QCOMPARE(PhaseListEntries(saved, 1, 2), (Entries{"F001 0000 0512", Entry(2, on, off1)}));
        for (int s = 1; s <= original.NSizes; ++s)
            for (int c = 0; c < original.NCams; ++c)
                if (s != 1 || c != 2) QCOMPARE(PhaseListEntries(saved, s, c), PhaseListEntries(original, s, c));
        QCOMPARE(saved.CamRemark, original.CamRemark);
    }

    void commandsAreListedInTheUsersWordsAndAFileStartsANewHistory() {
        Start();
        ConnectFunctions(*w, *p, *prompt);
        OpenRow(4);
        TypePhase("100", "200");
        prompt->push("100");
        w->RunSizeCommand(&ShiftCam);
        prompt->push("GLUE");
        QTest::mouseDClick(Chart(), Qt::LeftButton, {}, Chart()->remarkPoint(1));
        const auto functions = [&](QWidget* d) {
            QTest::mouseClick(child<QLabel>(d, "LabCam0"), Qt::LeftButton);
            auto* tm = child<QLineEdit>(d, "TmSec");
            tm->selectAll();
            QTest::keyClicks(tm, "50");
            QTest::keyClick(tm, Qt::Key_Return);
            child<QPushButton>(d, "tOK")->click();
        };
        QVERIFY(DriveModal([&] { w->action("Fu_Set")->trigger(); }, functions, true));
        QCOMPARE(Labels(), (std::vector<std::string>{"program started", "phase 0100-0200 of cam 5, size 1",
                                                     "shift cam 5 by 100", "remark of cam 2", "functions block"}));
        // Restoring the first state takes back the phases, the remark and the advance at once.
        WithHistory([&](QWidget* d) {
            Pick(d, 0);
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
        });
        QVERIFY(PhaseListEntries(*p, 1, 4).empty());
        QCOMPARE(p->CamRemark[1], std::string());
        QCOMPARE(int(p->AdvMs[0]), 0);

        // Opening a file or a new one starts a new history.
        w->document().MarkSaved();
        w->OpenDroppedFiles({CamFileWith("next.Cam", 0, 10, 20)});
        QCOMPARE(Labels(), std::vector<std::string>{"file opened"});
        OpenRow(2);
        Drag(At(2, 100), At(2, 300));
        w->document().MarkSaved();
        AcceptModelWindowSoon();
        w->NewFile();
        QCOMPARE(Labels(), std::vector<std::string>{"new file"});
    }
};

RegisterGuiTest<HistoryWindowTest> registerHistoryWindowTest;

}  // namespace

#include "history_window_test.moc"
