// The functions window's form model from opening to closing: activation from the tables,
// the encoders, the setting fields and what closing stores.
#include "functions_fixture.h"

namespace {

using namespace camtest;

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

// A phase shift above one revolution is refused, leaving the field as typed; closing with a
// refused value in the field tells once more only if the field changed since.
TEST_F(Functions, APhaseShiftAboveOneRevolutionIsRefused) {
    Open();
    p.EncShift = 100;
    const std::vector<std::string> refused{"The phase shift must not exceed 1024"};
    f->changeShift("2000");
    f->close();  // the cursor never left the field
    EXPECT_EQ(p.EncShift, 100);
    EXPECT_EQ(prompt.messages(), refused);
    prompt.clear();
    Reopen();
    f->changeShift("1024");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(p.EncShift, 1024);
    f->changeShift("1025");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(p.EncShift, 1024);
    EXPECT_EQ(prompt.messages(), refused);
    EXPECT_EQ(f->shiftText(), "1025");
    f->close();
    EXPECT_EQ(p.EncShift, 1024);
    EXPECT_EQ(prompt.messages().size(), 1u);
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

    // A value still being typed is kept at closing.
    Reopen();
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

TEST(FunctionsEntry, BackspaceWidensTheSelectionToTheLeft) {
    EXPECT_EQ(cam::BackspaceSelection({2, 0}).start, 1);
    EXPECT_EQ(cam::BackspaceSelection({2, 0}).length, 1);
    EXPECT_EQ(cam::BackspaceSelection({1, 1}).length, 2);
    EXPECT_EQ(cam::BackspaceSelection({0, 3}).start, 0);
    EXPECT_EQ(cam::BackspaceSelection({0, 3}).length, 3);
}

}  // namespace
