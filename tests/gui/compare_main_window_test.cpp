// Compare with File, Export CSV and Import CSV from the main window: the compare window lists the
// differences, a click on one shows it on the chart, and a comparison changes nothing.
#include "find_child.h"
#include "gui_tests.h"
#include "main_window_fixture.h"

#include "core/exchange/cam_csv.h"

#include <QLabel>
#include <QPushButton>

namespace camtest {

class CompareMainWindowTest : public MainWindowFixture {
    Q_OBJECT

    // Compares with file, driving the compare window with `drive` (nothing when none opens).
    void Compare(const std::string& file, const std::function<void(QListWidget*, QLabel*)>& drive) {
        WithModalSoon([&](QWidget* modal) {
            drive(child<QListWidget>(modal, "LstDiff"), child<QLabel>(modal, "LabCount"));
            child<QPushButton>(modal, "CmdClose")->click();
        });
        Trigger("Co_CmpFil", file);
    }

private slots:
    // A click and the arrow keys show a difference; a file equal to the tables has none; a
    // cancelled file dialog opens no window.
    void compareWithFileListsTheDifferencesAndShowsOne() {
        Program a = Tables(), b = Tables();
        SetPhase(a, 3, 4, 300, 400);
        SetPhase(b, 3, 4, 300, 420);
        SetPhase(b, 6, 1, 10, 20);
        b.CamRemark[1] = "NEW";
        const std::string fileA = WriteProgram("a.Cam", a);
        Start(fileA);
        const std::string before = CamFileText(*p);
        QStringList listed, shown;
        QString names, count;
        std::pair<int, int> afterKeys;
        Compare(WriteProgram("b.Cam", b), [&](QListWidget* list, QLabel* counted) {
            for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
            names = child<QLabel>(list->window(), "LabNames")->text();
            count = counted->text();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
            shown = Captions();
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
            afterKeys = {p->CurSize, p->CurCam};
        });
        QCOMPARE(listed, (QStringList{"Remark of cam 2: none in A, \"NEW\" in B",
                                      "size 3, cam 5: phase 0300-0400 in A, 0300-0420 in B",
                                      "size 6, cam 2: phase 0010-0020 only in B"}));
        QCOMPARE(std::tuple(names, count.startsWith("3 difference(s)."), shown, afterKeys),
                 std::tuple(QString("A: a.Cam     B: b.Cam"), true, QStringList{"SIZE 03", "CAM 05"}, std::pair(6, 1)));
        // Unchanged and saved; the file dialog the only question.
        QCOMPARE(std::tuple(CamFileText(*p) == before, Saved(), int(prompt->asked().size())),
                 std::tuple(true, true, 1));

        int rows = -1;
        Compare(fileA, [&](QListWidget* list, QLabel* counted) {
            rows = list->count();
            count = counted->text();
        });
        QCOMPARE(std::pair(rows, count), std::pair(0, QString("No differences: A and B hold the same program.")));
        Trigger("Co_CmpFil", "");  // no window opens: a modal one would block here
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A refused import leaves the chart as it was; an export edited and imported is shown.
    void exportedCsvEditedAndImportedIsShownOnTheChart() {
        Program a = Tables();
        SetPhase(a, 1, 2, 100, 200);
        a.CamRemark[2] = "FEED";
        Start(WriteProgram("a.Cam", a));
        ClickRow(2);
        Trigger("f_ImpCsv", WriteFile("bad.csv", "size,cam,remark,on,off\n1,1,,100,\n"));
        QVERIFY(prompt->messages().back().starts_with("Nothing was imported from bad.csv"));
        QCOMPARE(std::pair(Listed(), Saved()), std::pair(Entries{"F001 0100 0200"}, true));

        const std::string csv = Path("a.csv");
        Trigger("f_ExpCsv", csv);
        QCOMPARE(Bytes(csv), CamCsvText(*p));
        // Moved in a spreadsheet, and a second phase added.
        Trigger("f_ImpCsv", WriteFile("a.csv", "size,cam,remark,on,off\n1,3,FEED,150,250\n1,3,,400,500\n"));
        QCOMPARE(Chart()->camCaption(), QString("CAM 01"));  // new tables, shown from their start
        ClickRow(2);
        QCOMPARE(Listed(), (Entries{"F001 0150 0250", "F002 0400 0500"}));
        QCOMPARE(std::pair(Saved(), w->windowTitle().contains("a.Cam")), std::pair(false, false));
    }
};

RegisterGuiTest<CompareMainWindowTest> registerCompareMainWindowTest;

}  // namespace camtest

#include "compare_main_window_test.moc"
