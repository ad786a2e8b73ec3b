// The main window driven through its real widgets, a scripted prompt answering every question.
#include "main_window_fixture.h"

#include "core/model/options.h"
#include "gui_tests.h"
#include "widgets/ui/qt_single_instance.h"

#include <QLabel>
#include <QMimeData>
#include <QToolButton>

namespace {

using namespace camtest;

class MainWindowTest : public MainWindowFixture {
    Q_OBJECT

    QToolButton* Button(const char* name) const { return w->findChild<QToolButton*>(name); }

private slots:
    void startupShowsTheDefaultModelTheToolButtonsAndAMissingCommand() {
        Start();  // the start-up values are the start-up routines' own; here what the screen shows
        QVERIFY(w->windowTitle().endsWith("1024 32C-07F  255-Msg "));
        QCOMPARE(Captions(), (QStringList{"SIZE 01", "CAM 02"}));
        QCOMPARE(std::pair(On()->isVisible(), UndoEnabled()), std::pair(false, false));
        // A command not connected yet says it comes later.
        w->action("Upd_Flash")->trigger();
        QCOMPARE(prompt->messages().size(), std::size_t(1));
        QVERIFY(QString::fromStdString(prompt->messages()[0]).contains("not available"));
        for (const char* b : {"GoPrCam", "Azz_Form", "Sel_Form", "New_Fil", "OP_FIL", "Sv_Fil"})
            QVERIFY2(Button(b) && !Button(b)->toolTip().isEmpty() && !Button(b)->icon().isNull(), b);
        QCOMPARE(Button("GoPrCam")->toolTip().toStdString(), p->Text(121));
    }

    // The key filter and the phase rules are tested on their own: here typed keys end up on the chart.
    void typedPhasesAreWrittenOnLeavingTheOffBoxAndTakenBack() {
        Start();
        OpenRow(0);
        QCOMPARE(std::tuple(p->CurCam, On()->text(),
                            On()->isVisible() && Off()->isVisible() && Chart()->boxHeading()->isVisible()),
                 std::tuple(0, QString("0000"), true));
        QTest::keyClicks(On(), "5");
        QTest::keyClick(On(), Qt::Key_A);  // any other key types 0
        QTest::keyClick(On(), Qt::Key_Backspace);
        QCOMPARE(On()->text(), QString("500"));
        QTest::keyClick(On(), Qt::Key_Tab);  // Tab commits like Enter
        QCOMPARE(std::pair(On()->text(), Off()->hasFocus()), std::pair(QString("0500"), true));
        QTest::keyClicks(Off(), "600");
        QTest::keyClick(Off(), Qt::Key_Return);
        QCOMPARE(std::tuple(On()->hasFocus(), Listed(), Chart()->phaseCount()->text(), Saved(), UndoEnabled()),
                 std::tuple(true, Entries{"F001 0500 0600"}, QString("PHASES 0001"), false, true));

        // Ctrl+Z takes back the last phase; another size ends the undo.
        TypePhase("150", "300");
        QTest::keyClick(On(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(std::pair(Listed(), UndoEnabled()), std::pair(Entries{"F001 0500 0600"}, false));
        TypePhase("300", "400");
        QTest::mouseClick(Chart(), Qt::LeftButton, {}, Chart()->spinnerPoint(true));
        QCOMPARE(std::pair(Chart()->sizeCaption(), UndoEnabled()), std::pair(QString("SIZE 02"), false));
        // The size spinner stops at size 1.
        for (int i = 0; i < 2; ++i) QTest::mouseClick(Chart(), Qt::LeftButton, {}, Chart()->spinnerPoint(false));
        QCOMPARE(p->CurSize, 1);

        // Closing asks about the unsaved phases: Cancel keeps the window.
        prompt->push(Answer::Cancel);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
    }

    void browsingTheCamsAndThePhaseList() {
        Start();
        ClickRow(7);
        // The click leaves the focus on Modify Cam: Enter opens the cam.
        QCOMPARE(std::pair(p->CurCam, Button("GoPrCam")->hasFocus()), std::pair(7, true));
        QTest::keyClick(Button("GoPrCam"), Qt::Key_Return);
        QVERIFY(On()->isVisible() && On()->hasFocus());
        // The button opens the current cam with its first phase in the boxes.
        SetPhase(*p, 1, 1, 500, 600);
        ClickRow(1);
        QTest::mouseClick(Button("GoPrCam"), Qt::LeftButton);
        QCOMPARE(std::pair(On()->hasFocus(), Boxes()), std::pair(true, QStringList{"0500", "0600"}));

        // The navigation keys wrap and open the cam; Home and End act at window level, also in the ON box.
        ClickRow(31);
        QTest::keyClick(w.get(), Qt::Key_PageDown);
        QCOMPARE(std::pair(p->CurCam, On()->isVisible() && On()->hasFocus()), std::pair(0, true));
        QTest::keyClick(On(), Qt::Key_End);
        QCOMPARE(p->CurCam, 31);
        QTest::keyClick(On(), Qt::Key_Home);
        QCOMPARE(p->CurCam, 0);

        // A click in the phase list loads the boxes.
        SetPhase(*p, 1, 0, 10, 20);
        SetPhase(*p, 1, 0, 300, 400);
        ClickRow(0);
        QCOMPARE(Listed(), (Entries{"F001 0010 0020", "F002 0300 0400"}));
        QListWidget* list = Chart()->phaseList();
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(Boxes() << (On()->isVisible() ? "shown" : "hidden"), (QStringList{"0300", "0400", "shown"}));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QVERIFY(On()->hasFocus() && Off()->isEnabled());
    }

    void camMenuShiftAndSizeCaption() {
        Start();
        SetPhase(*p, 1, 1, 950, 1000);
        w->chart()->RedrawChart();
        prompt->push("50");
        w->findChild<QAction*>("mnul_Shc")->trigger();
        QCOMPARE(Listed(), (Entries{"F001 1000 0026"}));
        prompt->push("5");
        QTest::mouseDClick(Chart(), Qt::LeftButton, {}, Chart()->sizeCaptionPoint());
        QCOMPARE(std::pair(p->CurSize, Chart()->sizeCaption()), std::pair(5, QString("SIZE 05")));
    }

    // Opened tables are not written with the phase still in the boxes; New clears them.
    void openAndNewWithUnsavedWork() {
        Start();
        OpenRow(0);
        TypePhase("100", "200");
        const std::string path = Path("docs/other.Cam");
        Trigger("f_save", path);
        OpenRow(0);
        QTest::keyClicks(On(), "300");
        QTest::keyClick(On(), Qt::Key_Return);
        QVERIFY(Off()->hasFocus());           // 300 and 200 wait in the boxes
        Trigger("f_open", Answer::Ok, path);  // text 112: go on without saving
        QVERIFY(!On()->isVisible());
        ClickRow(5);  // focus moves on: nothing of the old boxes is written
        QCOMPARE(std::pair(PhaseListEntries(*p, 1, 0), Saved()), std::pair(Entries{"F001 0100 0200"}, true));

        // New goes through the programmer window and clears.
        OpenRow(0);
        TypePhase("500", "600");
        prompt->push(Answer::Ok);  // text 112: the unsaved phase may go
        AcceptModelWindowSoon();
        QTest::mouseClick(Button("New_Fil"), Qt::LeftButton);
        QCOMPARE(prompt->messages(), (Entries{p->Text(112), p->Text(112)}));
        QCOMPARE(std::tuple(PhaseListEntries(*p, 1, 0).empty(), On()->isVisible(), p->CurCam, UndoEnabled()),
                 std::tuple(true, false, 0, false));
    }

    // A recent item, read from the options file, reopens its file; of dropped files the last is opened.
    void recentAndDroppedFiles() {
        Program stored;
        stored.WorkDir = Docs();
        const std::string path = CamFileWith("docs/recent.Cam", 4, 700, 800);
        stored.RecentFiles = {path};
        QCOMPARE(WriteOptions(stored).reason(), std::string());
        Start();
        QAction* item = w->findChild<QAction*>("F_Mnu_oldF_1");
        QVERIFY(item);
        QCOMPARE(item->text().toStdString(), "&1 " + path);
        AcceptModelWindowSoon();
        item->trigger();
        QCOMPARE(std::pair(PhaseListEntries(*p, 1, 4), Saved()), std::pair(Entries{"F001 0700 0800"}, true));

        const std::string a = CamFileWith("a.Cam", 0, 10, 20), b = CamFileWith("b.Cam", 0, 30, 40);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl::fromLocalFile(QString::fromStdString(b))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w.get(), &enter);
        QCOMPARE(std::pair(enter.isAccepted(), enter.dropAction()), std::pair(true, Qt::CopyAction));
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(w.get(), &drop);
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(PhaseListEntries(*p, 1, 0), (Entries{"F001 0030 0040"}));
    }

    // Set Language runs the start-up again; a port given for the run is used and stored by nothing.
    void setLanguageAndAPortForThisRunOnly() {
        Program stored;
        stored.WorkDir = Docs();
        stored.ComDevice = "/dev/ttyUSB1";
        stored.RecentFiles = {"/x/one.Cam", "/x/two.Cam"};
        QCOMPARE(WriteOptions(stored).reason(), std::string());
        Start("", true, "/dev/ttyUSB7");
        QCOMPARE(p->ComDevice, std::string("/dev/ttyUSB7"));
        std::string texts;
        for (int k = 1; k <= 160; ++k) texts += "\"" + (k == 74 ? "FORMAT " : "T" + std::to_string(k)) + "\"\r\n";
        const std::string script = WriteFile("docs/Other.Scr", texts);
        EditPhase(1, 0, 10, 20);
        Trigger("o_Setlng", Answer::Cancel);  // unsaved work: Cancel keeps everything
        QCOMPARE(PhaseListEntries(*p, 1, 0).size(), std::size_t(1));

        Trigger("o_Setlng", Answer::Ok, script);
        QCOMPARE(std::tuple(p->LngFile, Chart()->sizeCaption(), PhaseListEntries(*p, 1, 0).empty(), Saved()),
                 std::tuple(script, QString("FORMAT 01"), true, true));
        QCOMPARE(std::tuple(p->RecentFiles, w->findChildren<QAction*>(QRegularExpression("^F_Mnu_oldF_[1-5]$")).size(),
                            p->ComDevice),
                 std::tuple(Entries{"/x/one.Cam", "/x/two.Cam"}, qsizetype(2), std::string("/dev/ttyUSB7")));
        QVERIFY(w->close());
        w.reset();
        Program read;
        read.WorkDir = Docs();
        QVERIFY(ReadOptions(read));
        QCOMPARE((Entries{read.ComDevice, read.LngFile}), (Entries{"/dev/ttyUSB1", script}));
    }

    void secondInstanceIsRefused() {
        const std::string folder = dir->path().toStdString();
        auto first = std::make_unique<SingleInstance>(folder);
        QCOMPARE(std::pair(first->acquired(), SingleInstance(folder).acquired()), std::pair(true, false));
        first.reset();
        QVERIFY(SingleInstance(folder).acquired());
    }
};

RegisterGuiTest<MainWindowTest> registerMainWindowTest;

}  // namespace

#include "main_window_test.moc"
