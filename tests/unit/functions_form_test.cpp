// The functions window's rules on its form model: the count and the switches, rows and
// blocks, and the slot a selected row edits.
#include "functions_fixture.h"

namespace {

using namespace camtest;

TEST_F(Functions, TheCountIsReadFromOneOrTwoCharacters) {
    Open();
    Advances("123");
    EXPECT_EQ(p.NAdvCams, 0);
    EXPECT_EQ(f->countText(), "0");
    Advances("12");
    EXPECT_EQ(p.NAdvCams, 12);
    // Above the cam count the count is 0 but the box keeps what was typed.
    f->changeCount("40");
    EXPECT_EQ(p.NAdvCams, 0);
    EXPECT_EQ(f->countText(), "40");
    f->changeCount("");
    EXPECT_EQ(f->countText(), "0");
}

TEST_F(Functions, TheCountDecidesWhichBlockSwitchesAreOffered) {
    Open();
    Advances("16");
    EXPECT_TRUE(f->delays().enabled);
    EXPECT_TRUE(f->ratio17().enabled);
    EXPECT_TRUE(f->ratio25().enabled);
    f->changeCount("20");
    EXPECT_FALSE(f->delays().enabled);
    EXPECT_FALSE(f->ratio17().enabled);
    EXPECT_TRUE(f->ratio25().enabled);
    f->changeCount("25");
    EXPECT_FALSE(f->ratio25().enabled);
    // A switch that is on is cleared when the count grows over its cams.
    f->changeCount("10");
    f->clickDelays(true);
    f->clickRatio25(true);
    f->changeCount("30");
    EXPECT_FALSE(f->delays().checked);
    EXPECT_FALSE(f->ratio25().checked);
    // A disabled switch refuses the click.
    f->clickDelays(true);
    EXPECT_FALSE(f->delays().checked);
}

TEST_F(Functions, HighestAdvanceRowFollowsTheSwitches) {
    Open();
    EXPECT_EQ(f->MaxAdvRow(), 0);
    Advances("5");
    EXPECT_EQ(f->MaxAdvRow(), 31);
    f->clickRatio25(true);
    EXPECT_EQ(f->MaxAdvRow(), 23);
    f->clickDelays(true);
    EXPECT_EQ(f->MaxAdvRow(), 15);
    f->clickDelays(false);
    f->clickRatio25(false);
    f->clickRatio17(true);
    EXPECT_EQ(f->MaxAdvRow(), 15);
    f->clickAdvances(false);
    EXPECT_EQ(f->MaxAdvRow(), 0);
    // Two encoders and 16 cams: the single advances end at row 7.
    Open(16, 2);
    EXPECT_EQ(f->MaxAdvRow(), 7);
}

TEST_F(Functions, SwitchingAdvancesOffHidesEveryAdvanceRow) {
    Open();
    Advances("20");
    EXPECT_EQ(Cells().size(), 20u);
    EXPECT_TRUE(f->countEnabled());
    EXPECT_EQ(f->takeFocusRequest(), cam::FocusRequest::Count);
    f->clickAdvances(false);
    EXPECT_TRUE(Cells().empty());
    EXPECT_EQ(p.NAdvCams, 0);
    EXPECT_EQ(f->countText(), "0");
    EXPECT_FALSE(f->countEnabled());
    for (int i = 0; i < 32; ++i) EXPECT_FALSE(f->row(i).selectable) << i;
}

TEST_F(Functions, RatioSwitchesAreNeverBothOn) {
    Open();
    f->clickRatio17(true);
    EXPECT_EQ(p.Ratio17On, 1);  // at once
    EXPECT_FALSE(f->ratio25().enabled);
    EXPECT_FALSE(f->delays().enabled);
    f->clickRatio25(true);  // refused while ratio 17-32 is on
    EXPECT_FALSE(f->ratio25().checked);
    f->clickRatio17(false);
    EXPECT_EQ(p.Ratio17On, 0);
    f->clickRatio25(true);
    EXPECT_FALSE(f->ratio17().enabled);
    EXPECT_TRUE(f->ratio25().checked);
    // Delays and ratio 17-32 cover the same cams: one excludes the other.
    f->clickRatio25(false);
    f->clickDelays(true);
    EXPECT_FALSE(f->ratio17().enabled);
    f->clickRatio17(true);
    EXPECT_FALSE(f->ratio17().checked);
}

TEST_F(Functions, DelaysAndRatio25ShowThreeBlockCells) {
    Open();
    Advances("3");
    f->clickDelays(true);
    f->clickRatio25(true);
    EXPECT_EQ(Cells(), (std::vector<std::string>{"0:1", "1:1", "2:1", "16:4", "20:4", "24:8"}));
    for (int i = 16; i < 32; ++i) EXPECT_TRUE(f->row(i).selectable) << i;
    EXPECT_FALSE(f->row(5).selectable);
    EXPECT_EQ(f->row(24).fullScale, 9);
    EXPECT_EQ(f->row(16).fullScale, 210);
}

TEST_F(Functions, DelayBlocksEditTheirOwnDelay) {
    Open();
    p.Delay17_20 = 40;
    p.Delay21_24 = 60;
    f->clickDelays(true);
    ASSERT_TRUE(f->selectRow(20));  // cam 21
    EXPECT_EQ(p.CurCam, 20);
    EXPECT_EQ(*f->editedSlot(), (ValueSlot{SlotKind::Delay, 1}));
    EXPECT_EQ(f->rowCaption(), "21 - 24");
    EXPECT_EQ(f->kindCaption(), "DELAY OF CAMS");
    EXPECT_EQ(f->unit(), "msec.");
    EXPECT_EQ(f->sliderValue(), 60);
    EXPECT_TRUE(f->row(20).current);
    EXPECT_FALSE(f->row(16).current);
    ASSERT_TRUE(f->selectRow(18));  // cam 19: CurCam stays the clicked cam, inside the block
    EXPECT_EQ(p.CurCam, 18);
    EXPECT_EQ(f->rowCaption(), "17 - 20");
    EXPECT_TRUE(f->row(16).current);
    f->moveSlider(75);
    EXPECT_EQ(p.Delay17_20, 75);
    EXPECT_EQ(p.Delay21_24, 60);
    EXPECT_EQ(f->entryText(), "75");
}

TEST_F(Functions, TwoEncodersGroupTheCamsFrom17InFours) {
    Open(32, 2);
    EXPECT_EQ(Cells(), (std::vector<std::string>{"16:4", "20:4", "24:4", "28:4"}));
    EXPECT_FALSE(f->delays().enabled);
    EXPECT_TRUE(f->listEnabled());
    EXPECT_EQ(f->listCount(), 2);
    p.AdvMs[20] = 33;
    ASSERT_TRUE(f->selectRow(22));  // cam 23
    EXPECT_EQ(p.CurCam, 20);
    EXPECT_EQ(f->rowCaption(), "21 - 24");
    EXPECT_EQ(f->kindCaption(), "ADVANCE OF CAM");
    EXPECT_EQ(f->sliderValue(), 33);
    EXPECT_TRUE(f->row(20).current);
    f->enterValue("120");
    EXPECT_EQ(p.AdvMs[20], 120);
    EXPECT_EQ(p.AdvMs[22], 0);
    // Below the groups a row is its own cam.
    Advances("16");
    ASSERT_TRUE(f->selectRow(9));
    EXPECT_EQ(f->rowCaption(), "10");
    // Several encoders take at most 16 advances.
    f->changeCount("17");
    EXPECT_EQ(p.NAdvCams, 0);
}

TEST_F(Functions, SixteenCamsGroupOnlyWithTwoEncoders) {
    Open(16, 2);
    EXPECT_EQ(f->rows(), 16);
    EXPECT_EQ(Cells(), (std::vector<std::string>{"8:4", "12:4"}));
    Open(16, 3);
    EXPECT_TRUE(Cells().empty());
    Advances("16");
    // No group cells, but a cam from 9 on still edits its group's advance.
    ASSERT_TRUE(f->selectRow(10));
    EXPECT_EQ(p.CurCam, 8);
    EXPECT_EQ(f->rowCaption(), "9 - 12");
    EXPECT_EQ(*f->editedSlot(), (ValueSlot{SlotKind::Advance, 8}));
    // The delay and ratio switches stay off with 16 cams, whatever the encoders.
    f->clickEncoders(1);
    EXPECT_FALSE(f->delays().enabled);
    EXPECT_FALSE(f->ratio17().enabled);
    EXPECT_FALSE(f->ratio25().enabled);
}

TEST_F(Functions, Ratio17CoversCams17To32AndIsReachedFrom17To24) {
    Open();
    p.Ratio25_32 = 4;
    f->clickRatio17(true);
    EXPECT_EQ(Cells(), (std::vector<std::string>{"16:16"}));
    EXPECT_TRUE(f->row(23).selectable);
    EXPECT_FALSE(f->row(24).selectable);
    ASSERT_TRUE(f->selectRow(17));
    EXPECT_EQ(f->rowCaption(), "17 - 24");
    EXPECT_EQ(f->unit(), "1 /");
    EXPECT_EQ(f->sliderMax(), 9);
    EXPECT_EQ(f->largeStep(), 2);
    EXPECT_TRUE(f->row(16).current);
    f->enterValue("12");  // above the maximum: the maximum
    EXPECT_EQ(p.Ratio25_32, 9);
    EXPECT_EQ(f->entryText(), "9");
    // Neither a cam file nor the wire keeps the ratio of cams 17-32: closing says so.
    f->close();
    EXPECT_EQ(prompt.messages().back(),
              "A cam file has no place for the ratio of cams 17-32 (1/9): it is not kept in the file.\r"
              "The ratio of cams 17-32 (1/9) is not sent: the device receives its switch without the value.");
}

TEST_F(Functions, ValuesBeyondTheirRangeAreCutWhenSelected) {
    Open();
    p.AdvMs[3] = 250;
    p.Delay21_24 = 230;
    p.Ratio25_32 = 12;
    Advances("5");
    EXPECT_EQ(f->row(3).value, 250);  // shown as it is until selected
    f->selectRow(3);
    EXPECT_EQ(p.AdvMs[3], 210);
    EXPECT_EQ(f->sliderValue(), 210);
    f->clickDelays(true);
    f->selectRow(21);
    EXPECT_EQ(p.Delay21_24, 210);
    f->clickRatio25(true);
    f->selectRow(30);
    EXPECT_EQ(p.Ratio25_32, 9);
    EXPECT_EQ(f->entryText(), "9");
}

TEST_F(Functions, TheEditingAreaLeavesARowThatIsNoLongerShown) {
    Open();
    EXPECT_FALSE(f->editing());
    EXPECT_FALSE(f->selectRow(3));  // hidden rows cannot be clicked
    EXPECT_EQ(f->kindCaption(), "ADVANCE OF CAM");
    EXPECT_EQ(f->rowCaption(), "00");
    f->moveSlider(50);  // nothing is edited yet
    EXPECT_EQ(p.AdvMs[p.CurCam], 0);
    f->clickDelays(true);
    ASSERT_TRUE(f->selectRow(17));
    EXPECT_EQ(f->takeFocusRequest(), cam::FocusRequest::Entry);
    f->clickDelays(false);
    EXPECT_FALSE(f->editing());
    f->moveSlider(50);
    EXPECT_EQ(p.Delay17_20, 0);
    EXPECT_EQ(p.AdvMs[17], 0);
}

TEST_F(Functions, TheKeyboardStepsThroughTheRowsABlockAtATime) {
    Open(32, 2);
    Advances("2");
    std::vector<std::string> seen;
    while (f->selectNeighbour(1)) seen.push_back(f->rowCaption());
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "17 - 20", "21 - 24", "25 - 28", "29 - 32"}));
    ASSERT_TRUE(f->selectNeighbour(-1));
    EXPECT_EQ(f->rowCaption(), "25 - 28");
    EXPECT_EQ(p.CurCam, 24);
}

TEST_F(Functions, ASelectedDelayBlockBecomesTheAdvanceGroupWithASecondEncoder) {
    Open(32, 2);
    f->clickEncoders(1);
    f->clickDelays(true);
    ASSERT_TRUE(f->selectRow(21));
    EXPECT_EQ(f->rowCaption(), "21 - 24");
    f->clickEncoders(2);
    ASSERT_TRUE(f->editing());
    EXPECT_EQ(*f->editedSlot(), (ValueSlot{SlotKind::Advance, 20}));
    EXPECT_EQ(p.CurCam, 20);
    EXPECT_EQ(f->kindCaption(), "ADVANCE OF CAM");
}

}  // namespace
