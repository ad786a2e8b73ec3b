// The change history: what each change keeps, showing and restoring earlier states, the
// bound on its entries, and the changes the editing commands report.
#include "core/editor/cam_document.h"

#include "core/editor/history_form.h"
#include "core/editor/phase_editing.h"
#include "core/editor/phase_list.h"
#include "core/editor/size_commands.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace cam;

namespace {

using Entries = std::vector<std::string>;
using Ints = std::vector<int>;
using Lists = std::vector<Entries>;
using Command = CommandResult (*)(Program&, CamDocument&, Prompt&);  // a Sizes menu command

Entries Listed(const Program& p, int size, int cam) { return PhaseListEntries(p, size, cam); }

// Writes a phase as a command would and records it.
void Edit(ChangeHistory& h, Program& p, int size, int cam, int on, int off, const std::string& label) {
    ChangeBuilder b;
    b.NoteCam(p, size, cam);
    ASSERT_TRUE(SetPhase(p, size, cam, on, off));
    h.Record(b.Finish(p, label));
}

// The same through the document's edit path.
void Edit(CamDocument& doc, int size, int cam, int on, int off, const std::string& label) {
    doc.Edit(EditScope::Cam(size, cam), label, [&](CamData& d) { SetPhase(d, size, cam, on, off); });
}

Entries Labels(const ChangeHistory& h) {
    Entries out;
    for (std::size_t i = 0; i < h.count(); ++i) out.push_back(h.entry(i).change.label);
    return out;
}

TEST(PackedCam, KeepsEveryPosition) {
    std::array<std::uint8_t, kPositions> a{}, b{};
    for (int i : {0, 1, 63, 64, 500, 1022, 1023}) a[i] = 1;
    UnpackCam(PackCam(a.data()), b.data());
    EXPECT_EQ(a, b);
    EXPECT_EQ(PackCam(a.data()).count(), 7u);
}

TEST(ChangeBuilder, KeepsOnlyWhatChangedAndSeesTablesDimensionedAnew) {
    Program p = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(p, 1, 0, 10, 20));
    ChangeBuilder b;
    b.NoteSize(p, 1);
    b.NoteCam(p, 1, 3);  // noted twice: kept once
    b.NoteCam(p, 9, 0);  // outside the tables: ignored
    b.NoteRemark(p, 2);
    b.NoteFunctions(p);
    ASSERT_TRUE(SetPhase(p, 1, 3, 100, 200));
    p.CamRemark[2] = "GLUE";
    const Change c = b.Finish(p, "x");
    ASSERT_EQ(std::pair(c.cams.size(), c.remarks.size()), std::pair(std::size_t{1}, std::size_t{1}));
    EXPECT_EQ((Ints{c.cams[0].cam, int(c.cams[0].before.count()), int(c.cams[0].after.count()), c.size, c.cam}),
              (Ints{3, 0, 100, 1, 3}));
    EXPECT_EQ(std::pair(c.remarks[0].after, c.functionsBefore.has_value()), std::pair(std::string("GLUE"), false));
    EXPECT_TRUE(ChangeBuilder().Finish(p, "nothing").empty());

    ChangeBuilder all;
    all.NoteAll(p);
    EXPECT_FALSE(all.Redimensioned(p));
    std::tie(p.NSizes, p.NCams) = std::tuple(15, 16);
    ResizeTables(p);
    EXPECT_TRUE(all.Redimensioned(p));
}

struct ProgramHistory : ::testing::Test {
    Program p = camtest::MakeProgram();
    ChangeHistory h;
    ProgramHistory() { h.Start("file opened"); }
};

TEST_F(ProgramHistory, ShowsAndRestoresAnyEarlierState) {
    Edit(h, p, 1, 2, 100, 200, "first");
    Edit(h, p, 1, 2, 100, 250, "second");
    Edit(h, p, 3, 7, 10, 20, "other size");
    EXPECT_EQ(Labels(h), (Entries{"file opened", "first", "second", "other size"}));
    // The phases of the two cams edited.
    auto both = [this] { return Lists{Listed(p, 1, 2), Listed(p, 3, 7)}; };
    h.Show(p, 0);
    EXPECT_EQ(both(), (Lists{{}, {}}));
    h.Show(p, 1);
    EXPECT_EQ(Listed(p, 1, 2), Entries{"F001 0100 0200"});
    h.Show(p, 99);  // beyond the last: the present state
    EXPECT_EQ(std::pair(h.shown(), both()), std::pair(std::size_t{3}, Lists{{"F001 0100 0250"}, {"F001 0010 0020"}}));
    // A restore is an entry of its own, which a later restore can take back in turn.
    ASSERT_TRUE(h.Restore(p, 0, "back to: file opened"));
    EXPECT_EQ(std::pair(Listed(p, 1, 2), h.present()), std::pair(Entries{}, std::size_t{4}));
    ASSERT_TRUE(h.Restore(p, 1, "back to: first"));
    EXPECT_EQ(both(), (Lists{{"F001 0100 0200"}, {}}));
    ASSERT_TRUE(h.Restore(p, 3, "back to: other size"));  // the state before the restores
    EXPECT_EQ(Listed(p, 1, 2), Entries{"F001 0100 0250"});
    ASSERT_TRUE(h.Restore(p, 4, "back to: back to: file opened"));
    EXPECT_TRUE(Listed(p, 1, 2).empty());
    // Restoring the present state, or a state equal to it, records nothing.
    EXPECT_FALSE(h.Restore(p, h.present(), "x"));
    EXPECT_FALSE(h.Restore(p, 0, "x"));
    EXPECT_EQ(std::pair(h.count(), Listed(p, 1, 2)), std::pair(std::size_t{8}, Entries{}));
}

TEST_F(ProgramHistory, RestoresRemarksAndTheFunctionsBlock) {
    ChangeBuilder b;
    b.NoteRemark(p, 4);
    b.NoteFunctions(p);
    std::tie(p.CamRemark[4], p.AdvOn, p.AdvMs[3], p.SpeedLimit, p.NEncoders) = std::tuple("KNIFE", 1, 25, 600, 2);
    ASSERT_TRUE(h.Record(b.Finish(p, "functions block")));
    auto kept = [this] { return std::tuple(p.CamRemark[4], Ints{p.AdvOn, p.AdvMs[3], p.SpeedLimit, p.NEncoders}); };
    ASSERT_TRUE(h.Restore(p, 0, "back"));
    EXPECT_EQ(kept(), std::tuple("", Ints{0, 0, 0, 0}));
    ASSERT_TRUE(h.Restore(p, 1, "again"));
    EXPECT_EQ(kept(), std::tuple("KNIFE", Ints{1, 25, 600, 2}));
}

TEST_F(ProgramHistory, KeepsWhatFitsItsBudgetAndAtLeastTheLastEntries) {
    p = camtest::MakeProgram(32, 60);
    for (int i = 1; i <= 1000; ++i) Edit(h, p, 1 + i % 60, i % 32, i % 1000, i % 1000 + 5, "e" + std::to_string(i));
    EXPECT_EQ(std::pair(h.count(), h.dropped()), std::pair(std::size_t{1001}, 0));  // small changes: all of them fit
    // Changes of every cam of every size: only what fits the budget stays.
    auto everything = [&](int round) {
        ChangeBuilder b;
        b.NoteAll(p);
        for (int s = 1; s <= 60; ++s)
            for (int c = 0; c < 32; ++c) SetPhase(p, s, c, round % 1000, round % 1000 + 3);
        h.Record(b.Finish(p, "reception " + std::to_string(round)));
    };
    for (int round = 1; round <= 100; ++round) everything(round);
    EXPECT_LE(h.bytes(), ChangeHistory::kBudget);
    EXPECT_GE(h.count(), ChangeHistory::kKeptAtLeast);
    EXPECT_EQ(h.entry(h.present()).change.label, "reception 100");
    const int first = h.entry(0).number;
    EXPECT_EQ(h.dropped(), first - 1);
    // The oldest state still kept is reachable, and the present one again.
    h.Show(p, 0);
    EXPECT_EQ(p.CamPos(7, 7, (first - 1001) % 1000), 1);
    h.Show(p, h.present());
    EXPECT_EQ(p.CamPos(7, 7, 100), 1);
}

TEST(ChangeHistory, OneChangeCostsTheSameWithFewOrManySizes) {
    std::vector<std::size_t> cost;
    for (int sizes : {7, 60}) {
        Program p = camtest::MakeProgram(32, sizes);
        ChangeHistory h;
        h.Start("start");
        const std::size_t empty = h.bytes();
        Edit(h, p, 1, 0, 100, 200, "phase 0100-0200 of cam 1, size 1");
        cost.push_back(h.bytes() - empty);
    }
    EXPECT_EQ(cost[0], cost[1]);
    EXPECT_LT(cost[0], 1024u);
}

Program Model() {
    Program p = camtest::MakeProgram();
    p.CurCam = 2;
    return p;
}

struct EditedDocument : ::testing::Test {
    Program p = Model();
    CamDocument doc{p};
};

TEST_F(EditedDocument, SavedExactlyWhenTheFileWouldHoldTheSameBytes) {
    EXPECT_TRUE(doc.FileSaved());
    const long start = doc.revision();
    Edit(doc, 1, 2, 100, 200, "a");
    EXPECT_FALSE(doc.FileSaved());
    EXPECT_GT(doc.revision(), start);
    Edit(doc, 1, 2, 100, 100, "b");  // the phase taken away again: the bytes of the saved state
    EXPECT_TRUE(doc.FileSaved());
    const long same = doc.revision();
    EXPECT_FALSE(doc.Edit(EditScope::Cam(1, 2), "nothing", [](CamData&) {}));
    EXPECT_EQ(doc.revision(), same);  // a change of nothing is no change
    Edit(doc, 2, 5, 10, 20, "c");
    doc.MarkSaved();
    EXPECT_TRUE(doc.FileSaved());
    ASSERT_TRUE(doc.RestoreHistory(0, "back"));  // the history is an edit like any other
    EXPECT_EQ(std::pair(doc.FileSaved(), Labels(doc.history())), std::pair(false, Entries{"", "a", "b", "c", "back"}));
}

TEST_F(EditedDocument, AnotherProgramIsOneEntryOrANewHistory) {
    Edit(doc, 1, 2, 100, 200, "typed");
    Program same = camtest::MakeProgram();
    SetPhase(same, 3, 3, 5, 6);
    doc.Replace("reception", same.Data());
    EXPECT_EQ(std::pair(Labels(doc.history()), Listed(p, 1, 2)),
              std::pair(Entries{"", "typed", "reception"}, Entries{}));
    ASSERT_TRUE(doc.RestoreHistory(1, "back"));  // the tables before the reception, whole
    EXPECT_EQ((Lists{Listed(p, 1, 2), Listed(p, 3, 3)}), (Lists{{"F001 0100 0200"}, {}}));
    // Tables of another model, or a program of no relation, begin a history of their own.
    doc.Replace("other model", camtest::MakeProgram(16, 15).Data());
    EXPECT_EQ(std::pair(Labels(doc.history()), p.NCams), std::pair(Entries{"other model"}, 16));
    doc.Begin("imported", same.Data());
    EXPECT_EQ(std::pair(Labels(doc.history()), doc.FileSaved()), std::pair(Entries{"imported"}, false));
    doc.Load("opened", [](CamData& d) { ClearAll(d); });
    EXPECT_EQ(std::pair(Labels(doc.history()), doc.FileSaved()), std::pair(Entries{"opened"}, true));
}

TEST_F(EditedDocument, APhaseEntryOrADragIsNamedInTheUsersWords) {
    PhaseEditor ed(p, doc);
    EXPECT_EQ(ed.dragCam(), -1);  // browsing: no row takes a drag
    ed.OpenCam(2);
    EXPECT_EQ(ed.dragCam(), 2);
    ASSERT_TRUE(ed.OffFocusOut("0100", "0200"));
    const Change& c = doc.history().entry(doc.history().present()).change;
    ASSERT_EQ(c.cams.size(), 1u);
    EXPECT_EQ(c.cams[0].after.count(), 100u);
    // The same phase left again writes nothing new, and keeps the undo copy.
    ASSERT_TRUE(ed.OffFocusOut("0100", "0200"));
    EXPECT_EQ(std::pair(doc.history().count(), ed.undoEnabled()), std::pair(std::size_t{2}, true));
    ASSERT_TRUE(ed.OffFocusOut("0150", "0150"));
    ASSERT_TRUE(ed.Undo());
    EXPECT_EQ(Labels(doc.history()), (Entries{"", "phase 0100-0200 of cam 3, size 1",
                                              "phase at 0150 removed from cam 3, size 1", "undo on cam 3, size 1"}));
    EXPECT_EQ(Listed(p, 1, 2), Entries{"F001 0100 0200"});

    // A drag counts as a phase entry, and the one-level undo takes it back.
    doc.MarkSaved();
    Program dragged = p;
    ASSERT_TRUE(SetPhase(dragged, 1, 2, 100, 260));
    std::array<std::uint8_t, kPositions> positions;
    std::copy_n(dragged.CamPos.cam(1, 2), kPositions, positions.begin());
    ed.WriteDrag(1, 2, positions, 100, 260);
    EXPECT_EQ(std::tuple(ed.undoEnabled(), doc.FileSaved(), ed.onText() + ed.offText() + ed.savedOff(),
                         Labels(doc.history()).back()),
              std::tuple(true, false, "010002600260", "phase 0100-0260 of cam 3, size 1"));
    ASSERT_TRUE(ed.Undo());
    EXPECT_EQ(std::pair(Listed(p, 1, 2), doc.FileSaved()), std::pair(Entries{"F001 0100 0200"}, true));
    p.CurSize = 2;
    EXPECT_EQ(ed.dragCam(), -1);  // another size shown: the cam open is not on the chart
}

TEST(EditingChanges, SizeCommandsRecordWhatTheyChangedAndEndTheUndo) {
    // command, answer (nullptr: Yes), the change recorded: label, cams and size (0: none)
    const std::vector<std::tuple<Command, const char*, std::string, std::size_t, int>> cases = {
        {&ShiftCam, "100", "shift cam 5 by 100", 1, 1},
        {&CopySize, "3", "copy size 1 to size 3", 1, 3},  // the one cam that differed
        {&CopyCam, "9", "copy cam 5 to cam 9, size 1", 1, 1},
        {&EraseCam, nullptr, "erase cam 5, size 1", 1, 1},
        {&EraseSize, nullptr, "erase size 1", 1, 1},  // the one cam with phases
        {&EditRemark, "GLUE", "remark of cam 5", 0, 0},
    };
    for (const auto& [command, answer, label, cams, size] : cases) {
        SCOPED_TRACE(label);
        Program p = Model();
        p.CurCam = 4;
        ASSERT_TRUE(SetPhase(p, 1, 4, 500, 600));
        CamDocument doc(p);
        const ChangeHistory& h = doc.history();
        PhaseEditor ed(p, doc);
        ed.OpenCam(4);
        ASSERT_TRUE(ed.OffFocusOut("0100", "0200"));
        ASSERT_TRUE(ed.undoEnabled());
        ScriptedPrompt prompt;
        answer ? prompt.push(answer) : prompt.push(Answer::Yes);
        ASSERT_TRUE(command(p, doc, prompt).changed);
        const Change& c = h.entry(h.present()).change;
        EXPECT_EQ(std::tuple(c.label, c.cams.size(), c.size, ed.undoEnabled()), std::tuple(label, cams, size, false));
        EXPECT_FALSE(ed.Undo());
        EXPECT_EQ(h.count(), 3u);
    }
}

TEST_F(EditedDocument, PickingShowsRestoreKeepsCloseReturns) {
    doc.Load("file opened", [](CamData&) {});
    Edit(doc, 1, 2, 100, 200, "phase 0100-0200 of cam 3, size 1");
    Edit(doc, 4, 6, 10, 20, "phase 0010-0020 of cam 7, size 4");
    std::tie(p.CurSize, p.CurCam) = std::tuple(1, 0);
    {
        HistoryForm f(p, doc);
        EXPECT_EQ(f.Rows(), (Entries{"   1  file opened", "   2  phase 0100-0200 of cam 3, size 1",
                                     "   3  phase 0010-0020 of cam 7, size 4"}));
        EXPECT_EQ(std::pair(f.presentRow(), f.restoreEnabled()), std::pair(2, false));
        f.Select(1);
        // The entry's size and cam are shown, in the state of that entry.
        EXPECT_EQ(std::tuple(f.restoreEnabled(), p.CurSize, p.CurCam, Listed(p, 4, 6)),
                  std::tuple(true, 1, 2, Entries{}));
        f.Select(2);
        EXPECT_EQ(p.CurSize, 4);
        f.Close();
        // Back where the window was opened.
        EXPECT_EQ(std::tuple(p.CurSize, p.CurCam, f.restored()), std::tuple(1, 0, false));
    }
    {
        HistoryForm f(p, doc);
        f.Select(0);
        ASSERT_TRUE(f.Restore());
        EXPECT_EQ(std::pair(f.restored(), f.selectedRow()), std::pair(true, f.presentRow()));
        EXPECT_EQ(f.Rows().back(), "   4  back to: file opened");
        f.Select(2);  // looked at, not restored
        f.Close();
        // Back to the state of the file.
        EXPECT_EQ(std::tuple(Listed(p, 1, 2), Listed(p, 4, 6), doc.FileSaved()),
                  std::tuple(Entries{}, Entries{}, true));
    }
}

}  // namespace
