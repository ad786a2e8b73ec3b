// The functions window's rules on its form model: switches and count, rows and blocks, the
// edited slot, the field corrections and what closing stores.
#include "functions/functions_form.h"
#include "core/scripted_prompt.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using cam::FunctionsForm;
using cam::SlotKind;
using cam::ValueSlot;

struct Functions : ::testing::Test {
    cam::Program p;
    cam::ScriptedPrompt prompt;
    std::unique_ptr<FunctionsForm> f;

    // Opens the window (loading and activation) on a model.
    FunctionsForm& Open(int cams = 32, int encoders = 1) {
        p = camtest::MakeProgram(cams, 7, encoders);
        return Reopen();
    }
    FunctionsForm& Reopen() {
        f = std::make_unique<FunctionsForm>(p, prompt);
        f->Activate();
        return *f;
    }
    // Advances on with a count typed into the box.
    void Advances(const std::string& count) {
        f->clickAdvances(true);
        f->changeCount(count);
    }
    // The rows whose own cell is drawn, as "first:span".
    std::vector<std::string> Cells() const {
        std::vector<std::string> out;
        for (int i = 0; i < f->rows(); ++i)
            if (f->row(i).cell) out.push_back(std::to_string(i) + ":" + std::to_string(f->row(i).span));
        return out;
    }
};

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

TEST_F(Functions, ActivationTakesTheTablesAs32CamsDo) {
    p = camtest::MakeProgram(32, 7, 0);
    p.NAdvCams = 5;  // without AdvOn the count does not survive
    f = std::make_unique<FunctionsForm>(p, prompt);
    f->Activate();
    EXPECT_EQ(p.NEncoders, 1);
    EXPECT_FALSE(f->advances().checked);
    EXPECT_EQ(p.NAdvCams, 0);
    p.AdvOn = 1;
    p.NAdvCams = 18;
    p.DelayOn = 1;  // with 18 advances the delays cannot stay
    p.RatioOn = 1;
    Reopen();
    EXPECT_TRUE(f->advances().checked);
    EXPECT_EQ(f->countText(), "18");
    EXPECT_FALSE(f->delays().checked);
    EXPECT_TRUE(f->ratio25().checked);
    EXPECT_EQ(f->takeFocusRequest(), cam::FocusRequest::None);
    // Delays held with several encoders do not cover the advance groups.
    p.NEncoders = 2;
    p.NAdvCams = 4;
    p.DelayOn = 1;
    Reopen();
    EXPECT_FALSE(f->delays().checked);
    f->close();
    EXPECT_EQ(p.DelayOn, 0);
    EXPECT_EQ(p.RatioOn, 0);
}

TEST_F(Functions, ActivationWith16CamsTurnsAdvancesOnFromTheCount) {
    p = camtest::MakeProgram(16, 15, 1);
    p.NAdvCams = 3;
    p.DelayOn = 1;
    p.Ratio17On = 1;
    Reopen();
    EXPECT_TRUE(f->advances().checked);
    EXPECT_EQ(p.NAdvCams, 3);
    EXPECT_FALSE(f->delays().checked);
    f->close();
    EXPECT_EQ(p.AdvOn, 1);
    EXPECT_EQ(p.DelayOn, 0);
    EXPECT_EQ(p.Ratio17On, 0);
}

TEST_F(Functions, OneEncoderChosenOnAThreeEncoderModelStays) {
    Open(32, 3);
    EXPECT_TRUE(f->encoderOptionEnabled(3));
    EXPECT_EQ(f->listCount(), 3);
    f->clickEncoders(1);
    EXPECT_EQ(p.NEncoders, 1);
    EXPECT_TRUE(f->encoderOptionEnabled(2));  // until the window closes
    EXPECT_FALSE(f->listEnabled());
    f->close();
    Reopen();
    EXPECT_TRUE(f->encoderOptionEnabled(1));
    EXPECT_FALSE(f->encoderOptionEnabled(2));
    EXPECT_FALSE(f->encoderOptionEnabled(3));
    f->clickEncoders(3);
    EXPECT_EQ(p.NEncoders, 1);
}

TEST_F(Functions, ChoosingSeveralEncodersClearsDelaysAndRatios) {
    Open(32, 2);
    f->clickEncoders(1);
    Advances("12");
    f->clickRatio17(true);
    f->clickEncoders(2);
    EXPECT_EQ(p.Ratio17On, 0);
    EXPECT_FALSE(f->ratio17().checked);
    EXPECT_FALSE(f->ratio17().enabled);
    // Back on one encoder with more than 16 advances, the delays are not offered.
    f->clickEncoders(1);
    f->changeCount("20");
    f->clickEncoders(2);
    EXPECT_EQ(p.NAdvCams, 0);
}

TEST_F(Functions, SettingFieldsAreCorrectedAsTyped) {
    Open();
    EXPECT_EQ(f->changeOutSize("").text, "00");
    EXPECT_TRUE(f->changeOutSize("").selectAll);
    EXPECT_EQ(f->changeOutSize("9").text, "07");  // 7 sizes
    EXPECT_FALSE(f->changeOutSize("9").selectAll);
    EXPECT_EQ(f->changeOutSize("5").text, "5");
    EXPECT_EQ(f->changeSpeedLimit("").text, "0000");
    EXPECT_EQ(f->changeSpeedLimit("12000").text, "9999");
    EXPECT_EQ(f->changeDirection("").text, "0");
    EXPECT_EQ(f->changeDirection("3").text, "1");
}

TEST_F(Functions, LoadingShowsTheFieldsInTheirForms) {
    p = camtest::MakeProgram(32, 7, 2);
    p.OutSize = 3;
    p.SpeedLimit = 450;
    p.EncShift = 7;
    p.RotDir = 1;
    p.EncShift2 = 12;
    Reopen();
    EXPECT_EQ(f->outSizeText(), "03");
    EXPECT_EQ(f->speedLimitText(), "0450");
    EXPECT_EQ(f->shiftText(), "007");
    EXPECT_EQ(f->directionText(), "1");
    f->chooseListedEncoder(2);
    EXPECT_EQ(f->shiftText(), "12");
    f->chooseListedEncoder(1);
    EXPECT_EQ(f->shiftText(), "007");
}

TEST_F(Functions, APhaseShiftAboveOneRevolutionIsRefused) {
    Open();
    p.EncShift = 100;
    f->changeShift("1024");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(p.EncShift, 1024);
    f->changeShift("1025");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(p.EncShift, 1024);
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"The phase shift must not exceed 1024"});
    EXPECT_EQ(f->shiftText(), "1025");  // the field keeps the typed text
    // Closing with the refused value still in the field: told once more only if it changed.
    f->close();
    EXPECT_EQ(p.EncShift, 1024);
    EXPECT_EQ(prompt.messages().size(), 1u);
}

TEST_F(Functions, ARefusedShiftLeftInTheFieldAtClosingIsTold) {
    Open();
    p.EncShift = 100;
    f->changeShift("2000");
    f->close();  // the cursor never left the field
    EXPECT_EQ(p.EncShift, 100);
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"The phase shift must not exceed 1024"});
}

TEST_F(Functions, ClosingStoresTheFieldsIntoTheListedEncoder) {
    Open(32, 2);
    f->chooseListedEncoder(2);
    f->changeShift("300");
    f->changeDirection("1");
    f->changeOutSize("4");
    f->changeSpeedLimit("450");
    f->close();  // with the cursor still in the shift field
    EXPECT_EQ(p.EncShift2, 300);
    EXPECT_EQ(p.RotDir2, 1);
    EXPECT_EQ(p.EncShift, 0);
    EXPECT_EQ(p.RotDir, 0);
    EXPECT_EQ(p.OutSize, 4);
    EXPECT_EQ(p.SpeedLimit, 450);
    // Typed for encoder 2, then encoder 1 listed: the text went to encoder 2.
    Reopen();
    f->chooseListedEncoder(2);
    f->changeShift("9");
    f->chooseListedEncoder(1);
    EXPECT_EQ(p.EncShift2, 9);
    EXPECT_EQ(f->shiftText(), "000");
}

TEST_F(Functions, SwitchesReachTheTablesWhenTheWindowCloses) {
    Open();
    Advances("4");
    f->clickDelays(true);
    f->clickRatio25(true);
    EXPECT_EQ(p.AdvOn, 0);
    EXPECT_EQ(p.DelayOn, 0);
    EXPECT_EQ(p.NAdvCams, 4);  // at once
    f->close();
    EXPECT_EQ(p.AdvOn, 1);
    EXPECT_EQ(p.DelayOn, 1);
    EXPECT_EQ(p.RatioOn, 1);
    EXPECT_EQ(p.Ratio17On, 0);
    // Nothing changes after closing.
    f->clickAdvances(false);
    EXPECT_EQ(p.NAdvCams, 4);
}

TEST_F(Functions, AnEditIsUnsavedWorkAndOpeningAloneIsNot) {
    Open();
    p.NAdvCams = 9;  // dropped by opening without AdvOn: no edit of the user's
    p.OutSize = 9;   // above 7 sizes: shown corrected
    p.FileSaved = true;
    Reopen();
    f->close();
    EXPECT_TRUE(p.FileSaved);
    Reopen();
    Advances("2");
    f->selectRow(1);
    f->moveSlider(30);
    f->close();
    EXPECT_FALSE(p.FileSaved);
    // A change taken back is no change.
    p.FileSaved = true;
    Reopen();
    f->selectRow(1);
    f->moveSlider(31);
    f->moveSlider(30);
    f->close();
    EXPECT_TRUE(p.FileSaved);
    // Already unsaved stays unsaved.
    p.FileSaved = false;
    Reopen();
    f->close();
    EXPECT_FALSE(p.FileSaved);
}

TEST_F(Functions, AValueStillBeingTypedIsKeptAtClosing) {
    Open();
    Advances("3");
    f->selectRow(2);
    f->typeEntry("25");
    EXPECT_EQ(p.AdvMs[2], 0);
    f->close();
    EXPECT_EQ(p.AdvMs[2], 25);
    // Typing then moving the slider: the slider's value stands.
    Reopen();
    f->selectRow(2);
    f->typeEntry("99");
    f->moveSlider(40);
    f->close();
    EXPECT_EQ(p.AdvMs[2], 40);
}

TEST_F(Functions, TheOkButtonIsDefaultExceptInTheFields) {
    Open();
    EXPECT_TRUE(f->okDefault());
    f->focusField(cam::FuncField::Shift);
    EXPECT_FALSE(f->okDefault());
    f->leaveField(cam::FuncField::Shift);
    EXPECT_FALSE(f->okDefault());
    f->focusField(cam::FuncField::OutSize);
    f->leaveField(cam::FuncField::OutSize);
    EXPECT_TRUE(f->okDefault());
}

TEST(FunctionsEntry, BackspaceWidensTheSelectionToTheLeft) {
    EXPECT_EQ(cam::BackspaceSelection({2, 0}).start, 1);
    EXPECT_EQ(cam::BackspaceSelection({2, 0}).length, 1);
    EXPECT_EQ(cam::BackspaceSelection({1, 1}).length, 2);
    EXPECT_EQ(cam::BackspaceSelection({0, 3}).start, 0);
    EXPECT_EQ(cam::BackspaceSelection({0, 3}).length, 3);
    EXPECT_TRUE(cam::IsDigitText("0123"));
    EXPECT_TRUE(cam::IsDigitText(""));
    EXPECT_FALSE(cam::IsDigitText("12a"));
    EXPECT_FALSE(cam::IsDigitText("-1"));
}

}  // namespace
