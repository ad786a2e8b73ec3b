// The size show's run: the lamps, the steps a tick makes, STOP and START, the hand and the speed.
#include "core/tools/size_show.h"

#include "support/make_program.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using cam::SizeShow;
using Ints = std::vector<int>;

std::vector<bool> Lit(std::initializer_list<int> cams, int count = 32) {
    std::vector<bool> out(count, false);
    for (int c : cams) out[c] = true;
    return out;
}

TEST(ShowLamps, FollowTheChartAtThePosition) {
    cam::Program p = camtest::MakeProgram(32, 7);
    ASSERT_TRUE(cam::SetPhase(p, 2, 0, 100, 200));
    ASSERT_TRUE(cam::SetPhase(p, 2, 4, 900, 50));  // through position 0
    ASSERT_TRUE(cam::SetPhase(p, 2, 31, 0, 1024));
    ASSERT_TRUE(cam::SetPhase(p, 3, 1, 100, 200));  // another size
    const std::vector<std::tuple<int, int, std::vector<bool>>> rows = {
        // size, position, lamps lit
        {2, 99, Lit({31})},    {2, 100, Lit({0, 31})}, {2, 199, Lit({0, 31})},  {2, 200, Lit({31})},
        {2, 899, Lit({31})},   {2, 900, Lit({4, 31})}, {2, 1023, Lit({4, 31})}, {2, 0, Lit({4, 31})},
        {2, 49, Lit({4, 31})}, {2, 50, Lit({31})},     {3, 150, Lit({1})}};
    for (const auto& [size, pos, lit] : rows) EXPECT_EQ(cam::ShowLampsAt(p, size, pos), lit) << size << "@" << pos;
}

TEST(ShowLamps, OnlyTheModelsCamsAndNothingOutsideTheTables) {
    cam::Program p = camtest::MakeProgram(16, 7);
    ASSERT_TRUE(cam::SetPhase(p, 1, 15, 0, 1024));
    EXPECT_EQ(cam::ShowLampsAt(p, 1, 5), Lit({15}, 16));
    for (auto [size, pos] : std::vector<std::pair<int, int>>{{8, 5}, {1, 1024}, {1, -1}})
        EXPECT_EQ(cam::ShowLampsAt(p, size, pos), Lit({}, 16)) << size << "@" << pos;
}

TEST(ShowRun, ALampLitForExactlyItsStepsOfEveryTurn) {
    cam::Program p = camtest::MakeProgram(32, 7);
    ASSERT_TRUE(cam::SetPhase(p, 1, 0, 100, 200));
    SizeShow run;
    run.Start();
    Ints litAt, expected;  // the positions where the lamp is lit, tick after tick
    for (int turn = 0; turn < 2; ++turn)
        for (int q = 100; q < 200; ++q) expected.push_back(q);
    for (int step = 0; step < 2 * 1024; ++step) {
        ASSERT_EQ(run.Tick(0, 1000), 1);  // a tick comes at least with one step
        if (cam::ShowLampsAt(p, 1, run.position())[0]) litAt.push_back(run.position());
    }
    EXPECT_EQ(std::tuple(litAt, run.position()), std::tuple(expected, 0));
    EXPECT_EQ((std::vector<long>{run.TakeSteps(), run.TakeSteps()}), (std::vector<long>{2048, 0}));
}

TEST(ShowRun, StopAt500AndStartGoesOnFrom500) {
    SizeShow run(495);
    EXPECT_EQ((Ints{run.running(), run.Tick(1000, 1000)}), (Ints{0, 0}));  // stopped: no steps
    run.Start();
    for (int i = 0; i < 5; ++i) run.Tick(0, 1000);
    run.Stop();
    EXPECT_EQ((Ints{run.position(), run.Tick(1000, 2000), run.position()}), (Ints{500, 0, 500}));
    run.Start();
    EXPECT_EQ((Ints{run.position(), run.Tick(0, 1000), run.position()}), (Ints{500, 1, 501}));
    // Positions given from outside are kept on the dial.
    run.SetPosition(5000);
    EXPECT_EQ(run.position(), 1023);
    run.SetPosition(-3);
    EXPECT_EQ(run.position(), 0);
}

TEST(ShowSpeed, SlowestVisiblySlowFastestOneFrameATick) {
    for (auto [speed, steps] : {std::pair{0, 2.0}, {2000, 7680.0}})
        EXPECT_DOUBLE_EQ(cam::ShowStepsPerSecond(speed), steps);
    EXPECT_NEAR(cam::ShowStepsPerSecond(1000), 2 * std::sqrt(3840.0), 1e-9);
    for (int v = 0; v < 2000; v += 50) EXPECT_LT(cam::ShowStepsPerSecond(v), cam::ShowStepsPerSecond(v + 50));
    // Slow: a tick per step. Fast: a tick per screen frame, never faster.
    // At 400: 2 x 3840^0.2 = 10.4 steps a second, 96 ms a step.
    EXPECT_EQ((Ints{cam::ShowTickMs(0, 16), cam::ShowTickMs(2000, 16), cam::ShowTickMs(1000, 16),
                    cam::ShowTickMs(400, 16), cam::ShowTickMs(2000, 0)}),
              (Ints{500, 16, 16, 96, 1}));
}

TEST(ShowSpeed, ATickMakesTheStepsDueAndCarriesTheRest) {
    SizeShow run;
    run.Start();
    // 7680 steps a second: 16 ms owe 122.88 steps, 123 now and the rest carried.
    EXPECT_EQ(run.Tick(16, 2000), 123);
    long total = 123;
    for (int i = 0; i < 99; ++i) total += run.Tick(16, 2000);
    EXPECT_NEAR(double(total), 7680 * 1.6, 1.0);
    // A stalled screen (ten seconds) does not make the hand race: a quarter second at most.
    EXPECT_LE(run.Tick(10000, 2000), 7680 / 4 + 1);
    // The position wraps past 1023.
    SizeShow wrap(1020);
    wrap.Start();
    for (int i = 0; i < 4; ++i) wrap.Tick(0, 0);
    EXPECT_EQ(wrap.position(), 0);
}

TEST(ShowSpeed, RevolutionsPerMinuteInFourDigits) {
    // steps, milliseconds that really passed, shown; 17 steps a second are under a revolution a minute
    const std::vector<std::tuple<long, long, std::string>> cases = {
        {1024, 1000, "0060"}, {0, 1000, "0000"}, {7680, 1000, "0450"},   {512, 500, "0060"},
        {17, 1000, "0000"},   {100, 0, "0000"},  {204800, 1000, "12000"}};
    for (const auto& [steps, ms, rpm] : cases) EXPECT_EQ(cam::ShowRpmText(steps, ms), rpm) << steps << "/" << ms;
}

TEST(ShowHand, OneTurnPer1024PositionsFromTheRightCounterClockwise) {
    const auto at = [](int pos) { return cam::ShowHandEnd(64, 64, 63.5, pos); };
    EXPECT_NEAR(at(0).x, 127.5, 1e-9);
    EXPECT_NEAR(at(0).y, 64, 1e-9);
    EXPECT_NEAR(at(256).x, 64, 1e-9);
    EXPECT_NEAR(at(256).y, 0.5, 1e-9);  // up
    EXPECT_NEAR(at(512).x, 0.5, 1e-9);
    EXPECT_NEAR(at(768).y, 127.5, 1e-9);
    EXPECT_NEAR(at(1023).y, 64 + 63.5 * std::sin(2 * 3.14159265358979 / 1024), 1e-9);
}

}  // namespace
