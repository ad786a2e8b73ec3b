// The advance computation: effective advance, milliseconds for a wanted advance with its
// step-down, the shifted pattern and the window's opening.
#include "core/tools/advance_calc.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

namespace {

using cam::Revolution;

TEST(AdvanceCalc, EffectiveAdvanceIsSplitByTheRevolutionOf1024) {
    EXPECT_EQ(cam::EffectiveAdvance(1000, 100), 600);
    EXPECT_EQ(cam::EffectiveAdvance(4000, 210), 5040);
    EXPECT_EQ(cam::SplitAdvance(5040).within, 944);
    EXPECT_EQ(cam::SplitAdvance(5040).turns, 4);
    EXPECT_EQ(cam::SplitAdvance(600).turns, 0);
    EXPECT_EQ(cam::EffectiveAdvance(1, 200), 1);  // Int(0.006 * 200)
    for (int rpm : {1, 777, 4000}) EXPECT_EQ(cam::EffectiveAdvance(rpm, 0), 0);
    // The product in its order: (345 * 0.006) * 100 is 206.99999999999997, which the other
    // order (345 * 0.6 = 207) would not give.
    EXPECT_EQ(cam::EffectiveAdvance(345, 100), 206);
}

TEST(AdvanceCalc, TheWantedAdvanceStepsDownUntilItsTimeFits) {
    EXPECT_EQ(cam::MsForAdvance(360, 100), 600);
    const cam::SettledAdvance s = cam::SettleWantedAdvance(360, 100);
    EXPECT_EQ(s.wanted, 126);
    EXPECT_EQ(s.ms, 210);
    EXPECT_EQ(cam::MsForAdvance(127, 100), 211);
    // A wanted advance of 1 always fits, even at the lowest speed.
    EXPECT_EQ(cam::SettleWantedAdvance(360, 1).wanted, 1);
    EXPECT_EQ(cam::SettleWantedAdvance(360, 1).ms, 167);
    // The nearest whole number before the division: 3 * 166.6666666667 = 500.0000000001 -> 500.
    EXPECT_EQ(cam::MsForAdvance(3, 1), 500);
    EXPECT_EQ(cam::MsForAdvance(360, 4000), 15);
}

TEST(AdvanceCalc, ThePatternMovesTowardsPositionZero) {
    Revolution pattern{};
    for (int q = 1000; q < 1024; ++q) pattern[q] = 1;
    for (int q = 0; q < 24; ++q) pattern[q] = 1;
    const Revolution shifted = cam::ShiftPattern(pattern, 30);
    // The wrapping run 1000..23 becomes the single run 970..1017.
    for (int q = 0; q < 1024; ++q) EXPECT_EQ(shifted[q], q >= 970 && q <= 1017 ? 1 : 0) << q;
    EXPECT_EQ(cam::ShiftPattern(pattern, 0), pattern);
    EXPECT_EQ(cam::ShiftPattern(pattern, 1024), pattern);
}

TEST(AdvanceForm, OpensOnTheCurrentCamAtSpeedOne) {
    cam::Program p = camtest::MakeProgram(32, 7);
    p.CurSize = 5;
    p.CurCam = 2;
    p.AdvMs[2] = 200;
    cam::SetPhase(p, 5, 2, 100, 300);
    cam::AdvanceForm f(p);
    EXPECT_EQ(f.frameText(), "S05C03");  // the built-in words: SIZE and CAM
    EXPECT_EQ(f.rpm(), 1);
    EXPECT_EQ(f.ms(), 200);
    EXPECT_EQ(f.withinText(), "1");
    EXPECT_EQ(f.turnsText(), "0");
    EXPECT_EQ(f.programmed()[100], 1);
    EXPECT_EQ(f.AdvPos()[99], 1);  // shifted by the effective advance of 1
    EXPECT_EQ(f.AdvPos()[299], 0);
    // The language script's words give the letters.
    p.LngTxt[74] = "FORMATO ";
    p.LngTxt[69] = "CAMMA ";
    EXPECT_EQ(cam::AdvanceForm(p).frameText(), "F05C03");
    // A stored advance above the range starts at 210.
    p.AdvMs[2] = 250;
    const cam::AdvanceForm above(p);
    EXPECT_EQ(above.ms(), 210);
    EXPECT_EQ(above.msText(), "210");
    EXPECT_EQ(p.AdvMs[2], 250);  // the window changes no table
}

TEST(AdvanceForm, SlidersComputeBothWays) {
    cam::Program p = camtest::MakeProgram(32, 7);
    p.CurCam = 0;
    cam::SetPhase(p, 1, 0, 1000, 24);
    cam::AdvanceForm f(p);
    EXPECT_EQ(f.AdvPos(), f.programmed());  // 0 ms: the pattern as programmed
    f.setRpm(4000);
    f.setMs(210);
    EXPECT_EQ(f.rpmText(), "4000");
    EXPECT_EQ(f.withinText(), "944");
    EXPECT_EQ(f.turnsText(), "4");
    // The wanted advance shows itself and the milliseconds it needs, stepped down to fit.
    f.setRpm(100);
    f.setWanted(360);
    EXPECT_EQ(f.wanted(), 126);
    EXPECT_EQ(f.msText(), "210");
    f.setMs(100);
    f.setWanted(30);
    EXPECT_EQ(f.msText(), "50");
    EXPECT_EQ(f.ms(), 100);  // the milliseconds slider itself has not moved
    EXPECT_EQ(f.AdvPos(), cam::ShiftPattern(f.programmed(), 30));
    // Entering the milliseconds slider takes the milliseconds shown, which computes again.
    f.focusMs();
    EXPECT_EQ(f.ms(), 50);
    EXPECT_EQ(f.withinText(), "30");  // Int(0.6 * 50)
    // Out of range values are held at the slider's ends.
    f.setRpm(0);
    EXPECT_EQ(f.rpm(), 1);
    f.setMs(500);
    EXPECT_EQ(f.ms(), 210);
}

TEST(AdvanceForm, ACamOutsideTheTablesShowsNothing) {
    cam::Program p = camtest::MakeProgram(16, 15);
    p.CurCam = 40;
    p.CurSize = 99;
    cam::AdvanceForm f(p);
    EXPECT_EQ(f.ms(), 0);
    EXPECT_EQ(f.programmed(), Revolution{});
}

}  // namespace
