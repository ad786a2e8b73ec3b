// Drags on a cam's row: what a press holds, the phase a drag gives, and the cam it leaves.
#include "core/editor/cam_drag.h"

#include "core/editor/phase_list.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace cam;

namespace {

using Entries = std::vector<std::string>;
using K = DragGrip::Kind;

struct Cam {
    std::array<std::uint8_t, kPositions> pos{};
    Cam& on(int from, int to) {  // positions from..to-1, wrapping past 1023
        for (int i = from; i != to; i = (i + 1) % kPositions) pos[i] = 1;
        return *this;
    }
};

TEST(DragGrip, WhatAPressHolds) {
    Cam whole;
    whole.pos.fill(1);
    const Cam plain = Cam().on(100, 300), wrap = Cam().on(1000, 24), shortOne = Cam().on(100, 108),
              two = Cam().on(100, 200).on(205, 300);
    // name, the cam, the position pressed, what the press holds: kind, ON and length
    const std::vector<std::tuple<const char*, Cam, int, K, int, int>> rows = {
        {"middle", plain, 200, K::Whole, 100, 200},
        {"at ON", plain, 102, K::OnEnd, 100, 200},
        {"left of the bar", plain, 95, K::OnEnd, 100, 200},
        {"two from OFF", plain, 298, K::OffEnd, 100, 200},
        {"right of OFF", plain, 305, K::OffEnd, 100, 200},
        {"through zero, right part", wrap, 5, K::Whole, 1000, 48},
        {"through zero, left part", wrap, 1020, K::Whole, 1000, 48},
        {"through zero, ON", wrap, 1001, K::OnEnd, 1000, 48},
        {"through zero, OFF", wrap, 22, K::OffEnd, 1000, 48},
        {"through zero, left of ON", wrap, 995, K::OnEnd, 1000, 48},
        {"short middle", shortOne, 104, K::Whole, 100, 8},
        {"short ON", shortOne, 101, K::OnEnd, 100, 8},
        {"short OFF", shortOne, 107, K::OffEnd, 100, 8},
        {"short, left", shortOne, 92, K::OnEnd, 100, 8},
        {"between: nearer ON", two, 203, K::OnEnd, 205, 95},
        {"between: nearer OFF", two, 201, K::OffEnd, 100, 100},
        {"revolution, left edge", whole, 2, K::OnEnd, 0, 1024},
        {"revolution, right edge", whole, 1021, K::OffEnd, 0, 1024},
        {"revolution, middle", whole, 500, K::Whole, 0, 1024},
    };
    for (const auto& [name, cam, at, kind, on, length] : rows) {
        const DragGrip g = GripAt(cam.pos.data(), at, 9);
        EXPECT_EQ((std::array<int, 3>{g.kind, g.on, g.length}), (std::array<int, 3>{kind, on, length})) << name;
    }
    for (int at : {500, 320}) EXPECT_EQ(GripAt(plain.pos.data(), at, 9).kind, K::NewPhase) << at;  // 320: beyond reach
}

TEST(DragPhase, ThePhaseADragGives) {
    const DragGrip none, on{K::OnEnd, 100, 100}, off{K::OffEnd, 100, 100}, wrapOn{K::OnEnd, 1000, 48},
        whole{K::Whole, 950, 50};
    // name, what the press held, press, mouse, snap step, the phase given (-1: none)
    const std::vector<std::tuple<const char*, DragGrip, int, int, int, int, int>> rows = {
        {"new", none, 100, 200, 1, 100, 200},
        {"new, drawn leftwards", none, 200, 100, 1, 100, 200},
        {"new, no length", none, 100, 100, 1, -1, -1},
        {"new, to the end: OFF 0000 as listed", none, 900, 1024, 1, 900, 0},
        {"new, the whole revolution", none, 0, 1024, 1, 0, 1024},
        {"new, Shift: multiples of 8", none, 101, 203, 8, 104, 200},
        {"new, both ends snap to 104", none, 101, 103, 8, -1, -1},
        {"ON left", on, 100, 50, 1, 50, 200},
        {"ON right", on, 100, 150, 1, 150, 200},
        {"ON past OFF: one position stays", on, 100, 600, 1, 199, 200},
        {"ON to 0", on, 100, 0, 1, 0, 200},
        {"ON snaps, not the distance", on, 103, 45, 8, 40, 200},
        {"OFF right", off, 200, 400, 1, 100, 400},
        {"OFF past ON", off, 200, 0, 1, 100, 101},
        {"OFF 1024 written as 0", off, 200, 1024, 1, 100, 0},
        {"ON across zero", wrapOn, 995, 1024, 1, 5, 24},
        {"ON back across zero", wrapOn, 1000, 900, 1, 900, 24},
        {"whole by 50", whole, 974, 1024, 1, 1000, 26},
        {"whole by 100", whole, 924, 1024, 1, 26, 76},
        {"whole left by 960", whole, 975, 15, 1, 1014, 40},
        {"whole, snapped", DragGrip{K::Whole, 100, 100}, 150, 163, 8, 112, 212},
        {"whole revolution stays", DragGrip{K::Whole, 0, 1024}, 500, 700, 1, 0, 1024},
    };
    for (const auto& [name, grip, press, mouse, snap, wantOn, wantOff] : rows) {
        const DraggedPhase ph = DragPhase(grip, press, mouse, snap);
        EXPECT_EQ((ph.none ? std::pair{-1, -1} : std::pair{ph.on, ph.off}), (std::pair{wantOn, wantOff})) << name;
    }
}

TEST(DragPhase, SnapRoundsToTheNearestMultiple) {
    // value, step, snapped; halves go up
    for (auto [v, step, want] : std::vector<std::array<int, 3>>{
             {101, 8, 104}, {99, 8, 96}, {100, 8, 104}, {-3, 8, 0}, {-5, 8, -8}, {77, 1, 77}, {77, 0, 77}})
        EXPECT_EQ(SnapTo(v, step), want) << v << "/" << step;
}

Entries Listed(const Program& p, int cam) { return PhaseListEntries(p, 1, cam); }

TEST(CamDrag, DrawsMovesCancelsAndComesBack) {
    Program p = camtest::MakeProgram();
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 2, 100, 9));
    EXPECT_EQ(d.grip().kind, K::NewPhase);
    for (auto [mouse, listed] : std::vector<std::pair<int, std::string>>{
             {200, "F001 0100 0200"}, {150, "F001 0100 0150"}, {40, "F001 0040 0100"}}) {
        d.Move(p, mouse, 1);  // the cam follows the mouse, back as well
        EXPECT_EQ(Listed(p, 2), Entries{listed});
    }
    d.Cancel(p);
    EXPECT_EQ(std::tuple(Listed(p, 2), d.active()), std::tuple(Entries{}, false));
    // No drag: a move gives no phase and writes nothing.
    EXPECT_EQ((std::tuple{d.Move(p, 300, 1).none, Listed(p, 2)}), std::tuple(true, Entries{}));
    // A phase moved away and back to its place changes nothing.
    ASSERT_TRUE(SetPhase(p, 1, 5, 100, 200));
    ASSERT_TRUE(d.Begin(p, 1, 5, 150, 9));
    d.Move(p, 400, 1);
    d.Move(p, 150, 1);
    EXPECT_EQ((std::tuple{d.Finish(p).has_value(), Listed(p, 5)}), std::tuple(false, Entries{"F001 0100 0200"}));
}

// What a drag leaves in the cam: phases given, press, mouse, and the listed result.
TEST(CamDrag, TheCamADragLeaves) {
    const std::vector<std::tuple<const char*, std::vector<std::pair<int, int>>, int, int, K, Entries>> rows = {
        {"moved across zero", {{950, 1000}, {300, 400}}, 975, 1024, K::Whole, {"F001 0999 0025", "F002 0300 0400"}},
        {"ON end across zero: nothing behind", {{1000, 24}}, 1000, 1024, K::OnEnd, {"F001 0000 0024"}},
        // Moved onto its neighbour it removes it, as the same phase typed in (280-380 over 300-400) would.
        {"onto a neighbour", {{100, 200}, {300, 400}}, 150, 330, K::Whole, {"F001 0280 0380"}},
    };
    for (const auto& [name, phases, press, mouse, grip, listed] : rows) {
        SCOPED_TRACE(name);
        Program p = camtest::MakeProgram();
        for (auto [on, off] : phases) ASSERT_TRUE(SetPhase(p, 1, 0, on, off));
        CamDrag d;
        ASSERT_TRUE(d.Begin(p, 1, 0, press, 9));
        EXPECT_EQ(d.grip().kind, grip);
        d.Move(p, mouse, 1);
        // The cam listed, the drag finished, and the cam as it was at the press kept.
        EXPECT_EQ((std::tuple{Listed(p, 0), d.Finish(p).has_value(), int(d.before()[press])}),
                  std::tuple(listed, true, 1));
    }
}

TEST(CamDrag, RefusesAPlaceOutsideTheTables) {
    Program p = camtest::MakeProgram(16, 7);
    CamDrag d;
    // cam 17 of 16, size 8 of 7: no drag begins
    EXPECT_EQ((std::array{d.Begin(p, 1, 16, 100, 9), d.Begin(p, 8, 0, 100, 9), d.active()}),
              (std::array{false, false, false}));
    EXPECT_TRUE(d.Begin(p, 7, 15, 5000, 9));  // a press beyond the end holds the end
    const DraggedPhase ph = d.Move(p, 1000, 1);
    EXPECT_EQ((std::tuple{ph.none, ph.on, ph.off}), (std::tuple{false, 1000, 0}));
}

}  // namespace
