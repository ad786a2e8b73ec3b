// The program data as one document, through the real main window: sequences of ordinary actions
// that once lost a phase or a program, and seeded random sequences checked after every step.
#include "main_window_fixture.h"

#include "gui_tests.h"
#include "support/fake_port.h"
#include "support/wire_doubles.h"
#include "widgets/link/qt_link_runner.h"

#include <QPushButton>

#include <cstdlib>
#include <random>

namespace {

using namespace camtest;

// A user who goes on: OK and Yes to every question, No to saving at shut-down (counted);
// input boxes and file dialogs get what the step set.
class GoingOnPrompt : public ScriptedPrompt {
public:
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override {
        ScriptedPrompt::message(text, title, buttons, icon);
        if (buttons == Buttons::YesNoCancel) return ++closeQuestions, closeAnswer;
        if (buttons == Buttons::OkCancel) return goOn;
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override {
        return ScriptedPrompt::input(prompt, title, defaultText), text;
    }
    std::string openFile(const FileRequest& request) override { return ScriptedPrompt::openFile(request), file; }
    std::string saveFile(const FileRequest& request) override { return ScriptedPrompt::saveFile(request), file; }

    std::string text, file;
    Answer closeAnswer = Answer::No;
    Answer goOn = Answer::Ok;  // to leaving unsaved work
    int closeQuestions = 0;
};

// What a device holds, as it answers "?M" and sends its blocks after "?FR".
struct Device {
    const char* name;
    std::string id;
    std::vector<std::string> blocks;  // after the last it falls silent
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
const Device kPartial{"partial", kWhole.id, {kWhole.blocks.begin(), kWhole.blocks.begin() + 5}};
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

    // Size Receive from the device, over the in-memory port.
    void Receive(const Device& device) {
        w->ReceiveSizes([&](std::optional<int> cams) {
            FakeClock clock;
            FakePort port(clock);
            int sent = 0;
            port.device = [&](FakePort& f, const std::string& written) {
                if (written == "?M\x8c\r") return f.reply(device.id, 5);
                if ((written == "?FR\xD7\r" || written == "\x06") && sent < int(device.blocks.size()))
                    f.reply(Frame(device.blocks[sent++]), 5);
            };
            Link link(port, clock, *prompt);
            RecordingView view;
            Program session = LinkScratch(*p);
            session.TmpFile = Path("_._");
            return ReceiveProgram(session, link, view, cams);
        });
    }
    void History(int row, bool restore) {
        const auto pick = [&](QWidget* d) {
            d->findChild<QListWidget*>("LstHistory")->setCurrentRow(row);
            if (restore) d->findChild<QPushButton*>("CmdRestore")->click();
            d->findChild<QPushButton*>("CmdClose")->click();
        };
        QVERIFY(DriveModal([&] { w->action("o_History")->trigger(); }, pick, false));
    }
    std::string ImportFile() { return WriteFile("in.csv", "size,cam,remark,on,off\n1,4,IMPORTED,500,600\n"); }
    void Import(const std::string& csv) {
        User().file = csv;
        w->action("f_ImpCsv")->trigger();
    }

private slots:
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
        QCOMPARE(std::pair(User().closeQuestions, Bytes(path) == Doc()), std::pair(1, true));
        QCOMPARE(PhaseListEntries(*p, 1, 1), Entries{"F001 0300 0400"});
    }

    // Ctrl+Z after Ctrl+S leaves the file unsaved, taking the change back again saved. A drag enters
    // half-typed values first; Alt+F in the ON box changes nothing; Import CSV starts the history.
    void undoAfterSaveDragAfterHalfTypingAndImport() {
        Start(CamFileWith("b.Cam", 5, 10, 20));
        OpenRow(0);
        TypePhase("100", "200");
        Save();
        QVERIFY(Saved());
        Undo();
        QVERIFY(!Saved());
        QVERIFY(w->PerformDrag(0, 300, 500));
        Save();
        Undo();
        QVERIFY(!Saved());
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
        QCOMPARE(std::tuple(Doc() == imported, PhaseListEntries(*p, 1, 5).empty(), Saved()),
                 std::tuple(true, true, false));
    }

    // Only a whole reception of a device with the tables' cam count replaces them, as one
    // entry of the history; otherwise the tables, the saved state and the history stay.
    void onlyAWholeFittingReceptionReplacesTheTables() {
        // Per device: taken or not, and the history's entries after a file opened and one phase typed.
        const std::tuple<const Device*, bool, int> cases[] = {
            {&kWhole, true, 3}, {&kMoreSizes, true, 1}, {&kPartial, false, 2}, {&kOtherCams, false, 2}};
        for (const auto& [device, taken, entries] : cases) {
            const std::string path = CamFileWith("d.Cam", 5, 10, 20);
            Start(path);
            OpenRow(0);
            TypePhase("100", "200");
            User().goOn = Answer::Cancel;  // unsaved work kept: the device is not asked
            Receive(*device);
            QCOMPARE(PhaseListEntries(*p, 1, 0), Entries{"F001 0100 0200"});
            User().goOn = Answer::Ok;
            Save();
            const std::string before = Doc();
            Receive(*device);
            QCOMPARE(std::tuple(QString(device->name), Doc() != before, Saved(), int(w->document().history().count())),
                     std::tuple(QString(device->name), taken, !taken, entries));
            if (taken) QCOMPARE(PhaseListEntries(*p, 2, 4), Entries{"F001 0300 0400"});
            Save();
            QCOMPARE(Bytes(path), Doc());
        }
    }

    // After every step: saved exactly when the document's bytes are those last read or written; a
    // save writes what the chart shows; the history brings back exactly the states it lists; the
    // chart lists the document's phases; closing asks exactly when the document is not the file's.
    void randomSequencesKeepTheDocumentHonest() {
        const unsigned first = std::getenv("CAMDESK_SEED") ? unsigned(std::atoi(std::getenv("CAMDESK_SEED"))) : 1;
        const int sequences = std::getenv("CAMDESK_SEED") ? 1 : 500;
        const std::string csv = ImportFile();
        const std::string script = CAMDESK_SOURCE_DIR "/resources/Z32px_ENG.SCR";
        for (unsigned seed = first; seed < first + unsigned(sequences); ++seed)
            if (!RandomSequence(seed, csv, script))
                QFAIL(qPrintable(QString("seed %1 (CAMDESK_SEED=%1 repeats it)").arg(seed)));
    }

private:
    struct Pending {
        bool open = false;  // a phase is still in the boxes
        int size = 0, cam = 0, on = 0, off = 0;
    };

    bool RandomSequence(unsigned seed, const std::string& csv, const std::string& script) {
        std::mt19937 rng(seed);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const std::string path = CamFileWith("seq.Cam", pick(0, 7), 100, 300);
        Start(path);
        std::string saved = Doc();
        std::vector<std::string> states = {saved};  // the document after each history entry
        Pending pending;
        std::string steps;  // what was done, for the message of a failure
        auto fail = [&](const std::string& what) {
            qWarning("seed %u: %s after:%s", seed, what.c_str(), steps.c_str());
            return false;
        };
        for (int n = 0; n < 30; ++n) {
            // The main window active again after a modal window, as it is for a user.
            if (!w->isActiveWindow()) {
                w->activateWindow();
                if (!QTest::qWaitForWindowActive(w.get())) return fail("the window cannot be activated");
            }
            const int cam = pick(0, 7), action = pick(0, 13);
            // Every action enters a phase still in the boxes first, as an entry of its own; Ctrl+Z
            // while there is nothing to undo is no action.
            std::string before = Doc();
            const bool acts = action != 6 || UndoEnabled();
            if (pending.open && acts) {
                Program with = *p;
                SetPhase(with, pending.size, pending.cam, pending.on, pending.off);
                if (CamFileText(with) != before) states.push_back(before = CamFileText(with));
                pending = {};
            }
            enum Effect { Edit, Restart, Same } effect = Edit;
            std::optional<std::string> expected;
            const QString on = QString::number(pick(0, 1023)).rightJustified(4, '0');
            const QString off = QString::number(pick(0, 1023)).rightJustified(4, '0');
            static const char* const kNames[] = {"type",    "half-type", "drag",     "shift",  "erase",
                                                 "copy",    "undo",      "history",  "import", "save",
                                                 "receive", "receive",   "language", "click"};
            steps += std::string(" ") + kNames[action] + "(cam " + std::to_string(cam + 1) + ")";
            switch (action) {
                case 0:
                    OpenRow(cam);
                    TypePhase(on, off);
                    break;
                case 1:
                    HalfType(cam, on, off);
                    pending = Pending{true, p->CurSize, cam, on.toInt(), off.toInt()};
                    break;
                case 2:
                    w->PerformDrag(cam, pick(0, 1023), pick(0, 1023));
                    break;
                case 3:
                    User().text = std::to_string(pick(-600, 600));
                    w->action("o_Shc")->trigger();
                    break;
                case 4:
                    w->action(pick(0, 1) ? "O_ClC" : "s_Clr")->trigger();
                    break;
                case 5:
                    // A size the tables hold: a refused one is asked for again.
                    User().text = std::to_string(pick(1, 7));
                    w->action(pick(0, 1) ? "O_CopyC" : "O_Copy")->trigger();
                    break;
                case 6:
                    Undo();
                    if (!acts) effect = Same;
                    break;
                case 7: {
                    const int row = pick(0, int(states.size()) - 1);
                    const bool restore = pick(0, 1);
                    History(row, restore);
                    if (restore) expected = states[std::size_t(row)];
                    effect = restore ? Edit : Same;
                    break;
                }
                case 8:
                    Import(csv);
                    effect = Restart;
                    break;
                case 9:
                    User().file = path;
                    Save();
                    if (Bytes(path) != before) return fail("the save did not write what the chart shows");
                    saved = before;
                    effect = Same;
                    break;
                case 10:
                case 11: {
                    const Device* devices[] = {&kWhole, &kMoreSizes, &kPartial, &kOtherCams};
                    const Device& d = *devices[pick(0, 3)];
                    const bool taken = &d == &kWhole || &d == &kMoreSizes;
                    // Tables of other dimensions begin a history of their own.
                    const bool sameSizes = p->NSizes == (&d == &kMoreSizes ? 15 : 7);
                    Receive(d);
                    effect = !taken ? Same : sameSizes ? Edit : Restart;
                    break;
                }
                case 12:
                    User().file = script;
                    w->action("o_Setlng")->trigger();
                    saved = Doc();  // an empty program of its own, in no file
                    effect = Restart;
                    break;
                case 13:
                    ClickRow(cam);
                    effect = Same;
                    break;
            }
            const std::string now = Doc();
            const ChangeHistory& h = w->document().history();
            if (expected && now != *expected) return fail("the history brought back another state");
            if (effect == Same && now != before) return fail("the document changed");
            if (effect == Edit && now != before) states.push_back(now);
            if (effect == Restart) states = {now};
            if (h.count() != states.size()) {
                for (std::size_t i = 0; i < h.count(); ++i) qWarning("  %s", h.entry(i).change.label.c_str());
                return fail("the history holds " + std::to_string(h.count()) + " entries, not " +
                            std::to_string(states.size()));
            }
            if (w->document().FileSaved() != (now == saved)) return fail("FileSaved says otherwise");
            if (Listed() != PhaseListEntries(*p, p->CurSize, p->CurCam)) return fail("the chart lists other phases");
        }
        // Closing enters what is in the boxes, then asks exactly when that is not the file.
        User().closeQuestions = 0;
        w->close();
        if ((User().closeQuestions == 1) != (Doc() != saved)) return fail("closing asked otherwise");
        return true;
    }
};

RegisterGuiTest<DocumentSequencesTest> registerDocumentSequencesTest;

}  // namespace

#include "document_sequences_test.moc"
