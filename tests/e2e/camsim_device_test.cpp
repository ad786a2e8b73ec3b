// camsim's device side on its own, bytes in and bytes out: its framing, how it takes a
// transmission, the layout of what it sends back, its faults and its state file. The
// expected bytes are written out here, from the documented examples.
#include "device.h"
#include "device_memory.h"
#include "frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace camsim {
namespace {

const std::string kStxS(1, '\x02'), kEtxS(1, '\x03'), kAckS(1, '\x06'), kNakS(1, '\x15');

std::string FrameOf(const std::string& text, char check) { return kStxS + text + kEtxS + check; }

// All the bytes of the replies, joined.
std::string Bytes(const Replies& r) {
    std::string b;
    for (const Reply& x : r) b += x.bytes;
    return b;
}

Options ModelOptions(int cams, int sizes, int encoders) {
    Options o;
    o.model = {cams, sizes, 255, encoders};
    o.baud = 0;
    return o;
}

// "?FW" 220 CR, "?FR" 215 CR: the commands with their check characters.
const std::string kFw = std::string("?FW") + '\xDC' + '\r';
const std::string kFr = std::string("?FR") + '\xD7' + '\r';

// Frames built by the device's own routine checked against hand-computed check characters
// first, so that the session tests below can use Frame().
TEST(CamsimFrame, CheckCharacterIsTheXorUpToEtxLiftedAbove31) {
    EXPECT_EQ(Frame("ABC"), FrameOf("ABC", 'C'));        // 65^66^67^3 = 67
    EXPECT_EQ(Frame("\x06"), FrameOf("\x06", '%'));      // 6^3 = 5, sent as 37
    EXPECT_EQ(Frame("END"), FrameOf("END", 'L'));        // 69^78^68^3 = 76
    EXPECT_EQ(Frame("ABC", true), FrameOf("ABC", 'D'));  // spoilt: still a printable check
}

TEST(CamsimFrame, ReaderTakesFramesInPiecesAndTellsBadOnes) {
    FrameReader r;
    EXPECT_EQ(r.take('x'), FrameReader::Step::Outside);
    for (char c : std::string("\x02"
                              "AB"))
        EXPECT_EQ(r.take(c), FrameReader::Step::Inside);
    EXPECT_EQ(r.take('C'), FrameReader::Step::Inside);
    EXPECT_EQ(r.take('\x03'), FrameReader::Step::Inside);
    EXPECT_EQ(r.take('C'), FrameReader::Step::Done);
    EXPECT_TRUE(r.good());
    EXPECT_EQ(r.text(), "ABC");
    for (char c : FrameOf("ABC", 'Z')) r.take(c);
    EXPECT_FALSE(r.good());
}

// A transmission of the documented example: 32 cams, one encoder, advances 10, 200, 5 ms.
TEST(CamsimSession, TakesATransmissionAndGivesItBackInItsOwnLayout) {
    Device d(ModelOptions(32, 7, 1));
    EXPECT_EQ(Bytes(d.receive(kFw)), "");  // no answer to the command itself
    for (const char* block : {"1000", "030AC805", "0509011500", "F01", "C 03\"Feed\"", " 0100 0200", " 1000 0024",
                              "C 32", " 0000 0001", "F07", "END"})
        EXPECT_EQ(Bytes(d.receive(Frame(block))), kAckS) << block;
    const DeviceMemory& m = d.memory();
    EXPECT_EQ(m.functions.advances, (std::vector<int>{10, 200, 5}));
    EXPECT_EQ(m.functions.speedLimit, 1500);
    ASSERT_EQ(m.sizes[0].size(), 2u);
    EXPECT_EQ(m.sizes[0][0].remark, "Feed");

    // "?FR": one block, then the next after each ACK.
    const char* expected[] = {"FUNZIONI 32-07",
                              "01000000",
                              "030AC805",
                              "05005A0105DC",
                              " FORMATO N. 01",
                              "C 03\"Feed\"",
                              " 0100 0200",
                              " 1000 0024",
                              "C 32",
                              " 0000 0001",
                              " FORMATO N. 02",
                              " FORMATO N. 03",
                              " FORMATO N. 04",
                              " FORMATO N. 05",
                              " FORMATO N. 06",
                              " FORMATO N. 07",
                              "END"};
    std::string got = Bytes(d.receive(kFr));
    for (const char* line : expected) {
        EXPECT_EQ(got, Frame(line));
        got = Bytes(d.receive(kAckS));
    }
    EXPECT_EQ(got, "");  // after the ACK of "END" the device is quiet
}

TEST(CamsimSession, TwoEncoderAndSixteenCamLayouts) {
    Device two(ModelOptions(32, 7, 2));
    two.receive(kFw);
    // Flags, advances, group advances, encoder 1, encoders 2 and 3.
    for (const char* block : {"1110", "0105", "01020304", "0000000000", "00310020", "END"})
        EXPECT_EQ(Bytes(two.receive(Frame(block))), kAckS) << block;
    // Line A carries the group advances; no delay or ratio line with two encoders.
    std::string got = Bytes(two.receive(kFr));
    for (const char* line : {"FUNZIONI 32-07", "0101020304", "0105", "000000000000000301000200", " FORMATO N. 01"}) {
        EXPECT_EQ(got, Frame(line));
        got = Bytes(two.receive(kAckS));
    }

    Device sixteen(ModelOptions(16, 15, 1));
    sixteen.receive(kFw);
    // No flags block: the advances come first, "00" when there are none.
    EXPECT_EQ(Bytes(sixteen.receive(Frame("1000"))), kNakS);
    for (const char* block : {"00", "1500000000", "END"})
        EXPECT_EQ(Bytes(sixteen.receive(Frame(block))), kAckS) << block;
    got = Bytes(sixteen.receive(kFr));
    for (const char* line : {"FUNZIONI 16-15", "00", "150000000000"}) {
        EXPECT_EQ(got, Frame(line));
        got = Bytes(sixteen.receive(kAckS));
    }
}

TEST(CamsimSession, RefusesWhatDoesNotFitAndKeepsItsMemoryUntilEnd) {
    Device d(ModelOptions(32, 7, 1));
    d.receive(kFw);
    EXPECT_EQ(Bytes(d.receive(Frame("10000"))), kNakS);        // flags are 4 characters
    EXPECT_EQ(Bytes(d.receive(FrameOf("0000", 'X'))), kNakS);  // bad check character
    EXPECT_EQ(Bytes(d.receive(Frame("END"))), kNakS);          // the functions block is not complete
    EXPECT_EQ(Bytes(d.receive(Frame("0000"))), kAckS);
    EXPECT_EQ(Bytes(d.receive(Frame("33"))), kNakS);  // not an encoder-1 block
    EXPECT_EQ(Bytes(d.receive(Frame("0100010000"))), kAckS);
    EXPECT_EQ(Bytes(d.receive(Frame(" 0100 0200"))), kNakS);  // a phase before any size
    EXPECT_EQ(Bytes(d.receive(Frame("F08"))), kNakS);         // the device has 7 sizes
    EXPECT_EQ(Bytes(d.receive(Frame("F02"))), kAckS);
    EXPECT_EQ(Bytes(d.receive(Frame(" 0100 0200"))), kNakS);  // a phase before its cam
    EXPECT_EQ(Bytes(d.receive(Frame("C 33"))), kNakS);        // the device has 32 cams
    EXPECT_EQ(Bytes(d.receive(Frame("C 01"))), kAckS);
    EXPECT_EQ(Bytes(d.receive(Frame(" 0100 1024"))), kNakS);  // positions end at 1023
    EXPECT_EQ(Bytes(d.receive(Frame(" 0100 0200"))), kAckS);
    // A new command before "END": the transmission is dropped.
    d.receive(std::string("?M") + '\x8C' + '\r');
    EXPECT_TRUE(d.memory().sizes[1].empty());
    EXPECT_EQ(d.memory().functions.outSize, 0);
}

TEST(CamsimFaults, NakSilenceCorruptionAndDelay) {
    Options o = ModelOptions(32, 7, 1);
    o.blocks.nak = 2;
    Device nak(o);
    nak.receive(kFw);
    EXPECT_EQ(Bytes(nak.receive(Frame("0000"))), kAckS);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Bytes(nak.receive(Frame("0000000000"))), kNakS);  // every time

    o = ModelOptions(32, 7, 1);
    o.blocks.silentAfter = 1;
    o.blocks.replyDelayMs = 40;
    Device silent(o);
    silent.receive(kFw);
    Replies r = silent.receive(Frame("0000"));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].delayMs, 40);
    EXPECT_TRUE(silent.receive(Frame("0000000000")).empty());
    // In a reception it sends one block and stops.
    EXPECT_EQ(Bytes(silent.receive(kFr)), Frame("FUNZIONI 32-07"));
    EXPECT_EQ(Bytes(silent.receive(kAckS)), "");

    o = ModelOptions(32, 7, 1);
    o.blocks.badChecksum = 2;
    Device bad(o);
    bad.receive(kFr);
    // Block 2 is line A, whose right check is 3 -> 35 ('#'): sent once with another one,
    // then right when the tool asks again.
    EXPECT_EQ(Bytes(bad.receive(kAckS)), FrameOf("00000000", '$'));
    EXPECT_EQ(Bytes(bad.receive(kNakS)), FrameOf("00000000", '#'));
}

TEST(CamsimState, SurvivesSaveAndLoadAndRefusesADamagedFile) {
    const auto dir = std::filesystem::temp_directory_path() / ("camsim-state-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Model model{32, 7, 255, 1};
    const std::string path = StatePath(dir.string(), model);
    EXPECT_EQ(path, dir.string() + "/camsim-32x7x255x1.state");

    DeviceMemory m = EmptyMemory(model);
    m.functions.advOn = 1;
    m.functions.advances = {1, 210};
    m.functions.speedLimit = 9999;
    m.functions.shift = {999, 0, 7};
    m.sizes[6].push_back({32, true, "a \"b\" \xE9 ", {{1000, 24}, {0, 1}}});
    m.sizes[0].push_back({1, false, "", {}});
    ASSERT_EQ(SaveState(m, path), "");
    DeviceMemory back;
    std::string error;
    ASSERT_TRUE(LoadState(model, path, &back, &error)) << error;
    EXPECT_EQ(back.functions.advances, m.functions.advances);
    EXPECT_EQ(back.functions.shift, m.functions.shift);
    ASSERT_EQ(back.sizes[6].size(), 1u);
    EXPECT_EQ(back.sizes[6][0].remark, "a \"b\" \xE9 ");
    EXPECT_EQ(back.sizes[6][0].phases, m.sizes[6][0].phases);
    EXPECT_FALSE(back.sizes[0][0].hasRemark);
    // The file is written beside under a name no one can plant a link at, and put in place.
    const std::string victim = (dir / "victim").string();
    std::ofstream(victim) << "theirs";
    std::filesystem::create_symlink(victim, path + ".new");
    ASSERT_EQ(SaveState(m, path), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 3);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(victim).rdbuf()), {}), "theirs");

    // A file cut short, or a size the model does not have, is not used.
    for (const char* damaged : {"camsim state 1\nsize 1\ncam 1 -\n", "camsim state 1\nsize 8\nend\n",
                                "camsim state 1\nsize 1\ncam 1 -\nphase 0 1024\nend\n", "something else\n"}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        EXPECT_FALSE(LoadState(model, path, &back, &error)) << damaged;
        EXPECT_TRUE(back.sizes[0].empty());
    }
    // No file yet: an empty memory, not an error.
    std::filesystem::remove(path);
    EXPECT_TRUE(LoadState(model, path, &back, &error));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace camsim
