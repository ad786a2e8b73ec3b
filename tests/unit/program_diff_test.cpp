// Comparing programs: phases as the chart lists them, the functions block as a cam file keeps
// it, remarks and model counts; the expected lines are written out here.
#include "core/compare/program_diff.h"
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "support/make_program.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using cam::Program;
using camtest::MakeProgram;
using Lines = std::vector<std::string>;

Lines Texts(const std::vector<cam::ProgramDifference>& d) {
    Lines out;
    for (const auto& x : d) out.push_back(x.text);
    return out;
}

Lines Diff(const Program& a, const Program& b) { return Texts(cam::ComparePrograms(a, b, a)); }

Program OneCam(std::initializer_list<std::pair<int, int>> phases) {
    Program p = MakeProgram(32, 1);
    for (auto [on, off] : phases) cam::SetPhase(p, 1, 0, on, off);
    return p;
}

using Kind = cam::PhaseChange::Kind;
using Change = std::tuple<Kind, int, int, int, int>;  // kind, A's on-off, B's on-off
std::vector<Change> Phases(std::initializer_list<std::pair<int, int>> a, std::initializer_list<std::pair<int, int>> b) {
    const Program pa = OneCam(a), pb = OneCam(b);
    std::vector<Change> out;
    for (const auto& c : cam::ComparePhases(pa.CamPos.cam(1, 0), pb.CamPos.cam(1, 0)))
        out.push_back({c.kind, c.aOn, c.aOff, c.bOn, c.bOff});
    return out;
}

TEST(ComparePhases, PairsOverlappingPhasesAndListsTheRestInChartOrder) {
    EXPECT_TRUE(Phases({{100, 200}, {1000, 24}}, {{1000, 24}, {100, 200}}).empty());
    // A phase split in two: the first part is its partner, the second is new.
    EXPECT_EQ(Phases({{100, 400}}, {{100, 200}, {300, 400}}),
              (std::vector<Change>{{Kind::Changed, 100, 400, 100, 200}, {Kind::OnlyInB, 0, 0, 300, 400}}));
    // The phase through position 0 is listed first, as on the chart, in either program.
    EXPECT_EQ(Phases({{500, 600}}, {{500, 600}, {1000, 30}}), (std::vector<Change>{{Kind::OnlyInB, 0, 0, 1000, 30}}));
    EXPECT_EQ(Phases({{1000, 24}, {500, 600}}, {{990, 24}, {500, 610}}),
              (std::vector<Change>{{Kind::Changed, 1000, 24, 990, 24}, {Kind::Changed, 500, 600, 500, 610}}));
    // A phase that wraps overlaps one at the start of the revolution.
    EXPECT_EQ(Phases({{1000, 24}}, {{0, 10}}), (std::vector<Change>{{Kind::Changed, 1000, 24, 0, 10}}));
    EXPECT_EQ(Phases({{0, 1024}}, {{0, 1023}}), (std::vector<Change>{{Kind::Changed, 0, 1024, 0, 1023}}));
    // Neighbours that do not share a position are not partners.
    EXPECT_EQ(Phases({{100, 200}}, {{200, 300}}),
              (std::vector<Change>{{Kind::OnlyInA, 100, 200, 0, 0}, {Kind::OnlyInB, 0, 0, 200, 300}}));
    EXPECT_TRUE(cam::ComparePhases(nullptr, nullptr).empty());
}

TEST(ComparePrograms, NamesPhasesRemarksAndAdvancesInTheUsersTerms) {
    Program a = MakeProgram(32, 7, 1), b = MakeProgram(32, 7, 1);
    EXPECT_TRUE(Diff(a, b).empty());
    cam::SetPhase(a, 3, 4, 100, 200);
    cam::SetPhase(a, 3, 4, 300, 400);
    cam::SetPhase(b, 3, 4, 300, 420);
    std::tie(a.AdvOn, a.NAdvCams, a.AdvMs[1]) = std::tuple(1, 2, 10);
    std::tie(b.AdvOn, b.NAdvCams, b.AdvMs[1]) = std::tuple(1, 2, 12);
    std::tie(a.CamRemark[4], b.CamRemark[4]) = std::tuple("FEED", "  ");  // blanks only: no remark, as in a file
    const auto d = cam::ComparePrograms(a, b, a);
    EXPECT_EQ(Texts(d), (Lines{"Advance of cam 02 (ms): 10 in A, 12 in B", "Remark of cam 5: \"FEED\" in A, none in B",
                               "size 3, cam 5: phase 0100-0200 only in A",
                               "size 3, cam 5: phase 0300-0400 in A, 0300-0420 in B"}));
    // What a click on each line shows on the chart.
    EXPECT_EQ((std::vector<int>{d[0].cam, d[0].size, d[1].cam, d[3].size, d[3].cam}),
              (std::vector<int>{1, 0, 4, 3, 4}));
    // Other names for the two programs.
    EXPECT_EQ(cam::ComparePrograms(b, a, a, {"the chart", "demo.Cam"})[2].text,
              "size 3, cam 5: phase 0100-0200 only in demo.Cam");
}

TEST(ComparePrograms, ComparesWhatACamFileKeepsOfTheFunctionsBlock) {
    Program a = MakeProgram(32, 7, 1), b = MakeProgram(32, 7, 1);
    // Values that no cam file keeps are no difference: advances beyond the count, delays
    // while they are off, the ratio 17-32 switch.
    std::tie(a.AdvMs[5], a.Delay17_20, a.Ratio17On) = std::tuple(9, 5, 1);
    EXPECT_TRUE(Diff(a, b).empty());
    std::tie(a.AdvOn, a.NAdvCams, a.DelayOn, a.SpeedLimit) = std::tuple(1, 1, 1, 600);
    EXPECT_EQ(Diff(a, b), (Lines{"Advances switch: ON in A, OFF in B", "Number of advances: 1 in A, none in B",
                                 "Advance of cam 01 (ms): 0 in A, none in B", "Delays switch: ON in A, OFF in B",
                                 "Delay of cams 17-20 (ms): 5 in A, none in B",
                                 "Delay of cams 21-24 (ms): 0 in A, none in B", "Speed limit: 600 in A, 0 in B"}));
    // Another encoder count: another form of the block.
    Program c = MakeProgram(32, 7, 1), e = MakeProgram(32, 7, 3);
    std::tie(e.AdvMs[16], e.EncShift3) = std::tuple(150, 1000);
    EXPECT_EQ(Diff(c, e),
              (Lines{"Number of encoders: 1 in A, 3 in B", "Advance of cam 17-20 (ms): none in A, 150 in B",
                     "Advance of cam 21-24 (ms): none in A, 0 in B", "Advance of cam 25-28 (ms): none in A, 0 in B",
                     "Advance of cam 29-32 (ms): none in A, 0 in B", "Phase shift of encoder 2: none in A, 0 in B",
                     "Direction of encoder 2: none in A, 0 in B", "Phase shift of encoder 3: none in A, 1000 in B",
                     "Direction of encoder 3: none in A, 0 in B", "Delays switch: OFF in A, none in B",
                     "Ratio switch: OFF in A, none in B"}));
}

TEST(ComparePrograms, SizesAndCamsOfOneModelOnlyAreComparedWithEmptyOnes) {
    Program a = MakeProgram(32, 7, 1), b = MakeProgram(32, 15, 1);
    cam::SetPhase(b, 9, 31, 10, 20);
    cam::SetPhase(a, 7, 0, 1, 2);
    cam::SetPhase(b, 7, 0, 1, 2);
    EXPECT_EQ(Diff(a, b), (Lines{"Number of sizes: 7 in A, 15 in B", "size 9, cam 32: phase 0010-0020 only in B"}));
    Program c = MakeProgram(16, 7, 1);
    cam::SetPhase(a, 1, 20, 5, 6);
    a.CamRemark[20] = "X";
    EXPECT_EQ(Diff(c, a),
              (Lines{"Number of cams: 16 in A, 32 in B", "Remark of cam 21: none in A, \"X\" in B",
                     "size 1, cam 21: phase 0005-0006 only in B", "size 7, cam 1: phase 0001-0002 only in B"}));
}

TEST(CompareWithDevice, ComparesWhatTheDeviceCanHoldAndNotesWhatItCannot) {
    Program tables = MakeProgram(32, 7, 1);
    cam::SetPhase(tables, 3, 9, 100, 200);
    tables.CamRemark[9] = "SPARE";  // no phase in size 1: the device gets no remark for it
    // The device as it holds the tables after a transmission: no remark for cam 10.
    Program device = tables;
    device.CamRemark[9] = "  ";
    cam::Comparison c = cam::CompareWithDevice(tables, device);
    EXPECT_TRUE(c.differences.empty()) << c.differences.front().text;
    EXPECT_EQ(c.notes, (Lines{"Cam 10: no phase in size 1, its remark \"SPARE\" is not sent"}));
    // A phase changed on the device is named; so is the device's own switch and encoder count.
    cam::SetPhase(device, 3, 9, 150, 250);
    device.Ratio17On = 1;
    EXPECT_EQ(Texts(cam::CompareWithDevice(tables, device).differences),
              (Lines{"Ratio 17-32 switch: OFF in A, ON in B", "size 3, cam 10: phase 0100-0200 in A, 0150-0250 in B"}));
    device.NEncoders = 2;
    EXPECT_EQ(Texts(cam::CompareWithDevice(tables, device).differences).front(), "Number of encoders: 1 in A, 2 in B");
}

TEST(ReadProgramToCompare, ReadsAFileWithTheModelItsHeaderNames) {
    camtest::ScratchFolder dir;
    Program other = MakeProgram(16, 15, 1);
    cam::SetPhase(other, 12, 15, 1, 2);
    ASSERT_TRUE(cam::WriteCamFile(other, dir.file("other.Cam")).ok());
    const Program tables = MakeProgram(32, 7, 1);
    cam::ScriptedPrompt prompt;
    const auto read = cam::ReadProgramToCompare(tables, dir.file("other.Cam"), prompt);
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tuple(prompt.asked().size(), read->NCams, Diff(tables, *read).back()),
              std::tuple(0u, 16, "size 12, cam 16: phase 0001-0002 only in B"));
    // A missing file is said, an unreadable one too; nothing is compared.
    EXPECT_FALSE(cam::ReadProgramToCompare(tables, dir.file("gone.Cam"), prompt));
    EXPECT_EQ(prompt.messages().back(), "File not found:\r" + dir.file("gone.Cam"));
    EXPECT_FALSE(cam::ReadProgramToCompare(tables, dir.write("bad.Cam", "hello\r\n"), prompt));
    EXPECT_EQ(prompt.messages().back().rfind("hello", 0), 0u);  // the line, then text 10
}

}  // namespace
