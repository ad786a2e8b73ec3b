// Drags on a cam's row: what a press holds, the phase a drag gives, and the cam it leaves.
#include "core/editor/cam_drag.h"

#include "core/editor/phase_list.h"
#include "support/make_program.h"

#include <gtest/gtest.h>

using namespace cam;

namespace {

using Entries = std::vector<std::string>;

struct Cam {
    std::array<std::uint8_t, kPositions> pos{};
    Cam& on(int from, int to) {  // positions from..to-1, wrapping past 1023
        for (int i = from; i != to; i = (i + 1) % kPositions) pos[i] = 1;
        return *this;
    }
    DragGrip grip(int at, int reach = 9) const { return GripAt(pos.data(), at, reach); }
};

void ExpectGrip(const DragGrip& g, DragGrip::Kind kind, int on, int length) {
    EXPECT_EQ(g.kind, kind);
    EXPECT_EQ(g.on, on);
    EXPECT_EQ(g.length, length);
}

TEST(DragGrip, EndsMiddleOrEmptyStretch) {
    const Cam c = Cam().on(100, 300);
    ExpectGrip(c.grip(200), DragGrip::Whole, 100, 200);
    ExpectGrip(c.grip(102), DragGrip::OnEnd, 100, 200);
    ExpectGrip(c.grip(95), DragGrip::OnEnd, 100, 200);    // just left of the bar
    ExpectGrip(c.grip(298), DragGrip::OffEnd, 100, 200);  // two from its OFF
    ExpectGrip(c.grip(305), DragGrip::OffEnd, 100, 200);
    EXPECT_EQ(c.grip(500).kind, DragGrip::NewPhase);
    EXPECT_EQ(c.grip(320).kind, DragGrip::NewPhase);  // beyond reach
}

TEST(DragGrip, APhaseThroughZeroIsOnePhase) {
    const Cam c = Cam().on(1000, 24);
    ExpectGrip(c.grip(5), DragGrip::Whole, 1000, 48);
    ExpectGrip(c.grip(1020), DragGrip::Whole, 1000, 48);
    ExpectGrip(c.grip(1001), DragGrip::OnEnd, 1000, 48);
    ExpectGrip(c.grip(22), DragGrip::OffEnd, 1000, 48);
    ExpectGrip(c.grip(995), DragGrip::OnEnd, 1000, 48);
}

TEST(DragGrip, AShortPhaseKeepsItsMiddleForTheWholePhase) {
    const Cam c = Cam().on(100, 108);
    ExpectGrip(c.grip(104), DragGrip::Whole, 100, 8);
    ExpectGrip(c.grip(101), DragGrip::OnEnd, 100, 8);
    ExpectGrip(c.grip(107), DragGrip::OffEnd, 100, 8);
    ExpectGrip(c.grip(92), DragGrip::OnEnd, 100, 8);
}

TEST(DragGrip, BetweenTwoPhasesTheNearerEndWins) {
    const Cam c = Cam().on(100, 200).on(205, 300);
    ExpectGrip(c.grip(203), DragGrip::OnEnd, 205, 95);
    ExpectGrip(c.grip(201), DragGrip::OffEnd, 100, 100);
}

TEST(DragGrip, TheWholeRevolutionHasItsEndsAtTheEdges) {
    Cam c;
    c.pos.fill(1);
    ExpectGrip(c.grip(2), DragGrip::OnEnd, 0, 1024);
    ExpectGrip(c.grip(1021), DragGrip::OffEnd, 0, 1024);
    ExpectGrip(c.grip(500), DragGrip::Whole, 0, 1024);
}

void ExpectPhase(const DraggedPhase& ph, int on, int off) {
    EXPECT_FALSE(ph.none);
    EXPECT_EQ(ph.on, on);
    EXPECT_EQ(ph.off, off);
}

TEST(DragPhase, ANewPhaseRunsBetweenPressAndMouse) {
    const DragGrip none;
    ExpectPhase(DragPhase(none, 100, 200, 1), 100, 200);
    ExpectPhase(DragPhase(none, 200, 100, 1), 100, 200);  // drawn leftwards
    EXPECT_TRUE(DragPhase(none, 100, 100, 1).none);
    ExpectPhase(DragPhase(none, 900, 1024, 1), 900, 0);   // to the end: OFF 0000 as listed
    ExpectPhase(DragPhase(none, 0, 1024, 1), 0, 1024);    // the whole revolution
    ExpectPhase(DragPhase(none, 101, 203, 8), 104, 200);  // Shift: multiples of 8
    EXPECT_TRUE(DragPhase(none, 101, 103, 8).none);       // both ends snap to 104
}

TEST(DragPhase, AnEndMovesAndNeverPassesTheOther) {
    const DragGrip on{DragGrip::OnEnd, 100, 100};
    ExpectPhase(DragPhase(on, 100, 50, 1), 50, 200);
    ExpectPhase(DragPhase(on, 100, 150, 1), 150, 200);
    ExpectPhase(DragPhase(on, 100, 600, 1), 199, 200);  // one position stays
    ExpectPhase(DragPhase(on, 100, 0, 1), 0, 200);
    ExpectPhase(DragPhase(on, 103, 45, 8), 40, 200);  // the end snaps, not the distance
    const DragGrip off{DragGrip::OffEnd, 100, 100};
    ExpectPhase(DragPhase(off, 200, 400, 1), 100, 400);
    ExpectPhase(DragPhase(off, 200, 0, 1), 100, 101);
    ExpectPhase(DragPhase(off, 200, 1024, 1), 100, 0);  // OFF 1024 is written as 0, as typed
    // An end of a phase through position 0 moves across it.
    const DragGrip wrapOn{DragGrip::OnEnd, 1000, 48};
    ExpectPhase(DragPhase(wrapOn, 995, 1024, 1), 5, 24);
    ExpectPhase(DragPhase(wrapOn, 1000, 900, 1), 900, 24);
}

TEST(DragPhase, TheWholePhaseWrapsThroughZero) {
    const DragGrip g{DragGrip::Whole, 950, 50};
    // The phase of Shift Cam's worked example: 950-1000 moved by 50 and by 100.
    ExpectPhase(DragPhase(g, 974, 1024, 1), 1000, 26);
    ExpectPhase(DragPhase(g, 924, 1024, 1), 26, 76);
    ExpectPhase(DragPhase(g, 975, 15, 1), 1014, 40);  // moved left by 960
    ExpectPhase(DragPhase(DragGrip{DragGrip::Whole, 100, 100}, 150, 163, 8), 112, 212);
    ExpectPhase(DragPhase(DragGrip{DragGrip::Whole, 0, 1024}, 500, 700, 1), 0, 1024);
}

TEST(DragPhase, SnapRoundsToTheNearestMultiple) {
    EXPECT_EQ(SnapTo(101, 8), 104);
    EXPECT_EQ(SnapTo(99, 8), 96);
    EXPECT_EQ(SnapTo(100, 8), 104);  // halves go up
    EXPECT_EQ(SnapTo(-3, 8), 0);
    EXPECT_EQ(SnapTo(-5, 8), -8);
    EXPECT_EQ(SnapTo(77, 1), 77);
    EXPECT_EQ(SnapTo(77, 0), 77);
}

Entries Listed(const Program& p, int cam) { return PhaseListEntries(p, 1, cam); }

TEST(CamDrag, DrawsMovesAndCancels) {
    Program p = camtest::MakeProgram();
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 2, 100, 9));
    EXPECT_EQ(d.grip().kind, DragGrip::NewPhase);
    d.Move(p, 200, 1);
    EXPECT_EQ(Listed(p, 2), Entries{"F001 0100 0200"});
    d.Move(p, 150, 1);  // the mouse went back: the cam follows it
    EXPECT_EQ(Listed(p, 2), Entries{"F001 0100 0150"});
    d.Move(p, 40, 1);
    EXPECT_EQ(Listed(p, 2), Entries{"F001 0040 0100"});
    d.Cancel(p);
    EXPECT_TRUE(Listed(p, 2).empty());
    EXPECT_FALSE(d.active());
    EXPECT_TRUE(d.Move(p, 300, 1).none);  // no drag: nothing written
    EXPECT_TRUE(Listed(p, 2).empty());
}

TEST(CamDrag, MovingAPhaseAcrossZeroListsItAsThePhaseThroughZero) {
    Program p = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(p, 1, 0, 950, 1000));
    ASSERT_TRUE(SetPhase(p, 1, 0, 300, 400));
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 0, 975, 9));
    EXPECT_EQ(d.grip().kind, DragGrip::Whole);
    const DraggedPhase ph = d.Move(p, 1024, 1);
    ExpectPhase(ph, 999, 25);
    EXPECT_EQ(Listed(p, 0), (Entries{"F001 0999 0025", "F002 0300 0400"}));
    EXPECT_TRUE(d.Finish(p));
    EXPECT_EQ(d.before()[950], 1);  // the cam as it was at the press
}

TEST(CamDrag, AnEndMovedAcrossZeroLeavesNothingBehind) {
    Program p = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(p, 1, 0, 1000, 24));
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 0, 1000, 9));
    EXPECT_EQ(d.grip().kind, DragGrip::OnEnd);
    d.Move(p, 1024, 1);  // +24: the ON end lands on position 0
    EXPECT_EQ(Listed(p, 0), Entries{"F001 0000 0024"});
    EXPECT_EQ(p.CamPos(1, 0, 1023), 0);
}

TEST(CamDrag, TheDraggedPhaseFollowsThePhaseRule) {
    // A phase moved onto its neighbour removes it, as the same phase typed in would.
    Program p = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(p, 1, 0, 100, 200));
    ASSERT_TRUE(SetPhase(p, 1, 0, 300, 400));
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 0, 150, 9));
    d.Move(p, 330, 1);
    EXPECT_EQ(Listed(p, 0), Entries{"F001 0280 0380"});
    Program typed = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(typed, 1, 0, 300, 400));
    ASSERT_TRUE(SetPhase(typed, 1, 0, 280, 380));
    EXPECT_TRUE(std::equal(typed.CamPos.cam(1, 0), typed.CamPos.cam(1, 0) + kPositions, p.CamPos.cam(1, 0)));
}

TEST(CamDrag, MovedBackToItsPlaceChangesNothing) {
    Program p = camtest::MakeProgram();
    ASSERT_TRUE(SetPhase(p, 1, 5, 100, 200));
    CamDrag d;
    ASSERT_TRUE(d.Begin(p, 1, 5, 150, 9));
    d.Move(p, 400, 1);
    d.Move(p, 150, 1);
    EXPECT_FALSE(d.Finish(p));
    EXPECT_EQ(Listed(p, 5), Entries{"F001 0100 0200"});
}

TEST(CamDrag, RefusesAPlaceOutsideTheTables) {
    Program p = camtest::MakeProgram(16, 7);
    CamDrag d;
    EXPECT_FALSE(d.Begin(p, 1, 16, 100, 9));
    EXPECT_FALSE(d.Begin(p, 8, 0, 100, 9));
    EXPECT_FALSE(d.active());
    EXPECT_TRUE(d.Begin(p, 7, 15, 5000, 9));  // a press beyond the end holds the end
    ExpectPhase(d.Move(p, 1000, 1), 1000, 0);
}

}  // namespace
