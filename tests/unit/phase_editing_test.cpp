#include "core/editor/phase_editing.h"
#include "core/editor/phase_list.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace cam;

namespace {

using Entries = std::vector<std::string>;

Program Fresh(int cams = 32, int sizes = 7) {
    Program p = camtest::MakeProgram(cams, sizes);
    p.CurCam = 0;
    return p;
}

// Types ON and OFF the way the boxes do: focus in, text, Enter (commit), leave.
void EnterPhase(PhaseEditor& ed, const std::string& on, const std::string& off) {
    ed.OnFocusIn();
    ed.OnKeyTyped();
    ed.OnFocusOut(CommitBoxText(on));
    ed.OffFocusIn();
    ed.OffFocusOut(ed.onText(), CommitBoxText(off));
}

Entries Listed(const Program& p) { return PhaseListEntries(p, p.CurSize, p.CurCam); }

// A 32-cam program, its document and the editor of its phase boxes.
struct PhaseEditing : ::testing::Test {
    Program p = Fresh();
    CamDocument doc{p};
    PhaseEditor ed{p, doc};
};

TEST(BoxKeys, DigitsPassEnterAndTabCommitEverythingElseBecomesZero) {
    const auto key = [](int ch) { return std::pair(FilterBoxKey(ch).kind, FilterBoxKey(ch).ch); };
    EXPECT_EQ(key('7'), std::pair(BoxKey::Insert, '7'));
    EXPECT_EQ((std::array{FilterBoxKey(13).kind, FilterBoxKey(9).kind}), (std::array{BoxKey::Commit, BoxKey::Commit}));
    for (int ch : {int('a'), int('Z'), int('-'), int(' '), int('.'), 8 /* Backspace */, 27})
        EXPECT_EQ(key(ch), std::pair(BoxKey::Insert, '0')) << ch;
}

// An empty box commits as 0; left empty it gets "000" and nothing, as the rule builds it.
TEST(BoxTexts, CommitAndLeaveGiveFourDigits) {
    EXPECT_EQ((Entries{CommitBoxText("5"), CommitBoxText("1024"), CommitBoxText("")}),
              (Entries{"0005", "1024", "0000"}));
    EXPECT_EQ((Entries{PadBoxText("5"), PadBoxText("  12"), PadBoxText(""), PadBoxText("0100")}),
              (Entries{"0005", "0012", "000", "0100"}));
    EXPECT_EQ((std::array{BoxNumber("0100"), BoxNumber("000")}), (std::array{100L, 0L}));
}

// The run replacement itself belongs to SetPhase; here the boxes' texts must reach it.
TEST_F(PhaseEditing, TypedPhasesAreWrittenThroughTheRunReplacementRule) {
    ed.OpenCam(0);
    EnterPhase(ed, "1000", "24");
    EXPECT_EQ(std::tuple(Listed(p), doc.FileSaved(), ed.undoEnabled()),
              std::tuple(Entries{"F001 1000 0024"}, false, true));
    // An always-ON cam picked and left with both boxes unchanged keeps every position ON.
    EnterPhase(ed, "0", "1024");
    EXPECT_EQ(Listed(p), Entries{"F001 0000 1024"});
    ed.PickEntryAndEdit("F001 0000 1024");
    ed.OnFocusIn();
    ed.OnFocusOut(ed.onText());
    ed.OffFocusIn();
    ed.OffFocusOut(ed.onText(), ed.offText());
    EXPECT_EQ(std::tuple(int(p.CamPos(1, 0, 1023)), Listed(p)), std::tuple(1, Entries{"F001 0000 1024"}));
}

// ON is limited to 1023 and OFF to 1024 when their boxes are left.
TEST_F(PhaseEditing, ValuesAboveTheRangeAreLimited) {
    ed.OpenCam(0);
    for (auto [typed, on, off] : std::vector<std::array<const char*, 3>>{
             {"1023", "1023", "1023"}, {"1024", "1023", "1024"}, {"1025", "1023", "1024"}, {"5000", "1023", "1024"}}) {
        ed.OnFocusIn();
        ed.OnKeyTyped();
        ed.OnFocusOut(typed);
        EXPECT_EQ(ed.onText(), on) << typed;
        ed.OffFocusIn();
        ed.OffFocusOut(ed.onText(), typed);
        EXPECT_EQ(ed.offText(), off) << typed;
    }
}

TEST_F(PhaseEditing, BoxesStartFromTheCamTheEntryOrZero) {
    SetPhase(p, 1, 0, 300, 400);
    ed.OpenCam(0);
    EXPECT_EQ(ed.savedOn() + ed.savedOff(), "03000400");
    ed.OnFocusIn();
    EXPECT_EQ(ed.onText() + ed.offText(), "03000400");
    ed.OnFocusOut("9");  // text changed without a key reaching the box: the saved value stays
    EXPECT_EQ(ed.onText(), "0300");

    ed.OpenCam(4);  // an empty cam
    EXPECT_EQ(std::tuple(p.CurCam, ed.editMode(), ed.offEnabled(), ed.savedOn() + ed.savedOff()),
              std::tuple(4, true, true, "00000000"));

    PhaseEditor picked(p, doc);
    picked.PickEntry("F002 0300 0400");
    EXPECT_EQ(std::tuple(picked.editMode(), picked.offEnabled(), picked.onText() + picked.offText()),
              std::tuple(true, false, "03000400"));
    picked.PickEntryAndEdit("F001 0010 0020");
    EXPECT_EQ(std::tuple(picked.offEnabled(), picked.savedOff()), std::tuple(true, "0020"));
}

TEST_F(PhaseEditing, UndoRestoresTheCamOnceAndNotAfterAnotherCamOrSize) {
    SetPhase(p, 1, 0, 100, 200);
    ed.ChartShown(1, 0);
    ed.OpenCam(0);
    EnterPhase(ed, "150", "300");
    ed.ChartShown(1, 0);  // redrawn as it was
    ASSERT_TRUE(ed.undoEnabled());
    // Undo, the cam it leaves and whether undo is still offered; a second undo and the cam then.
    EXPECT_EQ((std::tuple{ed.Undo(), Listed(p), ed.undoEnabled(), ed.Undo(), Listed(p)}),
              std::tuple(true, Entries{"F001 0100 0200"}, false, false, Entries{"F001 0100 0200"}));

    EnterPhase(ed, "400", "500");
    ASSERT_TRUE(ed.undoEnabled());
    ed.ChartShown(1, 1);
    EXPECT_FALSE(ed.undoEnabled());
    EnterPhase(ed, "300", "400");
    ASSERT_TRUE(ed.undoEnabled());
    // Undo must not write a cam of size 1 into size 2.
    p.CurSize = 2;
    ed.ChartShown(2, 1);
    EXPECT_EQ((std::tuple{ed.undoEnabled(), ed.Undo(), PhaseListEntries(p, 2, 1)}),
              std::tuple(false, false, Entries{}));
}

TEST_F(PhaseEditing, RightClickSwallowsTheNextLeftClickOnlyAndAClickLeavesEditMode) {
    ScriptedPrompt prompt;
    // Right click on cam 5: redraw, cam 5 current; again: nothing to redraw; then two left clicks on cam 7.
    const std::vector<int> seen{ed.CamRightClick(5), p.CurCam, ed.CamRightClick(5), ed.AcceptCamClick(7, prompt),
                                ed.AcceptCamClick(7, prompt)};
    EXPECT_EQ(seen, (std::vector<int>{1, 5, 0, 0, 1}));
    ed.SelectCam(7);
    EXPECT_EQ(std::pair(p.CurCam, prompt.asked().size()), std::pair(7, std::size_t(0)));

    ed.OpenCam(2);
    ASSERT_TRUE(ed.editMode());
    ed.SelectCam(3);
    EXPECT_EQ(std::pair(ed.editMode(), p.CurCam), std::pair(false, 3));
}

// A 16-cam model: a row beyond its cams is refused; a current cam left over from 32 cams is never written.
TEST(PhaseEditor, CamsOutsideTheModelAreRefused) {
    Program p = Fresh(16, 15);
    std::tie(p.LngTxt[71], p.CurCam) = std::tuple("NO SUCH CAM", 20);
    ScriptedPrompt prompt;
    CamDocument doc(p);
    PhaseEditor ed(p, doc);
    EXPECT_FALSE(ed.AcceptCamClick(16, prompt));
    ASSERT_EQ(prompt.messages(), Entries{"NO SUCH CAM"});
    EXPECT_EQ(prompt.asked()[0].icon, Icon::Stop);
    EXPECT_EQ((std::array{ed.OffFocusOut("0100", "0200"), ed.undoEnabled()}), (std::array{false, false}));
}

TEST(Navigation, KeysWrapAtBothEnds) {
    const std::vector<std::tuple<NavKey, int, int, int>> cases = {
        // key, the cam open, the cams of the model, the cam the key opens
        {NavKey::PageDown, 31, 32, 0}, {NavKey::PageDown, 4, 32, 5}, {NavKey::PageUp, 0, 32, 31},
        {NavKey::PageUp, 0, 16, 15},   {NavKey::PageUp, 9, 16, 8},   {NavKey::Home, 9, 16, 0},
        {NavKey::End, 0, 16, 15}};
    for (const auto& [key, from, cams, to] : cases) EXPECT_EQ(NavigateCam(key, from, cams), to) << from << "/" << cams;
}

}  // namespace
