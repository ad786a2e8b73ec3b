// The advance computation, its shifted pattern and the window's form.
#include "core/tools/advance_calc.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

namespace {

using cam::Revolution;
using Longs = std::vector<long>;

TEST(AdvanceCalc, EffectiveAdvanceIsSplitByTheRevolutionOf1024) {
    // rpm, ms, the advance. 1 x 200: Int(0.006 * 200). 345 x 100: the product in its order,
    // (345 * 0.006) * 100 is 206.99999999999997, which the other order (345 * 0.6 = 207) would not give.
    for (auto [rpm, ms, advance] : std::vector<std::array<int, 3>>{
             {1000, 100, 600}, {4000, 210, 5040}, {1, 200, 1}, {345, 100, 206}, {1, 0, 0}, {777, 0, 0}, {4000, 0, 0}})
        EXPECT_EQ(cam::EffectiveAdvance(rpm, ms), advance) << rpm << " x " << ms;
    EXPECT_EQ((Longs{cam::SplitAdvance(5040).within, cam::SplitAdvance(5040).turns, cam::SplitAdvance(600).turns}),
              (Longs{944, 4, 0}));
}

TEST(AdvanceCalc, TheWantedAdvanceStepsDownUntilItsTimeFits) {
    // 3 at 1 rpm: the nearest whole number before the division, 3 * 166.6666666667 = 500.0000000001 -> 500.
    EXPECT_EQ((Longs{cam::MsForAdvance(360, 100), cam::MsForAdvance(127, 100), cam::MsForAdvance(3, 1),
                     cam::MsForAdvance(360, 4000)}),
              (Longs{600, 211, 500, 15}));
    // Wanted and milliseconds settled at 100 rpm, then at 1 rpm, where a wanted advance of 1 always fits.
    const cam::SettledAdvance at100 = cam::SettleWantedAdvance(360, 100), at1 = cam::SettleWantedAdvance(360, 1);
    EXPECT_EQ((Longs{at100.wanted, at100.ms, at1.wanted, at1.ms}), (Longs{126, 210, 1, 167}));
}

TEST(AdvanceCalc, ThePatternMovesTowardsPositionZero) {
    Revolution pattern{};
    for (int q = 1000; q != 24; q = (q + 1) % 1024) pattern[q] = 1;
    const Revolution shifted = cam::ShiftPattern(pattern, 30);
    // The wrapping run 1000..23 becomes the single run 970..1017.
    for (int q = 0; q < 1024; ++q) EXPECT_EQ(shifted[q], q >= 970 && q <= 1017 ? 1 : 0) << q;
    for (int by : {0, 1024}) EXPECT_EQ(cam::ShiftPattern(pattern, by), pattern) << by;
}

TEST(AdvanceForm, OpensOnTheCurrentCamAtSpeedOne) {
    cam::Program p = camtest::MakeProgram(32, 7);
    std::tie(p.CurSize, p.CurCam, p.AdvMs[2]) = std::tuple(5, 2, 200);
    cam::SetPhase(p, 5, 2, 100, 300);
    cam::AdvanceForm f(p);
    EXPECT_EQ(std::tuple(f.frameText(), f.rpm(), f.ms(), f.withinText(), f.turnsText()),
              std::tuple("S05C03", 1, 200, "1", "0"));  // S and C: the built-in words SIZE and CAM
    EXPECT_EQ((Longs{f.programmed()[100], f.AdvPos()[99], f.AdvPos()[299]}), (Longs{1, 1, 0}));  // shifted by 1
    // The language script's words give the letters.
    std::tie(p.LngTxt[74], p.LngTxt[69]) = std::tuple("FORMATO ", "CAMMA ");
    EXPECT_EQ(cam::AdvanceForm(p).frameText(), "F05C03");
    // A stored advance above the range starts at 210.
    p.AdvMs[2] = 250;
    const cam::AdvanceForm above(p);
    EXPECT_EQ(std::tuple(above.ms(), above.msText(), int(p.AdvMs[2])),
              std::tuple(210, "210", 250));  // no table changes
}

TEST(AdvanceForm, SlidersComputeBothWays) {
    cam::Program p = camtest::MakeProgram(32, 7);
    p.CurCam = 0;
    cam::SetPhase(p, 1, 0, 1000, 24);
    cam::AdvanceForm f(p);
    EXPECT_EQ(f.AdvPos(), f.programmed());  // 0 ms: the pattern as programmed
    f.setRpm(4000);
    f.setMs(210);
    EXPECT_EQ(std::tuple(f.rpmText(), f.withinText(), f.turnsText()), std::tuple("4000", "944", "4"));
    // The wanted advance shows itself and the milliseconds it needs, stepped down to fit.
    f.setRpm(100);
    f.setWanted(360);
    EXPECT_EQ(std::tuple(f.wanted(), f.msText()), std::tuple(126, "210"));
    f.setMs(100);
    f.setWanted(30);
    EXPECT_EQ(std::tuple(f.msText(), f.ms()), std::tuple("50", 100));  // the milliseconds slider itself has not moved
    EXPECT_EQ(f.AdvPos(), cam::ShiftPattern(f.programmed(), 30));
    // Entering the milliseconds slider takes the milliseconds shown, which computes again.
    f.focusMs();
    EXPECT_EQ(std::tuple(f.ms(), f.withinText()), std::tuple(50, "30"));  // Int(0.6 * 50)
    // Out of range values are held at the slider's ends.
    f.setRpm(0);
    EXPECT_EQ(f.rpm(), 1);
    f.setMs(500);
    EXPECT_EQ(f.ms(), 210);
}

TEST(AdvanceForm, ACamOutsideTheTablesShowsNothing) {
    cam::Program p = camtest::MakeProgram(16, 15);
    std::tie(p.CurCam, p.CurSize) = std::tuple(40, 99);
    cam::AdvanceForm f(p);
    EXPECT_EQ(std::tuple(f.ms(), f.programmed()), std::tuple(0, Revolution{}));
}

}  // namespace
