// Sequences of ordinary actions that once lost a file or a cam, performed through the real window.
#include "main_window_fixture.h"

#include "gui_tests.h"

#include <sys/stat.h>

namespace {

using namespace camtest;

const std::string kHead32x7 =
    "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\nRITARDI OFF\r\nRAPPORTI OFF\r\nFORMATO IN USCITA    1 \r\n"
    "SFASAMENTO ENCODER   0 \r\nSENSO DI ROTAZIONE   0 \r\nLIMITE DI VELOCITA'   0 \r\n";
const std::string kSizeWithCam40 = " FORMATO N. 01\r\nC 03\r\n 0100 0200\r\nC 40\r\n 0001 0002\r\nEND\r\n";

class UserSequencesTest : public MainWindowFixture {
    Q_OBJECT

    bool SaveDialogAsked() const {
        for (const auto& a : prompt->asked())
            if (a.kind == ScriptedPrompt::Asked::SaveFile) return true;
        return false;
    }

private slots:
    // A file whose reading was refused or failed is not what the tables hold, nor is one open before
    // Set Language (which clears the tables): Save asks for a name instead of writing over it.
    void refusedOpenThenSaveLeavesTheFile() {
        enum From { Menu, CommandLine, Language };
        struct Case {
            const char* name;
            std::string bytes;
            From from;
            std::vector<Answer> answers;  // to the reader's questions
        };
        const std::vector<Case> cases = {
            {"sixteen.Cam", "FUNZIONI  16 - 15 \r\nANTICIPI OFF\r\nEND\r\n", Menu, {}},
            {"broken.Cam", "FUNZIONI  32 - 7 \r\nhello\r\n", Menu, {}},
            {"sizes.Cam", " FORMATO N. 01\r\nC 03\r\n 0100 0200\r\nEND\r\n", Menu, {Answer::Cancel}},
            {"stopped.Cam", kHead32x7 + kSizeWithCam40, Menu, {}},
            {"argument.Cam", "FUNZIONI  16 - 15 \r\nEND\r\n", CommandLine, {}},
            {"kept.Cam", "", Language, {}},
        };
        for (const Case& c : cases) {
            const std::string path = c.from == Language ? CamFileWith("docs/kept.Cam", 3, 100, 200)
                                                        : WriteFile(QString("docs/") + c.name, c.bytes);
            const std::string before = Bytes(path);
            Start(c.from == Menu ? "" : path);
            if (c.from == Menu) {
                prompt->push(path);
                for (Answer a : c.answers) prompt->push(a);
                w->action("f_open")->trigger();
            }
            if (c.from == Language) {
                QCOMPARE(PhaseListEntries(*p, 1, 3).size(), std::size_t(1));
                Trigger("o_Setlng", WriteFile("docs/Other.Scr", "\"A\"\r\n"));
                QVERIFY(PhaseListEntries(*p, 1, 3).empty());
            } else {
                QVERIFY2(!prompt->messages().empty(), c.name);  // the reader said what was wrong
            }
            prompt->push("");  // the save dialog is cancelled
            Save();
            QVERIFY2(SaveDialogAsked(), c.name);
            QCOMPARE(Bytes(path), before);
        }
    }

    void oneEncoderFileAfterATwoEncoderFileSavesAsRead() {
        Program two = Tables(32, 7, 2), one = Tables(32, 7, 1);
        std::tie(two.AdvMs[16], two.EncShift2) = std::tuple(77, 500);
        std::tie(one.DelayOn, one.Delay17_20, one.RatioOn, one.Ratio25_32) = std::tuple(1, 5, 1, 3);
        SetPhase(one, 1, 0, 10, 20);
        const std::string twoPath = WriteProgram("docs/two.Cam", two), onePath = WriteProgram("docs/one.Cam", one);
        const std::string before = Bytes(onePath);

        Start(twoPath);
        Trigger("f_open", onePath);
        QCOMPARE(p->NEncoders, 1);
        Save();
        QCOMPARE(std::pair(SaveDialogAsked(), Bytes(onePath) == before), std::pair(false, true));
    }

    void aFailedSaveSaysWhyAndLeavesTheWorkUnsaved() {
        const std::string path = CamFileWith("docs/locked.Cam", 0, 10, 20);
        QVERIFY(::chmod(path.c_str(), 0444) == 0);
        Start(path);
        OpenRow(0);
        TypePhase("300", "400");
        Save();
        QVERIFY(!Saved() && !prompt->messages().empty());
        QVERIFY(prompt->messages().back().find("Permission denied") != std::string::npos);
    }

    // The click swallowed after a right click never makes a double click, a remark edit or a
    // navigation key act on another cam than the one pointed at.
    void doubleClickAfterARightClickActsOnThePointedCam() {
        Start();
        SetPhase(*p, 1, 2, 100, 200);
        OpenRow(7);
        TypePhase("600", "700");
        QVERIFY(UndoEnabled());
        RightClickRow(7);
        QTest::mouseDClick(Chart(), Qt::LeftButton, {}, Chart()->camLabelPoint(2));
        QCOMPARE(std::tuple(p->CurCam, Chart()->camCaption(), UndoEnabled()), std::tuple(2, QString("CAM 03"), false));
        QCOMPARE(Listed(), (Entries{"F001 0100 0200"}));
        QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Phases({{1, 2}, {1, 7}}), (std::vector<Entries>{{"F001 0100 0200"}, {"F001 0600 0700"}}));

        // A remark double click edits the remark it is on.
        RightClickRow(5);
        prompt->push("POINTED");
        QTest::mouseDClick(Chart(), Qt::LeftButton, {}, Chart()->remarkPoint(9));
        QCOMPARE((Entries{p->CamRemark[9], p->CamRemark[5]}), (Entries{"POINTED", ""}));
        QCOMPARE(p->CurCam, 9);

        // PageDown goes on from the cam that was right-clicked.
        RightClickRow(5);
        QTest::keyClick(w.get(), Qt::Key_PageDown);
        QCOMPARE(std::tuple(p->CurCam, Chart()->camCaption(), On()->isVisible()),
                 std::tuple(6, QString("CAM 07"), true));
    }

    void halfTypedPhaseStaysWithItsSizeAndCam() {
        Start();
        HalfType(0, "300", "400");
        QTest::mouseClick(Chart(), Qt::LeftButton, {}, Chart()->spinnerPoint(true));
        QCOMPARE(p->CurSize, 2);
        QCOMPARE(Phases({{1, 0}, {2, 0}}), (std::vector<Entries>{{"F001 0300 0400"}, {}}));

        HalfType(1, "500", "600");
        RightClickRow(4);
        QCOMPARE(Phases({{2, 1}, {2, 4}}), (std::vector<Entries>{{"F001 0500 0600"}, {}}));

        // A size chosen from the menu while the OFF box is being typed in.
        HalfType(0, "700", "800");
        Trigger("s_sel", "3");
        QCOMPARE(p->CurSize, 3);
        QTest::keyClick(Off(), Qt::Key_Return);
        QCOMPARE(Phases({{2, 0}, {3, 0}}), (std::vector<Entries>{{"F001 0700 0800"}, {}}));
    }

    // However a box gets the focus, its whole text is selected, so that typed digits replace it.
    void clickIntoABoxSelectsItsText() {
        Start();
        SetPhase(*p, 1, 0, 100, 200);
        OpenRow(0);
        QTest::mouseClick(Off(), Qt::LeftButton, {}, QPoint(3, Off()->height() / 2));
        QCOMPARE(std::pair(Off()->hasFocus(), Off()->selectedText()), std::pair(true, QString("0200")));
        QTest::keyClicks(Off(), "250");
        QCOMPARE(Off()->text(), QString("250"));
        QTest::mouseClick(On(), Qt::LeftButton, {}, QPoint(On()->width() - 3, On()->height() / 2));
        QCOMPARE(std::pair(On()->hasFocus(), On()->selectedText()), std::pair(true, On()->text()));
    }
};

RegisterGuiTest<UserSequencesTest> registerUserSequencesTest;

}  // namespace

#include "user_sequences_test.moc"
