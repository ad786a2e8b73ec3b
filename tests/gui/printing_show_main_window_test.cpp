// "&Print", "Se&lect Printer", "&Rotate Demo", the functions and the advance computation of the
// main window open their windows; the cam chosen in the size show is the chart's current cam on
// return.
#include "find_child.h"
#include "gui_tests.h"
#include "main_window_fixture.h"
#include "widgets/main/functions_commands.h"

#include <QAbstractPrintDialog>
#include <QLabel>
#include <QPushButton>

namespace camtest {

class PrintingShowMainWindowTest : public MainWindowFixture {
    Q_OBJECT

private slots:
    void eachMenuItemOpensItsWindow() {
        Start(CamFileWith("a.Cam", 2, 100, 200));
        QString title;
        WithModalSoon([&](QWidget* modal) {
            title = modal->windowTitle();
            QTest::mouseDClick(child<QLabel>(modal, "Label1_3"), Qt::LeftButton);
        });
        w->action("O_Rot")->trigger();
        QCOMPARE(std::tuple(title, p->CurCam, Chart()->camCaption(), Listed()),
                 std::tuple(QString("SIZE SHOW"), 2, QString("CAM 03"), Entries{"F001 0100 0200"}));

        // The print dialog opens on the current size.
        p->CurSize = 4;
        QString box;
        WithModalSoon([&](QWidget* modal) {
            box = child<QLineEdit>(modal, "NFrm")->text();
            child<QPushButton>(modal, "T_EX")->click();
        });
        w->action("Pr_size")->trigger();
        QCOMPARE(std::pair(box, p->CurSize), std::pair(QString("04"), 4));

        bool printerPage = false;
        WithModalSoon([&](QWidget* modal) {
            printerPage = qobject_cast<QAbstractPrintDialog*>(modal) != nullptr;
            qobject_cast<QDialog*>(modal)->reject();
        });
        w->action("f_SelPr")->trigger();
        QCOMPARE(std::pair(printerPage, prompt->asked().empty()), std::pair(true, true));
    }

    // The Demo button opens the advance computation; looking changes nothing.
    void functionsAndAdvanceWindowsOpenOnTheFile() {
        Program two = Tables(32, 7, 2);
        two.AdvMs[20] = 123;
        Start(WriteProgram("two.Cam", two));
        ConnectFunctions(*w, *p, *prompt);
        const auto demo = [](QWidget* d) {
            QCOMPARE(child<QLabel>(d, "lValAn20")->text(), QString("123"));
            WithModalSoon([](QWidget* c) {
                QCOMPARE(c->objectName(), QString("CalcAnt"));
                qobject_cast<QDialog*>(c)->accept();
            });
            child<QPushButton>(d, "tDEMO")->click();
        };
        QVERIFY(DriveModal([&] { w->action("Fu_Set")->trigger(); }, demo, true));
        QVERIFY(Saved());
        ClickRow(4);
        QString frame;
        QVERIFY(DriveModal([&] { w->action("o_Ant")->trigger(); },
                           [&](QWidget* d) { frame = child<QLabel>(d, "FrC")->text(); }, true));
        QCOMPARE(frame, QString("S01C05"));
    }
};

RegisterGuiTest<PrintingShowMainWindowTest> registerPrintingShowMainWindowTest;

}  // namespace camtest

#include "printing_show_main_window_test.moc"
