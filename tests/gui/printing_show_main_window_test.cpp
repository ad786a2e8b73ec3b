// "&Print", "Se&lect Printer" and "&Rotate Demo" of the main window open their windows; the
// cam chosen in the size show is the chart's current cam on return.
#include "find_child.h"
#include "gui_tests.h"
#include "main_window_fixture.h"

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
        QCOMPARE(title, QString("SIZE SHOW"));
        QCOMPARE(p->CurCam, 2);
        QCOMPARE(Chart()->camCaption(), QString("CAM 03"));
        QCOMPARE(Listed(), (Entries{"F001 0100 0200"}));

        // The print dialog opens on the current size.
        p->CurSize = 4;
        QString box;
        WithModalSoon([&](QWidget* modal) {
            box = child<QLineEdit>(modal, "NFrm")->text();
            child<QPushButton>(modal, "T_EX")->click();
        });
        w->action("Pr_size")->trigger();
        QCOMPARE(box, QString("04"));
        QCOMPARE(p->CurSize, 4);

        bool printerPage = false;
        WithModalSoon([&](QWidget* modal) {
            printerPage = qobject_cast<QAbstractPrintDialog*>(modal) != nullptr;
            qobject_cast<QDialog*>(modal)->reject();
        });
        w->action("f_SelPr")->trigger();
        QVERIFY(printerPage);
        QVERIFY(prompt->asked().empty());
    }
};

RegisterGuiTest<PrintingShowMainWindowTest> registerPrintingShowMainWindowTest;

}  // namespace camtest

#include "printing_show_main_window_test.moc"
