#include "core/model/program.h"
#include "core/editor/phase_list.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

using namespace cam;
using camtest::MakeProgram;

namespace {

using Runs_t = std::vector<std::pair<int, int>>;
using Ints = std::vector<int>;

// The ON runs of a cam, as (first, last) inclusive, scanned without wrapping.
Runs_t Runs(const Program& p, int size, int cam) {
    Runs_t out;
    const auto* pos = p.CamPos.cam(size, cam);
    for (int q = 0; q < kPositions; ++q) {
        if (pos[q] && (q == 0 || !pos[q - 1])) out.push_back({q, q});
        if (pos[q]) out.back().second = q;
    }
    return out;
}

TEST(SetPhase, RunReplacementRuleAndNothingOutsideTheTables) {
    // Phases written in this order (on, off), and the ON runs they leave.
    const std::vector<std::pair<Runs_t, Runs_t>> cases = {
        {{{100, 200}}, {{100, 199}}},
        {{{100, 200}, {150, 300}}, {{150, 299}}},  // the overlapped phase is removed
        {{{100, 300}, {300, 400}}, {{300, 399}}},  // starting where another ends removes it too
        {{{0, 50}, {50, 100}}, {{50, 99}}},        // down to position 0 itself
        {{{1000, 24}}, {{0, 23}, {1000, 1023}}},
        {{{0, 50}, {1000, 0}}, {{1000, 1023}}},  // clears the phase starting at 0
        {{{100, 200}, {150, 150}}, {}},          // on = off deletes the phase
        {{{100, 200}, {200, 200}}, {}},
        {{{1000, 24}, {1000, 1000}}, {{0, 23}}},  // the part past 0 is a run of its own
        {{{0, 1024}}, {{0, 1023}}},               // whole revolution
    };
    for (const auto& [phases, runs] : cases) {
        Program p = MakeProgram();
        for (auto [on, off] : phases) EXPECT_TRUE(SetPhase(p, 1, 0, on, off));
        EXPECT_EQ(Runs(p, 1, 0), runs) << phases.back().first << "-" << phases.back().second;
    }
    // Nothing outside the tables is written.
    Program p = MakeProgram(16, 15);
    const std::array<int, 4> refused[] = {{0, 0, 1, 2},    {16, 0, 1, 2},   {1, 16, 1, 2}, {1, -1, 1, 2},
                                          {1, 0, 1024, 2}, {1, 0, 1, 1025}, {1, 0, -1, 2}};
    for (auto [size, cam, on, off] : refused)
        EXPECT_FALSE(SetPhase(p, size, cam, on, off)) << size << " " << cam << " " << on << " " << off;
    for (int s = 1; s <= 15; ++s)
        for (int c = 0; c < 16; ++c) EXPECT_TRUE(Runs(p, s, c).empty());
}

TEST(Tables, ResizeKeepsWhatRemainsClearFunctionsKeepsCountsClearAllResetsSelection) {
    Program p = MakeProgram();
    SetPhase(p, 7, 31, 1, 2);
    std::tie(p.CamRemark[3], p.CamRemark[20], p.AdvMs[2]) = std::tuple("kept", "dropped", 9);
    ResizeTables(p);  // unchanged bounds still clear every position
    EXPECT_TRUE(Runs(p, 7, 31).empty());
    std::tie(p.NCams, p.NSizes) = std::tuple(16, 60);
    ResizeTables(p);
    EXPECT_EQ((Ints{p.CamPos.sizes(), p.CamPos.cams(), int(p.CamRemark.size()), p.AdvMs[2]}), (Ints{60, 16, 16, 9}));
    EXPECT_EQ(p.CamRemark[3], "kept");
    p.NCams = 32;
    ResizeTables(p);
    EXPECT_EQ(p.CamRemark[20], "");
    p = MakeProgram();
    p.AdvOn = p.DelayOn = p.RatioOn = p.Ratio17On = p.RotDir = p.RotDir2 = 1;
    p.EncShift = p.EncShift2 = p.EncShift3 = 10;
    std::tie(p.NAdvCams, p.AdvMs[4], p.SpeedLimit, p.NEncoders, p.OutSize) = std::tuple(5, 7, 99, 2, 3);
    ClearFunctions(p);
    EXPECT_EQ(p.AdvOn + p.DelayOn + p.RatioOn + p.Ratio17On + p.OutSize + p.AdvMs[4], 0);
    EXPECT_EQ((Ints{p.EncShift, p.RotDir, p.SpeedLimit}), (Ints{0, 0, 0}));
    EXPECT_EQ((Ints{p.NAdvCams, p.EncShift2, p.RotDir2, p.NEncoders}), (Ints{5, 10, 1, 2}));
    SetPhase(p, 3, 4, 10, 20);
    std::tie(p.CamRemark[4], p.CurCam, p.CurSize) = std::tuple("x", 5, 3);
    ClearAll(p);
    EXPECT_EQ(std::tuple(Runs(p, 3, 4), p.CamRemark[4], p.CurCam, p.CurSize), std::tuple(Runs_t{}, "", 0, 1));
}

// Phase list entries in the chart's order and layout.
std::vector<std::string> Entries(std::initializer_list<std::pair<int, int>> onRuns) {
    Program p = MakeProgram();
    for (auto [a, b] : onRuns)
        for (int q = a; q <= b; ++q) p.CamPos(1, 0, q) = 1;
    return PhaseListEntries(p, 1, 0);
}
using E = std::vector<std::string>;

TEST(PhaseList, EntriesInChartOrderNumberedToThreeDigits) {
    EXPECT_EQ(Entries({{0, 49}, {900, 1023}}), (E{"F001 0900 0050"}));
    EXPECT_EQ(Entries({{0, 99}, {300, 399}}), (E{"F001 0000 0100", "F002 0300 0400"}));
    EXPECT_EQ(Entries({{300, 399}, {900, 1023}}), (E{"F001 0900 0000", "F002 0300 0400"}));
    EXPECT_EQ(Entries({{0, 1023}}), (E{"F001 0000 1024"}));
    EXPECT_EQ(Entries({{1022, 1022}}), (E{"F001 1022 1023"}));
    Program p = MakeProgram();
    for (int q = 1; q < kPositions - 1; q += 2) p.CamPos(1, 0, q) = 1;  // 511 phases of one position
    auto e = PhaseListEntries(p, 1, 0);
    ASSERT_EQ(e.size(), 511u);
    EXPECT_EQ((E{e[9], e[99]}), (E{"F010 0019 0020", "F100 0199 0200"}));
    p.CamPos(1, 0, 1023) = 1;  // an edge phase is listed first and shifts the numbers
    e = PhaseListEntries(p, 1, 0);
    EXPECT_EQ((E{e[0], e[1]}), (E{"F001 1023 0000", "F002 0001 0002"}));
}

}  // namespace
