// camsim's device side on its own, bytes in and bytes out. The expected bytes are written out
// from the documented examples, with check characters computed by hand.
#include "device.h"
#include "device_memory.h"
#include "frame.h"
#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace camsim {
namespace {

const std::string kAckS(1, '\x06'), kNakS(1, '\x15');
// A command with its check character (worked out by hand), as the tool sends it.
std::string Command(const char* text, int check) { return text + std::string(1, static_cast<char>(check)) + '\r'; }
const std::string kFw = Command("?FW", 220), kFr = Command("?FR", 215), kAw = Command("?AW", 215),
                  kAr = Command("?AR", 210), kM = Command("?M", 140), kFu = Command(":FU", 213);
// Firmware records: 16 data bytes, "A1B2C303" and "/15/2026" at 0600, the end record.
const std::string kData = ":100000000102030405060708090A0B0C0D0E0F1068", kIdent1 = ":08060000413142324333303333",
                  kIdent2 = ":080600002F31352F3230323664", kEnd = ":00000001FF";

std::string FrameOf(const std::string& text, char check) { return "\x02" + text + "\x03" + check; }

std::string Bytes(const Replies& r) {
    std::string b;
    for (const Reply& x : r) b += x.bytes;
    return b;
}

Options Opts(Model model = {}, BlockFaults blocks = {}, const std::string& stateDir = "", std::set<Fault> faults = {}) {
    return {.model = model, .faults = faults, .blocks = blocks, .baud = 0, .stateDir = stateDir};
}

// What the device sends for a reading command: its first block, then one after each ACK.
std::vector<std::string> Reception(Device& d, const std::string& command, std::size_t blocks) {
    std::vector<std::string> got{Bytes(d.receive(command))};
    while (got.size() < blocks) got.push_back(Bytes(d.receive(kAckS)));
    return got;
}

// "" where the device sends nothing.
std::vector<std::string> Frames(std::initializer_list<std::string> texts) {
    std::vector<std::string> out;
    for (const std::string& t : texts) out.push_back(t.empty() ? "" : Frame(t));
    return out;
}

TEST(CamsimFrame, ReaderTakesFramesInPiecesAndTellsBadOnes) {
    FrameReader r;
    EXPECT_EQ(r.take('x'), FrameReader::Step::Outside);
    for (char c : {'\x02', 'A', 'B', 'C', '\x03'}) EXPECT_EQ(r.take(c), FrameReader::Step::Inside);
    EXPECT_EQ(r.take('C'), FrameReader::Step::Done);
    EXPECT_EQ(std::tuple(r.good(), r.text()), std::tuple(true, "ABC"));
    for (char c : FrameOf("ABC", 'Z')) r.take(c);
    EXPECT_FALSE(r.good());
}

// The documented example: 32 cams, one encoder, advances 10, 200, 5 ms.
TEST(CamsimSession, TakesATransmissionAndGivesItBackInItsOwnLayout) {
    Device d(Opts({32, 7, 255, 1}));
    EXPECT_EQ(Bytes(d.receive(kFw)), "");  // no answer to the command itself
    for (const char* block : {"1000", "030AC805", "0509011500", "F01", "C 03\"Feed\"", " 0100 0200", " 1000 0024",
                              "C 32", " 0000 0001", "F07", "END"})
        EXPECT_EQ(Bytes(d.receive(Frame(block))), kAckS) << block;
    const DeviceMemory& m = d.memory();
    EXPECT_EQ(std::tie(m.functions.advances, m.functions.speedLimit), std::tuple(std::vector<int>{10, 200, 5}, 1500));
    ASSERT_EQ(m.sizes[0].size(), 2u);
    EXPECT_EQ(m.sizes[0][0].remark, "Feed");

    // After the ACK of "END" the device is quiet.
    EXPECT_EQ(Reception(d, kFr, 18),
              Frames({"FUNZIONI 32-07", "01000000", "030AC805", "05005A0105DC", " FORMATO N. 01", "C 03\"Feed\"",
                      " 0100 0200", " 1000 0024", "C 32", " 0000 0001", " FORMATO N. 02", " FORMATO N. 03",
                      " FORMATO N. 04", " FORMATO N. 05", " FORMATO N. 06", " FORMATO N. 07", "END", ""}));
}

TEST(CamsimSession, RefusesWhatDoesNotFitAndKeepsItsMemoryUntilEnd) {
    Device d(Opts({32, 7, 255, 1}));
    d.receive(kFw);
    // Refused in turn: flags of 5 characters, a bad check character, END before the functions block is
    // complete, no encoder-1 block, a phase before any size, size 8 of 7, a phase before its cam, cam 33 of
    // 32, position 1024.
    const std::vector<std::pair<std::string, std::string>> blocks = {
        {Frame("10000"), kNakS},      {FrameOf("0000", 'X'), kNakS}, {Frame("END"), kNakS},
        {Frame("0000"), kAckS},       {Frame("33"), kNakS},          {Frame("0100010000"), kAckS},
        {Frame(" 0100 0200"), kNakS}, {Frame("F08"), kNakS},         {Frame("F02"), kAckS},
        {Frame(" 0100 0200"), kNakS}, {Frame("C 33"), kNakS},        {Frame("C 01"), kAckS},
        {Frame(" 0100 1024"), kNakS}, {Frame(" 0100 0200"), kAckS}};
    for (const auto& [block, reply] : blocks) EXPECT_EQ(Bytes(d.receive(block)), reply) << block;
    // A new command before "END": the transmission is dropped.
    d.receive(kM);
    EXPECT_EQ(std::tuple(d.memory().sizes[1].size(), d.memory().functions.outSize), std::tuple(0u, 0));
}

TEST(CamsimFaults, ABadBlockIsSentOnceAndRightWhenAskedAgain) {
    Device bad(Opts({32, 7, 255, 1}, {.badChecksum = 2}));
    bad.receive(kFr);
    // Block 2 is line A, whose right check is 3 -> 35 ('#'): sent once with another one,
    // then right when the tool asks again.
    EXPECT_EQ(Bytes(bad.receive(kAckS)), FrameOf("00000000", '$'));
    EXPECT_EQ(Bytes(bad.receive(kNakS)), FrameOf("00000000", '#'));
}

TEST(CamsimState, SurvivesSaveAndLoadAndRefusesADamagedFile) {
    const camtest::ScratchFolder dir;
    const Model model{32, 7, 180, 1};
    const std::string path = StatePath(dir.str(), model);
    EXPECT_EQ(path, dir.file("camsim-32x7x180x1.state"));
    DeviceMemory m = EmptyMemory(model);
    ASSERT_EQ(m.messages.size(), 180u);
    m.functions = {.advOn = 1, .advances = {1, 210}, .shift = {999, 0, 7}, .speedLimit = 9999};
    m.sizes[6].push_back({32, true, "a \"b\" \xE9 ", {{1000, 24}, {0, 1}}});
    m.sizes[0].push_back({1, false, "", {}});
    std::tie(m.messages[0], m.messages[179]) = std::tuple("a \"b\" \xE9", "LAST");
    ASSERT_EQ(SaveState(m, path), "");
    DeviceMemory back;
    std::string error;
    ASSERT_TRUE(LoadState(model, path, &back, &error)) << error;
    EXPECT_EQ(std::tie(back.functions.advances, back.functions.shift, back.messages),
              std::tie(m.functions.advances, m.functions.shift, m.messages));
    ASSERT_EQ(back.sizes[6].size(), 1u);
    EXPECT_EQ(std::tie(back.sizes[6][0].remark, back.sizes[6][0].phases, back.sizes[0][0].hasRemark),
              std::tuple("a \"b\" \xE9 ", m.sizes[6][0].phases, false));
    // The file is written beside under a name no one can plant a link at, and put in place.
    std::filesystem::create_symlink(dir.write("victim", "theirs"), path + ".new");
    ASSERT_EQ(SaveState(m, path), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.str()), std::filesystem::directory_iterator()), 3);
    EXPECT_EQ(dir.read("victim"), "theirs");

    // Cut short, a size or a message the model lacks, a message longer than the display.
    for (const std::string& damaged : std::vector<std::string>{
             "camsim state 1\nsize 1\ncam 1 -\n", "camsim state 1\nsize 8\nend\n",
             "camsim state 1\nsize 1\ncam 1 -\nphase 0 1024\nend\n", "something else\n",
             "camsim state 1\nmsg 181 =41\nend\n", "camsim state 1\nmsg 0 =41\nend\n",
             "camsim state 1\nmsg 1 =4\nend\n", "camsim state 1\nmsg 1 =" + std::string(82, '4') + "\nend\n"}) {
        dir.write("camsim-32x7x180x1.state", damaged);
        EXPECT_FALSE(LoadState(model, path, &back, &error)) << damaged;
        EXPECT_TRUE(back.sizes[0].empty());
    }
    // No file yet: an empty memory, not an error.
    std::filesystem::remove(path);
    EXPECT_TRUE(LoadState(model, path, &back, &error));
}

TEST(CamsimRecord, SoundRecordsAddUpToZeroAndCountTheirData) {
    for (const char* sound : {kData.c_str(), kEnd.c_str(), ":020000007f7f00"})  // any letter case
        EXPECT_TRUE(SoundRecord(sound)) << sound;
    for (const char* bad : {":100000000102030405060708090A0B0C0D0E0F1069",  // check one off
                            ":0F0000000102030405060708090A0B0C0D0E0F1069",  // count 15, 16 bytes
                            ":00000001F", "00000001FF", ":00000001FG"})     // half a pair, no ":", no digit
        EXPECT_FALSE(SoundRecord(bad)) << bad;
}

TEST(CamsimFlash, AcknowledgesFuAndEveryGoodRecordAndKeepsTheImageAtTheEnd) {
    Device d(Opts());
    std::vector<std::string> replies;
    // The data record comes in pieces, with an LF after its CR; the next one has a bad check.
    for (const std::string& in : {kFu, kIdent1 + "\r", kData.substr(0, 9), kData.substr(9) + "\r\n",
                                  std::string(":100000000102030405060708090A0B0C0D0E0F1069\r"), kIdent2 + "\r"})
        replies.push_back(Bytes(d.receive(in)));
    EXPECT_EQ(replies, (std::vector<std::string>{kAckS, kAckS, "", kAckS, kNakS, kAckS}));
    EXPECT_TRUE(d.firmware().records.empty());  // not the device's until the end record
    EXPECT_EQ(Bytes(d.receive(kEnd + "\r")), kAckS);
    EXPECT_EQ(d.firmware(), (Firmware{{kIdent1, kData, kIdent2}, "A1B2C303/15/2026"}));
    // The end record again, as the tool sends it after the last line.
    EXPECT_EQ(Bytes(d.receive(kEnd + "\r")), kAckS);
    EXPECT_EQ(d.firmware().records.size(), 3u);
    // A command ends the update mode.
    const std::string reply = Bytes(d.receive(kM));
    EXPECT_TRUE(reply.ends_with('\r'));
    EXPECT_NE(reply.find("ZETO"), std::string::npos);
}

TEST(CamsimFlash, FirmwareFileSurvivesARestartAndADamagedOneIsNotUsed) {
    const camtest::ScratchFolder dir;
    const Options o = Opts({}, {}, dir.str());
    const std::string path = FirmwarePath(dir.str(), o.model);
    EXPECT_EQ(path, dir.file("camsim-32x60x255x2.firmware"));
    {
        Device d(o);
        for (const std::string& in : {kFu, kIdent1 + "\r", kData + "\r", kEnd + "\r"}) d.receive(in);
    }
    EXPECT_EQ(dir.read("camsim-32x60x255x2.firmware"), "camsim firmware 1\nidentification =4131423243333033\nrecord " +
                                                           kIdent1 + "\nrecord " + kData + "\nend\n");
    EXPECT_EQ(Device(o).firmware(), (Firmware{{kIdent1, kData}, "A1B2C303"}));

    Firmware fw;
    std::string error;
    for (const char* damaged :
         {"camsim firmware 1\nrecord :00000001FE\nend\n", "camsim firmware 1\nrecord :00000001FF\n",
          "camsim firmware 1\nidentification =4\nend\n", "other\n"}) {
        dir.write("camsim-32x60x255x2.firmware", damaged);
        EXPECT_FALSE(LoadFirmware(path, &fw, &error)) << damaged;
        EXPECT_TRUE(fw.records.empty());
    }
    std::filesystem::remove(path);
    EXPECT_TRUE(LoadFirmware(path, &fw, &error));  // no file yet: no image, no error
}

TEST(CamsimMessages, LineReaderTakesOnlyWholeMessageLines) {
    int n = 0;
    std::string text;
    ASSERT_TRUE(ReadMessageLine("N007\"ALARM\"", &n, &text));
    EXPECT_EQ(std::tie(n, text), std::tuple(7, "ALARM"));
    ASSERT_TRUE(ReadMessageLine("N010\"A \"Q\" ?:\"", &n, &text));
    EXPECT_EQ(text, "A \"Q\" ?:");
    for (const char* bad : {"N07\"A\"", "N007ALARM", "N007\"ALARM", "X007\"A\"", "N0A7\"A\"", "N007\""})
        EXPECT_FALSE(ReadMessageLine(bad, &n, &text)) << bad;
}

TEST(CamsimMessages, TakesTheLinesAtEndGivesThemBackAsBlocksAndKeepsThemInItsState) {
    const camtest::ScratchFolder dir;
    const Options o = Opts({32, 7, 3, 1}, {}, dir.str());
    {
        Device d(o);
        // Nothing is answered: not the command, not a line, not "END"; texts may hold '?' and ':'.
        EXPECT_EQ(Bytes(d.receive(kAw)), "");
        EXPECT_EQ(Bytes(d.receive("N001\"OIL ?:LOW\"\rN0")), "");
        EXPECT_TRUE(d.memory().messages[0].empty());  // kept aside until "END"
        EXPECT_EQ(Bytes(d.receive("03\"" + std::string(45, 'X') + "\"\rN009\"NO SUCH\"\rEND\r")), "");
        // The display holds 40 characters.
        EXPECT_EQ(d.memory().messages, (std::vector<std::string>{"OIL ?:LOW", "", std::string(40, 'X')}));
    }
    // A device with a state folder keeps what it took.
    Device again(o);
    EXPECT_EQ(Reception(again, kAr, 5),
              Frames({"N 001\"OIL ?:LOW\"", "N 002\"\"", "N 003\"" + std::string(40, 'X') + "\"", "END", ""}));
    // A command before "END" drops the lines.
    again.receive(kAw + "N001\"NEW\"\r");
    EXPECT_EQ(Bytes(again.receive(kM)).substr(0, 4), "KLM ");
    again.receive("END\r");
    EXPECT_EQ(again.memory().messages[0], "OIL ?:LOW");
}

TEST(CamsimMessages, FaultsOfBothDirections) {
    Device silent(Opts({32, 7, 3, 1}, {.silentAfter = 1}));
    // Sending: the device stops listening after one line and takes nothing.
    silent.receive(kAw + "N001\"A\"\rN002\"B\"\rEND\r");
    EXPECT_TRUE(silent.memory().messages[0].empty());
    // Receiving: one block, then nothing.
    EXPECT_EQ(Reception(silent, kAr, 2), Frames({"N 001\"\"", ""}));

    Device bad(Opts({32, 7, 2, 1}, {.badChecksum = 2, .replyDelayMs = 25}));
    Replies first = bad.receive(kAr);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].delayMs, 25);
    EXPECT_EQ(Bytes(bad.receive(kAckS)), Frame("N 002\"\"", true));
    EXPECT_EQ(Bytes(bad.receive(kAckS)), Frame("END"));

    EXPECT_EQ(Bytes(Device(Opts({32, 7, 2, 1}, {}, "", {Fault::Babble})).receive(kAr)).find('\x03'), std::string::npos);
}

}  // namespace
}  // namespace camsim
