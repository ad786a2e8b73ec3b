// The program data as one document, through the real main window: the sequences of
// ordinary actions that once lost a phase or a program, and what every command does with a
// phase still in the boxes. The document's own rules are unit-tested with CamDocument.
#include "main_window_fixture.h"

#include "core/editor/phase_list.h"
#include "gui_tests.h"
#include "support/fake_port.h"
#include "support/wire_doubles.h"
#include "widgets/link/qt_link_runner.h"

#include <QListWidget>
#include <QPushButton>

#include <fstream>
#include <functional>

namespace {

using namespace camtest;

// A user who goes on: OK and Yes to every question, No to saving at shut-down (counted);
// input boxes and file dialogs get what the step set.
class GoingOnPrompt : public ScriptedPrompt {
public:
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override {
        ScriptedPrompt::message(text, title, buttons, icon);
        if (buttons == Buttons::YesNoCancel) {
            ++closeQuestions;
            return closeAnswer;
        }
        if (buttons == Buttons::OkCancel) {
            ++goOnQuestions;
            return goOn;
        }
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        ScriptedPrompt::input(prompt, title, defaultText);
        return text;
    }
    std::string openFile(const FileRequest& request) override { return ScriptedPrompt::openFile(request), file; }
    std::string saveFile(const FileRequest& request) override { return ScriptedPrompt::saveFile(request), file; }

    std::string text, file;
    Answer closeAnswer = Answer::No;
    Answer goOn = Answer::Ok;  // to leaving unsaved work
    int closeQuestions = 0, goOnQuestions = 0;
};

// What a device holds, as it answers "?M" and sends its blocks after "?FR".
struct Device {
    const char* name;
    std::string id;
    std::vector<std::string> blocks;
    int silentAfter = 1000;  // blocks it sends before it falls silent
};

const std::vector<std::string> kSizes = {" FORMATO N. 01", "C 03\"GLUE\"", " 0100 0200", " FORMATO N. 02",
                                         "C 05",           " 0300 0400",   "END"};
std::vector<std::string> Blocks(const std::string& header) {
    std::vector<std::string> b = {header, "0000", "0100640105DC"};
    b.insert(b.end(), kSizes.begin(), kSizes.end());
    return b;
}
const Device kWhole{"whole", IdReply("32", "07", "255", '1'), Blocks("FUNZIONI 32-07")};
const Device kMoreSizes{"more sizes", IdReply("32", "15", "255", '1'), Blocks("FUNZIONI 32-15")};
const Device kPartial{"partial", IdReply("32", "07", "255", '1'), Blocks("FUNZIONI 32-07"), 5};
const Device kOtherCams{"other cams", IdReply("16", "15", "180", '1'), {"FUNZIONI 16-15", "00", "0000000000", "END"}};

class DocumentSequencesTest : public MainWindowFixture {
    Q_OBJECT

public:
    DocumentSequencesTest() {
        makePrompt = [] { return std::make_unique<GoingOnPrompt>(); };
    }

private:
    GoingOnPrompt& User() { return static_cast<GoingOnPrompt&>(*prompt); }
    std::string Doc() const { return CamFileText(w->document().data()); }
    std::string Scratch(const char* name) const { return dir->filePath(name).toStdString(); }

    // Size Receive from the device, over the in-memory port.
    void Receive(const Device& device) {
        w->ReceiveSizes([&](std::optional<int> cams) {
            FakeClock clock;
            FakePort port(clock);
            int sent = 0;
            port.device = [&](FakePort& f, const std::string& written) {
                if (written == "?M\x8c\r") return f.reply(device.id, 5);
                if ((written == "?FR\xD7\r" || written == "\x06") && sent < int(device.blocks.size()) &&
                    sent < device.silentAfter)
                    f.reply(Frame(device.blocks[sent++]), 5);
            };
            Link link(port, clock, *prompt);
            RecordingView view;
            Program session = LinkScratch(*p);
            session.TmpFile = Scratch("_._");
            return ReceiveProgram(session, link, view, cams);
        });
    }
    // Ctrl+H; the entry at row is picked, then Restore or Close.
    void History(int row, bool restore) {
        QVERIFY(DriveModal([&] { w->action("o_History")->trigger(); },
                           [&](QWidget* d) {
                               d->findChild<QListWidget*>("LstHistory")->setCurrentRow(row);
                               if (restore) d->findChild<QPushButton*>("CmdRestore")->click();
                               d->findChild<QPushButton*>("CmdClose")->click();
                           },
                           false));
    }
    std::string ImportFile() {
        const std::string csv = Scratch("in.csv");
        std::ofstream(csv, std::ios::binary) << "size,cam,remark,on,off\n1,4,IMPORTED,500,600\n";
        return csv;
    }
    void Import(const std::string& csv) {
        User().file = csv;
        w->action("f_ImpCsv")->trigger();
    }

private slots:
    // A phase still in the OFF box belongs to what Save writes and closing asks about.
    void aPhaseInTheBoxesIsSavedAndAskedAbout() {
        const std::string path = CamFileWith("a.Cam", 5, 10, 20);
        Start(path);
        HalfType(0, "100", "200");
        Save();
        QCOMPARE(PhaseListEntries(*p, 1, 0), Entries{"F001 0100 0200"});
        QCOMPARE(Bytes(path), Doc());
        ClickRow(7);
        w->close();
        QCOMPARE(User().closeQuestions, 0);

        Start(path);
        HalfType(1, "300", "400");
        User().closeAnswer = Answer::Yes;
        User().file = path;
        w->close();
        QCOMPARE(User().closeQuestions, 1);
        QCOMPARE(Bytes(path), Doc());
        QCOMPARE(PhaseListEntries(*p, 1, 1), Entries{"F001 0300 0400"});
    }

    // One file through three sequences. Ctrl+Z after Ctrl+S, after a typed phase or a drag,
    // leaves the file unsaved again; taking the change back once more makes it saved. A drag
    // while values are half typed enters them first; Alt+F with the focus in the ON box changes
    // nothing. After Import CSV the history holds the imported program only: looking at an
    // entry and closing brings nothing of the previous file back.
    void undoAfterSaveDragAfterHalfTypingAndImport() {
        Start(CamFileWith("b.Cam", 5, 10, 20));
        OpenRow(0);
        TypePhase("100", "200");
        Save();
        QVERIFY(w->document().FileSaved());
        Undo();
        QVERIFY(!w->document().FileSaved());
        QVERIFY(w->PerformDrag(0, 300, 500));
        Save();
        Undo();
        QVERIFY(!w->document().FileSaved());
        HalfType(0, "300", "500");  // the same phase again: the file's state
        ClickRow(3);
        QVERIFY(w->document().FileSaved());

        HalfType(0, "100", "200");
        QVERIFY(w->PerformDrag(0, 600, 700));
        QCOMPARE(PhaseListEntries(*p, 1, 0), (Entries{"F001 0100 0200", "F002 0300 0500", "F003 0600 0700"}));
        Save();
        OpenRow(2);
        QVERIFY(On()->hasFocus());
        QTest::keyClick(w.get(), Qt::Key_F, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(w->document().FileSaved());

        Import(ImportFile());
        const std::string imported = Doc();
        QCOMPARE(w->document().history().count(), std::size_t(1));
        History(0, false);
        QCOMPARE(Doc(), imported);
        QVERIFY(PhaseListEntries(*p, 1, 5).empty());
        QVERIFY(!w->document().FileSaved());
    }

    // Only a whole reception of a device with the tables' cam count replaces them, as one
    // entry of the history; otherwise the tables, the saved state and the history stay.
    void onlyAWholeFittingReceptionReplacesTheTables() {
        struct Case {
            const Device& device;
            bool taken;
            std::size_t entries;  // after a file opened and one phase typed
        };
        for (const Case& c :
             {Case{kWhole, true, 3}, Case{kMoreSizes, true, 1}, Case{kPartial, false, 2}, Case{kOtherCams, false, 2}}) {
            const std::string path = CamFileWith("d.Cam", 5, 10, 20);
            Start(path);
            OpenRow(0);
            TypePhase("100", "200");
            User().goOn = Answer::Cancel;  // unsaved work kept: the device is not asked
            Receive(c.device);
            QCOMPARE(PhaseListEntries(*p, 1, 0), Entries{"F001 0100 0200"});
            User().goOn = Answer::Ok;
            Save();
            const std::string before = Doc();
            Receive(c.device);
            QVERIFY2((Doc() != before) == c.taken, c.device.name);
            QVERIFY2(w->document().FileSaved() == !c.taken, c.device.name);
            QVERIFY2(w->document().history().count() == c.entries, c.device.name);
            if (c.taken) QCOMPARE(PhaseListEntries(*p, 2, 4), Entries{"F001 0300 0400"});
            Save();
            QCOMPARE(Bytes(path), Doc());
        }
    }

    // With a phase still in the boxes, each command enters it first, as an entry of its own,
    // and one that replaces the program asks about it; afterwards the chart lists the
    // document's phases.
    void everyCommandEntersThePhaseInTheBoxesFirst() {
        const std::string csv = ImportFile();
        const std::string script = CAMDESK_SOURCE_DIR "/resources/Z32px_ENG.SCR";
        struct Case {
            const char* name;
            std::function<void()> act;
            std::size_t entries;  // in the history afterwards: 1 when it began anew
            std::string last;     // the label of the last entry, when known
        };
        // clang-format off
        const std::vector<Case> cases = {
            {"shift", [&] { User().text = "100"; w->action("o_Shc")->trigger(); }, 3, "shift cam 1 by 100"},
            {"erase cam", [&] { w->action("O_ClC")->trigger(); }, 3, "erase cam 1, size 1"},
            {"erase size", [&] { w->action("s_Clr")->trigger(); }, 3, "erase size 1"},
            {"copy cam", [&] { User().text = "3"; w->action("O_CopyC")->trigger(); }, 3, "copy cam 1 to cam 3, size 1"},
            {"copy size", [&] { User().text = "2"; w->action("O_Copy")->trigger(); }, 3, "copy size 1 to size 2"},
            {"restore", [&] { History(0, true); }, 3, "back to: file opened"},
            {"receive", [&] { Receive(kWhole); }, 3, ""},
            {"import", [&] { Import(csv); }, 1, ""},
            {"language", [&] { User().file = script; w->action("o_Setlng")->trigger(); }, 1, ""},
        };
        // clang-format on
        for (const Case& c : cases) {
            Start(CamFileWith("e.Cam", 5, 10, 20));
            HalfType(0, "300", "400");
            c.act();
            const ChangeHistory& h = w->document().history();
            QVERIFY2(h.count() == c.entries, c.name);
            if (c.entries > 1) QVERIFY2(h.entry(1).change.label == "phase 0300-0400 of cam 1, size 1", c.name);
            if (!c.last.empty()) QVERIFY2(h.entry(h.present()).change.label == c.last, c.name);
            QVERIFY2((User().goOnQuestions == 1) == (c.name == std::string("receive") || c.entries == 1), c.name);
            QVERIFY2(Listed() == PhaseListEntries(*p, p->CurSize, p->CurCam), c.name);
        }
    }
};

RegisterGuiTest<DocumentSequencesTest> registerDocumentSequencesTest;

}  // namespace

#include "document_sequences_test.moc"
