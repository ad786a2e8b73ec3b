// The size and alarm message transfers against a fake device: what goes on the wire, what
// comes back into the tables, the reception file and the list, and how each failure ends.
#include "core/link/size_transfer.h"
#include "core/link/functions_wire.h"
#include "core/link/message_transfer.h"
#include "core/messages/message_file.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_format.h"
#include "support/fake_port.h"
#include "support/scratch_folder.h"
#include "support/wire_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace cam {
namespace {

using camtest::IdReply;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Ge;
using ::testing::HasSubstr;
using ::testing::Lt;
using Strings = std::vector<std::string>;
using Ints = std::vector<int>;

// The port closed and nothing said, as an exchange that went well ends.
const std::pair<bool, Strings> kClosedQuietly{false, {}};

// A 32-cam, 7-size, 255-message program and a device that identifies itself, acknowledges
// every block it takes and, after "?FR" or "?AR", sends its own blocks one per ACK.
struct Bench : FakeLink {
    camtest::ScratchFolder dir;
    camtest::RecordingView view;

    std::string idReply = IdReply("32", "07", "255", '1');
    Strings received;       // block texts the device took
    Strings blocks;         // what the device sends, one block per ACK
    std::size_t sent = 0;   // of blocks
    std::size_t spoil = 0;  // the block (1-based) sent with a wrong check character
    int ackAfter = -1;      // the device falls silent after this many blocks
    bool nakEnd = false;    // the device answers "END" with NAK

    Bench() {
        std::tie(p.WorkDir, p.TmpFile) = std::tuple(dir.str(), dir.file("_._"));
        ResizeTables(p);
        // clang-format off
        const std::pair<int, const char*> texts[] = {{46, "RECEIVING"}, {47, "TRANSMITTING"}, {48, "SIZE "},
            {52, "SIZE"}, {10, " - wrong file format"}, {98, "RECEIVING MESSAGES"}, {114, "SENDING MESSAGES"}};
        // clang-format on
        for (auto [i, text] : texts) p.LngTxt[i] = text;
        port.device = [this](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r") return f.reply(idReply, 5);
            const bool start = w == "?FR\xD7\r" || w == "?AR\xD2\r";
            if (start) sent = 0;
            if ((start || w == "\x06") && sent < blocks.size()) {
                std::string frame = camtest::Frame(blocks[sent]);
                if (++sent == spoil) frame.back() = static_cast<char>(frame.back() ^ 1);
                f.reply(frame, 5);
            } else if (w.size() > 2 && w[0] == '\x02') {
                received.push_back(w.substr(1, w.find('\x03') - 1));
                if (ackAfter >= 0 && static_cast<int>(received.size()) > ackAfter) return;
                f.reply(nakEnd && received.back() == "END" ? "\x15" : "\x06", 2);
            }
        };
    }
    long count(const std::string& block) const { return std::count(received.begin(), received.end(), block); }
    // caption|operation|size label|last percent
    std::string shown() const {
        return view.caption + "|" + view.operation + "|" + view.sizeLabel + "|" + std::to_string(view.progress.back());
    }
    std::pair<bool, Strings> ended() const { return {port.isOpen(), prompt.messages()}; }
};

struct TransferFixture : Bench, ::testing::Test {};

// The development trace of the blocks replaces TST.TXT only when tracing.
TEST_F(TransferFixture, TransmitSendsFunctionsSizesAndEnd) {
    dir.write("TST.TXT", "the user's own file");
    std::tie(p.AdvOn, p.NAdvCams, p.AdvMs[0], p.AdvMs[1], p.AdvMs[2]) = std::tuple(1, 3, 10, 200, 5);
    SetPhase(p, 1, 2, 100, 200);
    p.CamRemark[2] = "GLUE";
    ASSERT_TRUE(SizeTransmit(p, link, view));
    ASSERT_GE(received.size(), 5u);
    EXPECT_EQ(Strings(received.begin(), received.begin() + 5),
              (Strings{"1000", "030AC805", "0000000000", "F01", "C 01\"  \""}));
    EXPECT_EQ(received.back(), "END");
    EXPECT_NE(port.written.find("?FW\xDC\r"), std::string::npos);  // 63 + 70 + 87 = 220
    EXPECT_EQ(shown(), "ZETO PX-32   1024|TRANSMITTING|SIZE 7|100");
    EXPECT_EQ(ended(), kClosedQuietly);
    EXPECT_EQ(dir.read("TST.TXT"), "the user's own file");
    link.InDevEnvironment = true;
    ASSERT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(dir.read("TST.TXT").substr(0, 5), "1000\r");  // the first block of this transmission
}

// A question about losses cancelled too: said once, the tables' model as it was, the port closed.
TEST(SizeTransmit, FailuresAreToldOnce) {
    struct Case {
        const char* name;
        std::function<void(Bench&)> given;
        ::testing::Matcher<Strings> said;
        std::optional<std::size_t> taken;  // blocks the device took
        long ends;                         // "END" sent: never repeated; the tables stay 32 x 7
    };
    const std::vector<Case> cases = {
        {"silent device", [](Bench& b) { b.port.device = nullptr; },
         ElementsAre("KLM NOT FOUND\rCONTROL WIRING", "Info"), 0, 0},
        {"another cam count", [](Bench& b) { b.idReply = IdReply("16", "15", "255", '1'); },
         ElementsAre("WRONG DSP  C.16"), 0, 0},
        {"another encoder count", [](Bench& b) { b.p.NEncoders = 2; },
         ElementsAre(HasSubstr("2 encoder(s) and the device has 1")), 0, 0},
        {"silent after five blocks", [](Bench& b) { b.ackAfter = 4; }, ElementsAre("TIMEOUT SERIAL PORT "), 5, 0},
        {"END refused", [](Bench& b) { b.nakEnd = true; }, ElementsAre(HasSubstr("did not acknowledge the end")),
         std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        c.given(b);
        b.prompt.push(Answer::Cancel);  // a question before sending is cancelled
        EXPECT_FALSE(SizeTransmit(b.p, b.link, b.view).sent);
        EXPECT_THAT(b.prompt.messages(), c.said);
        if (c.taken) {
            EXPECT_EQ(b.received.size(), *c.taken);
        }
        if (c.taken == 0u) {
            EXPECT_EQ(b.port.written.find("?FW"), std::string::npos);
        }
        EXPECT_EQ(std::tuple(b.count("END"), b.p.NCams, b.p.NSizes, b.port.isOpen()), std::tuple(c.ends, 32, 7, false));
    }
}

// After OK, the sizes both hold go out, the functions block in the one-encoder form with each value the
// nearest its field carries (a direction of 2 as 1, -5 as 0); the data keeps its encoder count for a save.
TEST_F(TransferFixture, WhatTheDeviceCannotTakeIsToldOnceAndTheRestSent) {
    idReply = IdReply("32", "30", "255", '1');
    std::tie(p.NEncoders, p.EncShift2, p.RotDir, p.EncShift, p.SpeedLimit, p.OutSize) =
        std::tuple(2, 500, 2, -5, 12000, 5);
    prompt.push(Answer::Ok);
    const TransmitResult r = SizeTransmit(p, link, view);
    ASSERT_TRUE(r.sent);
    ASSERT_EQ(prompt.messages().size(), 1u);
    for (const char* told : {"2 encoder(s) and the device has 1", "sizes 1 to 7 are sent",
                             "Direction of encoder 1 2 does not fit its field: sent as 1",
                             "Phase shift of encoder 1 -5 does not fit its field: sent as 0",
                             "Speed limit 12000 does not fit its field: sent as 9999"})
        EXPECT_THAT(prompt.messages()[0], HasSubstr(told));
    EXPECT_EQ(Strings(received.begin() + 1, received.begin() + 3), (Strings{"0500019999", "F01"}));
    // F07 once, no F08; the data keeps its 7 sizes and 2 encoders.
    EXPECT_EQ((std::vector<long>{count("F07"), count("F08"), r.sizes, p.NSizes, p.NEncoders}),
              (std::vector<long>{1, 0, 7, 7, 2}));
}

// What the device holds after a transmission is what the check after sending compares:
// no remark of a cam without a phase in size 1, at most 181 phases, no always-ON cam.
TEST(ExpectedOnDevice, HoldsWhatTheDeviceFormCarries) {
    Program p;
    ResizeTables(p);
    std::tie(p.NEncoders, p.RotDir, p.CamRemark[0], p.CamRemark[1]) = std::tuple(1, 3, "KEPT", "DROPPED");
    SetPhase(p, 1, 0, 10, 20);
    SetPhase(p, 2, 1, 30, 40);
    for (int k = 0; k < 200; ++k) SetPhase(p, 1, 2, 2 * k + 1, 2 * k + 2);
    SetPhase(p, 3, 3, 0, 1024);
    Program e = ExpectedOnDevice(p, 7, 1);
    EXPECT_EQ((Strings{e.CamRemark[0], std::string(TrimBlanks(e.CamRemark[1]))}), (Strings{"KEPT", ""}));
    const int phases = std::count(e.CamPos.cam(1, 2), e.CamPos.cam(1, 2) + kPositions, 1);
    // The last one: the data itself is not changed.
    EXPECT_EQ((Ints{e.CamPos(2, 1, 35), phases, e.CamPos(3, 3, 500), e.RotDir, p.RotDir}), (Ints{1, 181, 0, 1, 3}));
    // Held texts differ where the device does not hold the data.
    EXPECT_NE(HeldText(e, 7), HeldText(p, 7));
    Program same = ExpectedOnDevice(e, 7, 1);
    EXPECT_EQ(HeldText(same, 7), HeldText(e, 7));
}

TEST_F(TransferFixture, ReceivesIntoTheReceptionFileAndAProgramOfItsOwn) {
    blocks = {"FUNZIONI 32-07", "0000",           "0100640105DC", " FORMATO N. 01", "C 03\"GLUE\"",
              " 0100 0200",     " FORMATO N. 07", "C 32",         " 1000 0024",     "END"};
    SetPhase(p, 2, 0, 5, 6);
    const auto r = ReceiveProgram(p, link, view, 32);
    ASSERT_TRUE(r) << r.reason();
    EXPECT_EQ(ended(), kClosedQuietly);
    EXPECT_EQ(shown(), "ZETO PX-32   1024|RECEIVING|SIZE 07|100");
    EXPECT_EQ(dir.read("_._"),
              "FUNZIONI 32-07\r\n0000\r\n0100640105DC\r\n FORMATO N. 01\r\nC 03\"GLUE\"\r\n 0100 0200\r\n"
              " FORMATO N. 07\r\nC 32\r\n 1000 0024\r\nEND\r\n");
    const CamData& d = r->data;
    // The last one: the tables in use are never touched.
    EXPECT_EQ((Ints{d.CamPos(1, 2, 150), d.CamPos(7, 31, 1010), d.CamPos(7, 31, 10), d.CamPos(2, 0, 5), d.EncShift,
                    d.SpeedLimit, p.CamPos(2, 0, 5)}),
              (Ints{1, 1, 1, 0, 100, 1500, 1}));
    EXPECT_EQ(d.CamRemark[2], "GLUE");

    // Without a cam count asked for, the program has the model the device reported.
    idReply = IdReply("32", "30", "180", '2');
    blocks = {"FUNZIONI 32-30", "00000000000", "000000000000000000000000", " FORMATO N. 30", "C 01",
              " 0001 0002",     "END"};
    const auto other = ReceiveProgram(p, link, view, std::nullopt);
    ASSERT_TRUE(other) << other.reason();
    EXPECT_EQ((Ints{other->data.NSizes, other->data.NMsgs, other->data.NEncoders, other->data.CamPos(30, 0, 1)}),
              (Ints{30, 180, 2, 1}));
}

// Each fault says why, once.
TEST(ReceiveProgram, APartialOrMisfitReceptionGivesNothing) {
    const std::string incomplete = "The reception did not end: nothing was taken from the device.";
    // name, the blocks the device sends, what is said
    const std::vector<std::tuple<const char*, Strings, Strings>> cases = {
        {"silent after two blocks", {"FUNZIONI 32-07", "0000"}, {"TIMEOUT SERIAL PORT ", incomplete}},
        {"another cam count", {"FUNZIONI 16-07", "00", "0000000000", "END"}, {"WRONG DSP  C.16"}},
        {"a size outside the model",
         {"FUNZIONI 32-07", "0000", "0100640105DC", " FORMATO N. 01", "C 01", " 0001 0002", " FORMATO N. 09", "END"},
         {"Size 9 is outside the sizes of the device model: nothing was taken from the device"}},
    };
    for (const auto& [name, blocks, messages] : cases) {
        SCOPED_TRACE(name);
        Bench b;
        b.blocks = blocks;
        EXPECT_FALSE(ReceiveProgram(b.p, b.link, b.view, 32));
        EXPECT_EQ(b.ended(), std::pair(false, messages));
    }
}

// Bytes that never make a frame end the reception at once; they never reach the reception file.
TEST_F(TransferFixture, StreamWithoutFrameEndsTheReceptionAtOnce) {
    port.device = [](FakePort& f, const std::string& w) {
        if (w == "?M\x8c\r") return f.reply(IdReply("32", "07", "255", '1'), 5);
        if (w == "?FR\xD7\r")
            for (int i = 0; i < 100; ++i) f.reply(std::string(1000, 'x'), 10 + i);
    };
    const std::int64_t start = clock.nowMs();
    EXPECT_FALSE(ReceiveProgram(p, link, view, std::nullopt));
    EXPECT_LT(since(start), 3000);
    EXPECT_EQ(std::tuple(prompt.messages().front(), std::filesystem::file_size(p.TmpFile)),
              std::tuple("TIMEOUT SERIAL PORT ", 0u));
}

TEST_F(TransferFixture, ReceptionFileIsNotWrittenThroughALink) {
    blocks = {"FUNZIONI 32-07", "END"};
    std::filesystem::create_symlink(dir.write("victim", "keep"), p.TmpFile);
    EXPECT_FALSE(ReceiveProgram(p, link, view, std::nullopt));
    EXPECT_EQ(dir.read("victim"), "keep");
}

TEST(MsgWire, LinesToTheDeviceAndFromTheFile) {
    EXPECT_EQ((Strings{MsgWireLine(7, "ALARM"), MsgWireLine(255, ""), MsgWireLine(1, "TWO\rLINES\n")}),
              (Strings{"N007\"ALARM\"\r", "N255\"\"\r", "N001\"TWO LINES \"\r"}));
    EXPECT_EQ((Ints{MsgSendProgress(128), MsgSendProgress(255)}), (Ints{50, 100}));
    EXPECT_EQ(std::pair(MsgReceiveProgress("N 090\"X\"", 180), MsgReceiveProgress("END", 180)),
              std::pair(std::optional(50), std::optional<int>()));
    EXPECT_EQ((Strings{DeviceLineLabel("KLM 32C ZETO X9K31 1\r"), DeviceLineLabel("AB"), DeviceLineLabel("")}),
              (Strings{"KLM 32C ZETO X9K31", "AB", ""}));
    for (auto [line, number, text] :
         std::vector<std::tuple<std::string, int, std::string>>{{"N. 007 \"ALARM\"", 7, "ALARM"},
                                                                {"N. 002", 2, ""},
                                                                {"N 010\"RECEIVED \"Q\"\"", 10, "RECEIVED \"Q\""},
                                                                {"N. 123 \"", 123, ""},
                                                                {"N", 0, ""}}) {
        const MsgSendLine m = ReadMsgSendLine(line);
        EXPECT_EQ(std::tie(m.number, m.text), std::tie(number, text)) << line;
    }
}

TEST_F(TransferFixture, TransmittedListGoesAsUnframedLinesAndEndOnce) {
    std::tie(p.NMsgs, p.AlarmMsg[1], p.AlarmMsg[3]) = std::tuple(3, "MOTOR OVERLOAD", "SAY \"HI\"");
    ASSERT_TRUE(TransmitMsgList(p, link, view));
    // ?AW's check character: 63 + 65 + 87 = 215.
    EXPECT_EQ(port.written, "?AW\xD7\rN001\"MOTOR OVERLOAD\"\rN002\"\"\rN003\"SAY \"HI\"\"\rEND\r");
    EXPECT_EQ(view.caption + "|" + view.operation + "|" + view.sizeLabel, "ZETO PX-32   1024|SENDING MESSAGES|");
    EXPECT_THAT(view.progress, ElementsAre(0, 0, 1));  // redrawn when the value changes
    EXPECT_FALSE(MsgSaved(p));                         // the scratch file is no save
    EXPECT_EQ(dir.read("~.~"), "N. 001 \"MOTOR OVERLOAD\"\r\nN. 002\r\nN. 003 \"SAY \"HI\"\"\r\n");
    EXPECT_EQ(ended(), kClosedQuietly);
}

// Nothing acknowledges the lines: the transmission lasts as long as its bytes take on the line.
TEST_F(TransferFixture, TransmissionKeepsToTheLineSpeed) {
    p.ComSpeed = 9600;
    const std::int64_t start = clock.nowMs();
    ASSERT_TRUE(TransmitMsgList(p, link, view));
    const std::int64_t bytes = static_cast<std::int64_t>(port.written.size());
    ASSERT_EQ(bytes, 5 + 255 * 7 + 4);  // "?AW" check CR, 255 lines N001"" CR, END CR
    EXPECT_THAT(since(start), AllOf(Ge((bytes - 5) * 10 * 1000 / 9600), Lt(bytes * 10 * 1000 / 9600 + 200)));
}

// A file goes up to its line "END"; lines end at CR alone too.
TEST_F(TransferFixture, AFileIsSentUpToItsEndAndMessagesBeyondTheDevicesAreTold) {
    const std::string half = dir.write("f.Msg", "N. 128 \"HALF\"\r\nEND\r\nN. 200 \"AFTER\"\r\n");
    ASSERT_TRUE(TransmitMsgFile(p, link, view, half, "KLM 32C"));
    EXPECT_EQ(port.written, "?AW\xD7\rN128\"HALF\"\rEND\r");
    EXPECT_EQ(shown(), "ZETO PX-32   1024|SENDING MESSAGES|KLM 32C|50");

    p.NMsgs = 2;
    port.written.clear();
    const std::string file = dir.write("three.Msg", "N. 001 \"A\"\rN. 002 \"B\"\rN. 003 \"C\"\r");
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(TransmitMsgFile(p, link, view, file, ""));
    EXPECT_EQ(ended(), std::pair(false, Strings{"three.Msg holds 1 message(s) beyond the 2 of the device: they are "
                                                "not sent.\rSend anyway?"}));
    EXPECT_EQ(port.written, "");
    prompt.push(Answer::Ok);
    ASSERT_TRUE(TransmitMsgFile(p, link, view, file, ""));
    EXPECT_EQ(port.written, "?AW\xD7\rN001\"A\"\rN002\"B\"\rN003\"C\"\rEND\r");
}

TEST_F(TransferFixture, AFileThatIsNoMessageFileSendsNothing) {
    for (const char* bytes : {"\r\nN. 001 \"A\"\r\n", "", "X. 001\r\n"}) {
        prompt.clear();
        EXPECT_FALSE(TransmitMsgFile(p, link, view, dir.write("bad.Msg", bytes), ""));
        ASSERT_EQ(prompt.asked().size(), 1u);
        EXPECT_EQ(std::tuple(prompt.asked()[0].text, prompt.asked()[0].icon, port.isOpen()),
                  std::tuple("bad.Msg - wrong file format", Icon::Stop, false));
    }
    EXPECT_EQ(port.written, "");
}

TEST_F(TransferFixture, ReceivedBlocksBecomeTheLinesOfTheFileAndTheList) {
    // A line break inside a text would shift every later message: it goes as blanks.
    blocks = {"N 001\"OIL LOW\"", "N 002\"A\r\nB\"", "N 003", "END"};
    idReply = IdReply("32", "07", "180", '1');
    const std::string path = MsgScratchPath(p);
    const MsgReception r = ReceiveMsgs(p, link, view, path, true);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.model.NMsgs, 180);
    EXPECT_EQ(dir.read("~.~"), "N 001\"OIL LOW\"\r\nN 002\"A  B\"\r\nN 003\r\nEND\r\n");
    EXPECT_EQ(port.written.substr(port.written.find("?AR")), "?AR\xD2\r\x06\x06\x06\x06");
    EXPECT_EQ(shown(), "ZETO PX-32   1024|RECEIVING MESSAGES||1");  // 3 * 100 / 180

    p.AlarmMsg[200] = "GONE";
    ASSERT_TRUE(ApplyMsgReception(p, r, path, r.model.NMsgs, prompt));
    EXPECT_EQ(std::tuple(p.NMsgs, p.MsgFile, MsgSaved(p)), std::tuple(180, path, true));
    EXPECT_EQ(Strings(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 6), (Strings{"OIL LOW", "A  B", " ", "", ""}));
    EXPECT_EQ(ended(), kClosedQuietly);
}

TEST_F(TransferFixture, ASilentDeviceEndsTheReceptionAndTheListStays) {
    blocks = {"N 001\"NEW\"", "N 002\"NEW\""};  // and then nothing
    std::tie(p.AlarmMsg[1], p.MsgFile) = std::tuple("OLD", dir.write("mine.Msg", "N. 001 \"OLD\"\r\n"));
    const std::int64_t start = clock.nowMs();
    const MsgReception r = ReceiveMsgs(p, link, view, MsgScratchPath(p), false);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(ended(), std::pair(false, Strings{"TIMEOUT SERIAL PORT "}));
    EXPECT_THAT(since(start), AllOf(Ge(30000), Lt(40000)));  // the 30 seconds of an empty block, once
    EXPECT_FALSE(ApplyMsgReception(p, r, MsgScratchPath(p), 255, prompt));
    EXPECT_EQ((Strings{p.AlarmMsg[1], p.MsgFile, dir.read("mine.Msg")}),
              (Strings{"OLD", dir.file("mine.Msg"), "N. 001 \"OLD\"\r\n"}));
}

TEST_F(TransferFixture, ADamagedBlockLeavesItsMessageEmptyAndIsAskedAbout) {
    blocks = {"N 001\"A\"", "N 002\"B\"", "N 003\"C\"", "END"};
    std::tie(spoil, p.LngTxt[270]) = std::tuple(2, "Damaged: %1");
    const std::string path = MsgScratchPath(p);
    const MsgReception r = ReceiveMsgs(p, link, view, path, false);
    ASSERT_TRUE(r.complete);
    EXPECT_THAT(r.damaged, ElementsAre(2));
    EXPECT_EQ(dir.read("~.~"), "N 001\"A\"\r\n\r\nN 003\"C\"\r\nEND\r\n");

    p.AlarmMsg[2] = "KEPT";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(ApplyMsgReception(p, r, path, 255, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(p.AlarmMsg[2], prompt.asked()[0].text, prompt.asked()[0].buttons),
              std::tuple("KEPT", "Damaged: 2", Buttons::OkCancelDefaultCancel));
    prompt.push(Answer::Ok);
    EXPECT_TRUE(ApplyMsgReception(p, r, path, 255, prompt));
    EXPECT_EQ(Strings(p.AlarmMsg.begin() + 2, p.AlarmMsg.begin() + 4), (Strings{"", "C"}));
}

TEST_F(TransferFixture, ADeviceThatNeverEndsIsStopped) {
    blocks.assign(3000, "N 001\"AGAIN\"");
    const MsgReception r = ReceiveMsgs(p, link, view, MsgScratchPath(p), false);
    EXPECT_EQ(std::pair(r.complete, prompt.messages()), std::pair(false, Strings{"TIMEOUT SERIAL PORT "}));
}

// "?M" answered with its line end and less three characters; silent: nothing more is said.
TEST_F(TransferFixture, TheShortIdentificationLineIsShownAsItIs) {
    for (auto [reply, shown] : std::vector<std::pair<std::string, std::optional<std::string>>>{
             {"AB\r", ""}, {"A\r", "A\r"}, {"", std::nullopt}}) {
        port.device = [reply = reply](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r" && !reply.empty()) f.reply(reply, 5);
        };
        EXPECT_EQ(AskDeviceLine(p, link), shown) << reply;
    }
    EXPECT_TRUE(prompt.messages().empty());
}

}  // namespace
}  // namespace cam
