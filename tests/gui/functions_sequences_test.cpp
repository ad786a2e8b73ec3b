// The functions window reached from the main window's menu, as a user goes through it: edit
// the advances of a cam file, save, open the file again.
#include "main_window_fixture.h"

#include "find_child.h"
#include "gui_tests.h"
#include "widgets/main/functions_commands.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <functional>

namespace {

using namespace camtest;

class FunctionsSequencesTest : public MainWindowFixture {
    Q_OBJECT

    // Starts on the file with the functions commands connected.
    void StartWith(const std::string& file) {
        Start(file);
        ConnectFunctions(*w, *p, *prompt);
    }
    // Runs a menu item whose window is modal; drive acts on that window while it is shown.
    void WithModal(const char* item, const std::function<void(QWidget*)>& drive) {
        QVERIFY(DriveModal([&] { w->action(item)->trigger(); }, drive, true));
    }
    static void ClickFunctionsRow(QWidget* d, int row) {
        QTest::mouseClick(child<QLabel>(d, QString("LabCam%1").arg(row).toLatin1().constData()), Qt::LeftButton);
    }

private slots:
    void advancesEditedSavedAndReadBack() {
        const std::string path = WriteProgram("two.Cam", Tables(32, 7, 2));
        StartWith(path);
        QVERIFY(w->document().FileSaved());
        WithModal("Fu_Set", [](QWidget* d) {
            ClickFunctionsRow(d, 22);  // cam 23: the group 21-24
            auto* tm = child<QLineEdit>(d, "TmSec");
            tm->selectAll();
            QTest::keyClicks(tm, "123");
            QTest::keyClick(tm, Qt::Key_Return);
            child<QCheckBox>(d, "ChkANT")->click();
            QTest::keyClicks(child<QLineEdit>(d, "TxANT"), "2");
            ClickFunctionsRow(d, 1);
            child<QScrollBar>(d, "ScrVal")->triggerAction(QAbstractSlider::SliderPageStepAdd);
            child<QPushButton>(d, "tOK")->click();
        });
        QCOMPARE(p->CurCam, 1);
        QVERIFY(!w->document().FileSaved());

        // The unsaved-changes question now protects the edit.
        w->OpenFile();
        QCOMPARE(prompt->messages().size(), std::size_t(1));
        QCOMPARE(int(p->AdvMs[20]), 123);

        w->SaveFile();
        QVERIFY(w->document().FileSaved());
        StartWith(path);
        QCOMPARE(int(p->AdvMs[20]), 123);
        QCOMPARE(int(p->AdvMs[1]), 25);
        QCOMPARE(p->NAdvCams, 2);
        QCOMPARE(p->NEncoders, 2);
        WithModal("Fu_Set", [](QWidget* d) {
            QCOMPARE(child<QLabel>(d, "lValAn20")->text(), QString("123"));
            QCOMPARE(child<QLabel>(d, "lValAn1")->text(), QString("025"));
            QVERIFY(child<QCheckBox>(d, "ChkANT")->isChecked());
            // The Demo button opens the advance computation.
            WithModalSoon([](QWidget* c) {
                QCOMPARE(c->objectName(), QString("CalcAnt"));
                qobject_cast<QDialog*>(c)->accept();
            });
            child<QPushButton>(d, "tDEMO")->click();
        });
        QVERIFY(w->document().FileSaved());  // looked at, not changed
        // The advance computation opens on the current cam.
        ClickRow(4);
        WithModal("o_Ant", [](QWidget* d) { QCOMPARE(child<QLabel>(d, "FrC")->text(), QString("S01C05")); });
    }
};

RegisterGuiTest<FunctionsSequencesTest> registerFunctionsSequencesTest;

}  // namespace

#include "functions_sequences_test.moc"
