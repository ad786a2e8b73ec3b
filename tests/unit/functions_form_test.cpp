// The functions form: the count and its switches, rows and blocks, and the slot a selected row edits.
#include "functions_fixture.h"

#include <functional>
#include <tuple>

namespace {

using namespace camtest;

// The count is read from one or two characters; above the cam count it is 0 but the box keeps
// what was typed. The count decides which block switches are offered.
TEST_F(Functions, TheCountAndTheSwitchesItOffers) {
    // typed, count, shown, switches
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"123", 0, "0", "---"},  {"12", 12, "12", "---"}, {"16", 16, "16", "---"}, {"20", 20, "20", "xx-"},
        {"25", 25, "25", "xxx"}, {"40", 0, "40", "---"},  {"", 0, "0", "---"}};
    Open();
    f->clickAdvances(true);
    for (auto [typed, count, shown, switches] : cases) {
        f->changeCount(typed);
        EXPECT_EQ(std::tuple(p.NAdvCams, f->countText(), Switches()), std::tuple(count, shown, switches)) << typed;
    }
}

// The two ratios are never both on; delays and ratio 17-32 cover the same cams; a switch on is
// cleared when the count grows over its cams; a disabled switch refuses the click.
TEST_F(Functions, SwitchesExcludeEachOtherAndLimitTheAdvanceRows) {
    // Each step in turn, with the switches and the highest advance row it leaves.
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[&] {}, "--- 0"},
        {[&] { Advances("5"); }, "--- 31"},
        {[&] { f->clickRatio25(true); }, "-x+ 23"},
        {[&] { f->clickDelays(true); }, "+x+ 15"},
        {[&] { f->clickRatio25(false); }, "+x- 15"},
        {[&] { f->clickRatio17(true); }, "+x- 15"},
        {[&] { f->clickDelays(false); }, "--- 31"},
        {[&] { f->clickRatio17(true); }, "x+x 15"},
        {[&] { f->clickRatio25(true); }, "x+x 15"},
        {[&] { f->clickAdvances(false); }, "x+x 0"},
        {[&] { f->clickRatio17(false); }, "--- 0"},
        {[&] { Advances("10"); }, "--- 31"},
        {[&] { f->clickDelays(true); }, "+x- 15"},
        {[&] { f->clickRatio25(true); }, "+x+ 15"},
        {[&] { f->changeCount("30"); }, "xxx 31"},
        {[&] { f->clickDelays(true); }, "xxx 31"},
    };
    Open();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        EXPECT_EQ(Switches() + " " + std::to_string(f->MaxAdvRow()), steps[i].second) << "step " << i;
    }
    // The switch reaches the tables at once.
    Open();
    f->clickRatio17(true);
    EXPECT_EQ(p.Ratio17On, 1);
    f->clickRatio17(false);
    EXPECT_EQ(p.Ratio17On, 0);
    EXPECT_EQ(Open(16, 2).MaxAdvRow(), 7);  // two encoders and 16 cams: the single advances end at row 7
}

TEST_F(Functions, BlockCellsAndTheDelayTheyEdit) {
    Open();
    std::tie(p.Delay17_20, p.Delay21_24) = std::tuple(40, 60);
    Advances("3");
    f->clickDelays(true);
    f->clickRatio25(true);
    EXPECT_EQ(Cells(), (Strings{"0:1", "1:1", "2:1", "16:4", "20:4", "24:8"}));
    for (int i = 16; i < 32; ++i) EXPECT_TRUE(f->row(i).selectable) << i;
    EXPECT_EQ((Ints{f->row(5).selectable, f->row(16).fullScale, f->row(24).fullScale}), (Ints{0, 210, 9}));
    ASSERT_TRUE(f->selectRow(20));  // cam 21
    EXPECT_EQ(
        std::tuple(*f->editedSlot(), Area(), p.CurCam, f->row(20).current, f->row(16).current),
        std::tuple(cam::ValueSlot{cam::SlotKind::Delay, 1}, "21 - 24 | DELAY OF CAMS | msec. 60/210", 20, true, false));
    ASSERT_TRUE(f->selectRow(18));  // cam 19: CurCam stays the clicked cam, inside the block
    EXPECT_EQ(p.CurCam, 18);
    f->moveSlider(75);
    EXPECT_EQ(std::tuple(Area(), int(p.Delay17_20), int(p.Delay21_24), f->entryText()),
              std::tuple("17 - 20 | DELAY OF CAMS | msec. 75/210", 75, 60, "75"));
}

TEST_F(Functions, TwoEncodersGroupTheCamsFrom17InFours) {
    Open(32, 2);
    EXPECT_EQ(Cells(), (Strings{"16:4", "20:4", "24:4", "28:4"}));
    EXPECT_EQ((Ints{f->delays().enabled, f->listEnabled(), f->listCount()}), (Ints{0, 1, 2}));
    p.AdvMs[20] = 33;
    ASSERT_TRUE(f->selectRow(22));  // cam 23
    EXPECT_EQ(std::tuple(p.CurCam, Area(), f->row(20).current),
              std::tuple(20, "21 - 24 | ADVANCE OF CAM | msec. 33/210", true));
    f->enterValue("120");
    EXPECT_EQ((Ints{p.AdvMs[20], p.AdvMs[22]}), (Ints{120, 0}));
    // Below the groups a row is its own cam; several encoders take at most 16 advances.
    Advances("16");
    ASSERT_TRUE(f->selectRow(9));
    EXPECT_EQ(f->rowCaption(), "10");
    f->changeCount("17");
    EXPECT_EQ(p.NAdvCams, 0);
}

TEST_F(Functions, SixteenCamsGroupOnlyWithTwoEncoders) {
    EXPECT_EQ((std::tuple{Open(16, 2).rows(), Cells()}), std::tuple(16, Strings{"8:4", "12:4"}));
    Open(16, 3);
    EXPECT_TRUE(Cells().empty());
    Advances("16");
    // No group cells, but a cam from 9 on still edits its group's advance.
    ASSERT_TRUE(f->selectRow(10));
    EXPECT_EQ(std::tuple(*f->editedSlot(), p.CurCam, Area()),
              std::tuple(cam::ValueSlot{cam::SlotKind::Advance, 8}, 8, "9 - 12 | ADVANCE OF CAM | msec. 0/210"));
    // The delay and ratio switches stay off with 16 cams, whatever the encoders.
    f->clickEncoders(1);
    for (const cam::SwitchView s : {f->delays(), f->ratio17(), f->ratio25()}) EXPECT_FALSE(s.enabled);
}

TEST_F(Functions, Ratio17CoversCams17To32AndIsReachedFrom17To24) {
    Open();
    p.Ratio25_32 = 4;
    f->clickRatio17(true);
    EXPECT_EQ(std::tuple(Cells(), f->row(23).selectable, f->row(24).selectable),
              std::tuple(Strings{"16:16"}, true, false));
    ASSERT_TRUE(f->selectRow(17));
    EXPECT_EQ(std::tuple(Area(), f->largeStep(), f->row(16).current),
              std::tuple("17 - 24 | RATIO OF CAMS | 1 / 4/9", 2, true));
    f->enterValue("12");  // above the maximum: the maximum
    EXPECT_EQ(std::tuple(int(p.Ratio25_32), f->entryText()), std::tuple(9, "9"));
    // Neither a cam file nor the wire keeps the ratio of cams 17-32: closing says so.
    f->close();
    EXPECT_EQ(prompt.messages().back(),
              "A cam file has no place for the ratio of cams 17-32 (1/9): it is not kept in the file.\r"
              "The ratio of cams 17-32 (1/9) is not sent: the device receives its switch without the value.");
}

TEST_F(Functions, ValuesBeyondTheirRangeAreCutWhenSelected) {
    Open();
    std::tie(p.AdvMs[3], p.Delay21_24, p.Ratio25_32) = std::tuple(250, 230, 12);
    Advances("5");
    EXPECT_EQ(f->row(3).value, 250);  // shown as it is until selected
    f->selectRow(3);
    EXPECT_EQ(std::tuple(int(p.AdvMs[3]), Area()), std::tuple(210, "4 | ADVANCE OF CAM | msec. 210/210"));
    f->clickDelays(true);
    f->selectRow(21);
    EXPECT_EQ(p.Delay21_24, 210);
    f->clickRatio25(true);
    f->selectRow(30);
    EXPECT_EQ(std::tuple(int(p.Ratio25_32), f->entryText()), std::tuple(9, "9"));
}

TEST_F(Functions, TheEditingAreaLeavesARowThatIsNoLongerShown) {
    Open();
    EXPECT_EQ((std::tuple{f->editing(), f->selectRow(3), Area()}),  // row 3 is hidden: not clicked
              std::tuple(false, false, "00 | ADVANCE OF CAM | mSec. 0/210"));
    f->moveSlider(50);  // nothing is edited yet
    EXPECT_EQ(p.AdvMs[p.CurCam], 0);
    f->clickDelays(true);
    ASSERT_TRUE(f->selectRow(17));
    EXPECT_EQ(f->takeFocusRequest(), cam::FocusRequest::Entry);
    f->clickDelays(false);
    EXPECT_FALSE(f->editing());
    f->moveSlider(50);
    EXPECT_EQ((Ints{p.Delay17_20, p.AdvMs[17]}), (Ints{0, 0}));
    // Advances switched off hide every advance row and empty the count.
    Advances("20");
    EXPECT_EQ(std::tuple(Cells().size(), f->takeFocusRequest()), std::tuple(20u, cam::FocusRequest::Count));
    f->clickAdvances(false);
    EXPECT_EQ(std::tuple(Cells().size(), p.NAdvCams, f->countText(), f->countEnabled()), std::tuple(0u, 0, "0", false));
    for (int i = 0; i < 32; ++i) EXPECT_FALSE(f->row(i).selectable) << i;
}

// The keyboard steps through the rows a block at a time; a delay block selected becomes the
// advance group when a second encoder is chosen, which clears what one encoder alone allows.
TEST_F(Functions, StepsAndBlocksWithTwoEncoders) {
    Open(32, 2);
    Advances("2");
    Strings seen;
    while (f->selectNeighbour(1)) seen.push_back(f->rowCaption());
    EXPECT_EQ(seen, (Strings{"1", "2", "17 - 20", "21 - 24", "25 - 28", "29 - 32"}));
    ASSERT_TRUE(f->selectNeighbour(-1));
    EXPECT_EQ(std::tuple(f->rowCaption(), p.CurCam), std::tuple("25 - 28", 24));

    f->clickEncoders(1);
    f->clickDelays(true);
    ASSERT_TRUE(f->selectRow(21));
    EXPECT_EQ(*f->editedSlot(), (cam::ValueSlot{cam::SlotKind::Delay, 1}));
    f->clickEncoders(2);
    ASSERT_TRUE(f->editing());
    EXPECT_EQ(std::tuple(*f->editedSlot(), p.CurCam, Area()),
              std::tuple(cam::ValueSlot{cam::SlotKind::Advance, 20}, 20, "21 - 24 | ADVANCE OF CAM | msec. 0/210"));
    // Several encoders clear the delays and the ratios, and more than 16 advances.
    EXPECT_EQ(Switches(), "xxx");
    f->clickEncoders(1);
    f->clickRatio17(true);
    f->clickEncoders(2);
    EXPECT_EQ(std::tuple(int(p.Ratio17On), Switches()), std::tuple(0, "xxx"));
    f->clickEncoders(1);
    f->changeCount("20");
    f->clickEncoders(2);
    EXPECT_EQ(p.NAdvCams, 0);
}

}  // namespace
