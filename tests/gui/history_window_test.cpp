// The change history as a user meets it: the History window shows an earlier state on the chart,
// Restore brings it back, and the file saved afterwards holds exactly that state.
#include "chart_drag_fixture.h"

#include "find_child.h"
#include "gui_tests.h"
#include "widgets/editor/history_window.h"
#include "widgets/main/functions_commands.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

private slots:
    // Two drags, the opened state restored, then the one after the first drag; Ctrl+Z is off then.
    void restoredStateIsWhatTheFileHolds() {
        const std::string path = CamFileWith("h.Cam", 2, 0, 512);
        Start(path);
        OpenRow(2);
        const QPoint a = At(2, 700), b = At(2, 900);
        Drag(a, b);
        const std::string afterFirst = CamFileText(w->document().data());
        const Entries firstListed = Listed();
        Drag(At(2, EndAt(b)), At(2, 960));
        QCOMPARE(Labels().size(), std::size_t(3));
        WithHistory([&](QWidget* d) {
            Pick(d, 0);
            QCOMPARE(Listed(), Entries{"F001 0000 0512"});  // shown on the chart behind
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
            QCOMPARE(List(d)->item(List(d)->count() - 1)->text(), QString("   4  back to: file opened"));
            Pick(d, 1);
            QCOMPARE(Listed(), firstListed);
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
            QTest::mouseClick(child<QPushButton>(d, "CmdClose"), Qt::LeftButton);
        });
        QCOMPARE(std::tuple(Listed(), Saved(), UndoEnabled()), std::tuple(firstListed, false, false));
        Activated();
        Save();
        QCOMPARE(std::pair(Saved(), Bytes(path)), std::pair(true, afterFirst));
    }

    // Restoring the first state takes back a remark and a functions block at once; opening a file
    // or a new one starts a new history.
    void otherWindowsEditsAreRestoredAndAFileStartsANewHistory() {
        Start();
        ConnectFunctions(*w, *p, *prompt);
        const std::string started = CamFileText(w->document().data());
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
        QCOMPARE(Labels(), (std::vector<std::string>{"program started", "remark of cam 2", "functions block"}));
        WithHistory([&](QWidget* d) {
            Pick(d, 0);
            QTest::mouseClick(child<QPushButton>(d, "CmdRestore"), Qt::LeftButton);
        });
        QCOMPARE(CamFileText(w->document().data()), started);

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
