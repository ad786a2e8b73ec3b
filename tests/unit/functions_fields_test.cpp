// The functions form from opening to closing: activation, the encoders, the fields and what closing stores.
#include "functions_fixture.h"

#include <tuple>

namespace {

using namespace camtest;

// Closing stores what activation showed.
TEST_F(Functions, ActivationTakesTheSwitchesTheModelAllows) {
    struct Case {
        int cams, encoders, advOn, count, delayOn, ratioOn, ratio17On;
        const char* shown;  // advances, count, the block switches
        Ints closed;        // AdvOn, NAdvCams, DelayOn, RatioOn, Ratio17On, NEncoders
    };
    const Case cases[] = {
        // Without AdvOn the count does not survive; no encoder counts as one.
        {32, 0, 0, 5, 0, 0, 0, "off 0 ---", {0, 0, 0, 0, 0, 1}},
        // With 18 advances the delays cannot stay.
        {32, 1, 1, 18, 1, 1, 0, "on 18 xx+", {1, 18, 0, 1, 0, 1}},
        // Delays and ratios held with several encoders do not cover the advance groups.
        {32, 2, 1, 4, 1, 1, 0, "on 4 xxx", {1, 4, 0, 0, 0, 2}},
        // 16 cams: advances on from the count, and no delays or ratios.
        {16, 1, 0, 3, 1, 0, 1, "on 3 xxx", {1, 3, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        p = camtest::MakeProgram(c.cams, 7, c.encoders);
        std::tie(p.AdvOn, p.NAdvCams, p.DelayOn, p.RatioOn, p.Ratio17On) =
            std::tie(c.advOn, c.count, c.delayOn, c.ratioOn, c.ratio17On);
        Reopen();
        EXPECT_EQ(std::string(f->advances().checked ? "on " : "off ") + f->countText() + " " + Switches(), c.shown);
        EXPECT_EQ(f->takeFocusRequest(), cam::FocusRequest::None);
        f->close();
        EXPECT_EQ((Ints{p.AdvOn, p.NAdvCams, p.DelayOn, p.RatioOn, p.Ratio17On, p.NEncoders}), c.closed);
    }
}

TEST_F(Functions, SettingFieldsAreCorrectedAsTyped) {
    Open();
    const auto shown = [](cam::FieldText t) { return t.text + (t.selectAll ? " selected" : ""); };
    EXPECT_EQ((Strings{shown(f->changeOutSize("")), shown(f->changeOutSize("9")), f->changeOutSize("5").text}),
              (Strings{"00 selected", "07", "5"}));  // 7 sizes
    EXPECT_EQ((Strings{f->changeSpeedLimit("").text, f->changeSpeedLimit("12000").text, f->changeDirection("").text,
                       f->changeDirection("3").text}),
              (Strings{"0000", "9999", "0", "1"}));
}

TEST_F(Functions, LoadingShowsTheFieldsInTheirForms) {
    p = camtest::MakeProgram(32, 7, 2);
    std::tie(p.OutSize, p.SpeedLimit, p.EncShift, p.RotDir, p.EncShift2) = std::tuple(3, 450, 7, 1, 12);
    Reopen();
    EXPECT_EQ((Strings{f->outSizeText(), f->speedLimitText(), f->shiftText(), f->directionText()}),
              (Strings{"03", "0450", "007", "1"}));
    f->chooseListedEncoder(2);
    EXPECT_EQ((Strings{f->shiftText(), f->directionText()}), (Strings{"12", "0"}));
    f->chooseListedEncoder(1);
    EXPECT_EQ(f->shiftText(), "007");
}

// Closing with a refused value in the field tells once more only if the field changed since.
TEST_F(Functions, APhaseShiftAboveOneRevolutionIsRefused) {
    Open();
    p.EncShift = 100;
    const std::vector<std::string> refused{"The phase shift must not exceed 1024"};
    f->changeShift("2000");
    f->close();  // the cursor never left the field
    EXPECT_EQ(std::tuple(p.EncShift, prompt.messages()), std::tuple(100, refused));
    prompt.clear();
    Reopen();
    f->changeShift("1024");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(p.EncShift, 1024);
    f->changeShift("1025");
    f->leaveField(cam::FuncField::Shift);
    EXPECT_EQ(std::tuple(p.EncShift, prompt.messages(), f->shiftText()), std::tuple(1024, refused, "1025"));
    f->close();
    EXPECT_EQ(std::tuple(p.EncShift, prompt.messages().size()), std::tuple(1024, 1u));
}

TEST_F(Functions, ClosingStoresTheFieldsIntoTheListedEncoder) {
    Open(32, 2);
    f->chooseListedEncoder(2);
    f->changeShift("300");
    f->changeDirection("1");
    f->changeOutSize("4");
    f->changeSpeedLimit("450");
    f->close();  // with the cursor still in the shift field
    EXPECT_EQ((Ints{p.EncShift2, p.RotDir2, p.EncShift, p.RotDir, p.OutSize, p.SpeedLimit}),
              (Ints{300, 1, 0, 0, 4, 450}));
    // Typed for encoder 2, then encoder 1 listed: the text went to encoder 2.
    Reopen();
    f->chooseListedEncoder(2);
    f->changeShift("9");
    f->chooseListedEncoder(1);
    EXPECT_EQ(std::tuple(p.EncShift2, f->shiftText()), std::tuple(9, "000"));
}

TEST_F(Functions, SwitchesReachTheTablesWhenTheWindowCloses) {
    Open();
    Advances("4");
    f->clickDelays(true);
    f->clickRatio25(true);
    EXPECT_EQ((Ints{p.AdvOn, p.DelayOn, p.NAdvCams}), (Ints{0, 0, 4}));  // the count at once
    f->close();
    EXPECT_EQ((Ints{p.AdvOn, p.DelayOn, p.RatioOn, p.Ratio17On}), (Ints{1, 1, 1, 0}));
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
    for (auto [start, length, wantStart, wantLength] : {std::array{2, 0, 1, 1}, {1, 1, 0, 2}, {0, 3, 0, 3}}) {
        const auto s = cam::BackspaceSelection({start, length});
        EXPECT_EQ((Ints{s.start, s.length}), (Ints{wantStart, wantLength})) << start << "+" << length;
    }
}

}  // namespace
