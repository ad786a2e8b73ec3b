// The size transfer engine against a fake device: what goes on the wire, what comes back
// into the tables, and how each failure ends.
#include "core/link/size_transfer.h"
#include "core/camfile/cam_file.h"
#include "core/link/functions_wire.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_format.h"
#include "support/fake_port.h"
#include "support/scratch_folder.h"
#include "support/wire_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace cam {
namespace {

using camtest::Frame;
using camtest::IdReply;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;

// A 32-cam, 7-size program and a device that identifies itself, acknowledges every block it
// takes and, after "?FR", sends its own blocks one per ACK.
struct Bench : FakeLink {
    camtest::ScratchFolder dir;
    camtest::RecordingView view;

    std::string idReply = IdReply("32", "07", "255", '1');
    Strings received;     // block texts the device took
    Strings blocks;       // what the device sends, one block per ACK
    int ackAfter = -1;    // the device falls silent after this many blocks
    bool nakEnd = false;  // the device answers "END" with NAK

    Bench() {
        p.WorkDir = dir.str();
        p.TmpFile = dir.file("_._");
        ResizeTables(p);
        p.LngTxt[46] = "RECEIVING";
        p.LngTxt[47] = "TRANSMITTING";
        p.LngTxt[48] = "SIZE ";
        p.LngTxt[52] = "SIZE";
        port.device = [this](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r") return f.reply(idReply, 5);
            if ((w == "?FR\xD7\r" || w == "\x06") && !blocks.empty()) {
                f.reply(Frame(blocks.front()), 5);
                blocks.erase(blocks.begin());
            } else if (w.size() > 2 && w[0] == '\x02') {
                received.push_back(w.substr(1, w.find('\x03') - 1));
                if (ackAfter >= 0 && static_cast<int>(received.size()) > ackAfter) return;
                f.reply(nakEnd && received.back() == "END" ? "\x15" : "\x06", 2);
            }
        };
    }
    long count(const std::string& block) const { return std::count(received.begin(), received.end(), block); }
};

struct TransferFixture : Bench, ::testing::Test {};

TEST_F(TransferFixture, TransmitSendsFunctionsSizesAndEnd) {
    p.AdvOn = 1;
    p.NAdvCams = 3;
    p.AdvMs[0] = 10;
    p.AdvMs[1] = 200;
    p.AdvMs[2] = 5;
    SetPhase(p, 1, 2, 100, 200);
    p.CamRemark[2] = "GLUE";
    ASSERT_TRUE(SizeTransmit(p, link, view));
    ASSERT_GE(received.size(), 5u);
    EXPECT_EQ(Strings(received.begin(), received.begin() + 5),
              (Strings{"1000", "030AC805", "0000000000", "F01", "C 01\"  \""}));
    EXPECT_EQ(received.back(), "END");
    EXPECT_NE(port.written.find("?FW\xDC\r"), std::string::npos);  // 63 + 70 + 87 = 220
    EXPECT_EQ(count("F07"), 1);
    EXPECT_EQ(view.caption + "|" + view.operation + "|" + view.sizeLabel, "ZETO PX-32   1024|TRANSMITTING|SIZE 7");
    EXPECT_EQ(view.progress.back(), 100);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(TransferFixture, TheBlockTraceIsReplacedOnlyWhenTracing) {
    dir.write("TST.TXT", "the user's own file");
    ASSERT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(dir.read("TST.TXT"), "the user's own file");
    link.InDevEnvironment = true;
    ASSERT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(dir.read("TST.TXT").substr(0, 5), "0000\r");  // the first block of this transmission
}

// Each failure is said once, leaves the model of the tables as it was and closes the port.
TEST(SizeTransmit, FailuresAreToldOnce) {
    struct Case {
        const char* name;
        std::function<void(Bench&)> given;
        ::testing::Matcher<Strings> said;
        std::optional<std::size_t> taken;  // blocks the device took
        long ends;                         // "END" sent: never repeated
    };
    const std::vector<Case> cases = {
        {"silent device", [](Bench& b) { b.port.device = nullptr; },
         ElementsAre("KLM NOT FOUND\rCONTROL WIRING", "Info"), 0, 0},
        {"another cam count", [](Bench& b) { b.idReply = IdReply("16", "15", "255", '1'); },
         ElementsAre("WRONG DSP  C.16"), 0, 0},
        {"an always-ON cam, cancelled",
         [](Bench& b) {
             SetPhase(b.p, 2, 0, 0, 1024);
             b.prompt.push(Answer::Cancel);
         },
         ElementsAre(HasSubstr("always ON")), 0, 0},
        {"silent after five blocks", [](Bench& b) { b.ackAfter = 4; }, ElementsAre("TIMEOUT SERIAL PORT "), 5, 0},
        {"END refused", [](Bench& b) { b.nakEnd = true; }, ElementsAre(HasSubstr("did not acknowledge the end")),
         std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        c.given(b);
        EXPECT_FALSE(SizeTransmit(b.p, b.link, b.view).sent);
        EXPECT_THAT(b.prompt.messages(), c.said);
        if (c.taken) {
            EXPECT_EQ(b.received.size(), *c.taken);
        }
        if (c.taken == 0u) {
            EXPECT_EQ(b.port.written.find("?FW"), std::string::npos);
        }
        EXPECT_EQ(b.count("END"), c.ends);
        EXPECT_EQ(b.p.NCams, 32);
        EXPECT_EQ(b.p.NSizes, 7);
        EXPECT_FALSE(b.port.isOpen());
    }
}

TEST_F(TransferFixture, DifferentSizeCountSendsTheSizesBothHold) {
    idReply = IdReply("32", "30", "255", '1');
    prompt.push(Answer::Ok);
    EXPECT_TRUE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages(), ElementsAre(HasSubstr("sizes 1 to 7 are sent")));
    EXPECT_EQ(count("F07"), 1);
    EXPECT_EQ(count("F08"), 0);
    EXPECT_EQ(p.NSizes, 7);
}

TEST_F(TransferFixture, AnotherEncoderCountIsToldAndTheDataKeepsItsOwn) {
    p.NEncoders = 2;
    p.EncShift2 = 500;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages(), ElementsAre(HasSubstr("2 encoder(s) and the device has 1")));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(p.NEncoders, 2);  // a later save still writes encoder 2

    prompt.push(Answer::Ok);
    EXPECT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(received[1], "0000000000");  // the one-encoder form: no group advances, no encoder 2
    EXPECT_EQ(received[2], "F01");
    EXPECT_EQ(p.NEncoders, 2);
}

// Values the wire fields cannot carry are told before sending and go out as the nearest
// value the field carries: a direction of 2 as 1, a negative shift as 0, 1000 as 999.
TEST_F(TransferFixture, ValuesWiderThanTheirFieldsAreToldAndSentAsTheNearest) {
    p.NEncoders = 1;
    p.RotDir = 2;
    p.EncShift = -5;
    p.SpeedLimit = 12000;
    p.OutSize = 5;
    prompt.push(Answer::Ok);
    const TransmitResult r = SizeTransmit(p, link, view);
    ASSERT_TRUE(r.sent);
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_THAT(prompt.messages()[0], HasSubstr("Direction of encoder 1 2 does not fit its field: sent as 1"));
    EXPECT_THAT(prompt.messages()[0], HasSubstr("Phase shift of encoder 1 -5 does not fit its field: sent as 0"));
    EXPECT_THAT(prompt.messages()[0], HasSubstr("Speed limit 12000 does not fit its field: sent as 9999"));
    EXPECT_EQ(received[1], "0500019999");
    EXPECT_EQ(r.sizes, 7);
}

// What the device holds after a transmission is what the check after sending compares:
// no remark of a cam without a phase in size 1, at most 181 phases, no always-ON cam.
TEST(ExpectedOnDevice, HoldsWhatTheDeviceFormCarries) {
    Program p;
    ResizeTables(p);
    p.NEncoders = 1;
    p.CamRemark[0] = "KEPT";
    SetPhase(p, 1, 0, 10, 20);
    p.CamRemark[1] = "DROPPED";
    SetPhase(p, 2, 1, 30, 40);
    for (int k = 0; k < 200; ++k) SetPhase(p, 1, 2, 2 * k + 1, 2 * k + 2);
    SetPhase(p, 3, 3, 0, 1024);
    p.RotDir = 3;
    Program e = ExpectedOnDevice(p, 7, 1);
    EXPECT_EQ(e.CamRemark[0], "KEPT");
    EXPECT_TRUE(TrimBlanks(e.CamRemark[1]).empty());
    EXPECT_EQ(e.CamPos(2, 1, 35), 1);
    int phases = 0;
    for (int q = 0; q < kPositions; ++q) phases += e.CamPos(1, 2, q);
    EXPECT_EQ(phases, 181);
    EXPECT_EQ(e.CamPos(3, 3, 500), 0);
    EXPECT_EQ(e.RotDir, 1);
    EXPECT_EQ(p.RotDir, 3);  // the data itself is not changed
    // Held texts differ where the device does not hold the data.
    EXPECT_NE(HeldText(e, 7), HeldText(p, 7));
    Program same = ExpectedOnDevice(e, 7, 1);
    EXPECT_EQ(HeldText(same, 7), HeldText(e, 7));
}

// ---- reception

TEST_F(TransferFixture, ReceivesIntoTheReceptionFileAndAProgramOfItsOwn) {
    blocks = {"FUNZIONI 32-07", "0000",           "0100640105DC", " FORMATO N. 01", "C 03\"GLUE\"",
              " 0100 0200",     " FORMATO N. 07", "C 32",         " 1000 0024",     "END"};
    SetPhase(p, 2, 0, 5, 6);
    const auto r = ReceiveProgram(p, link, view, 32);
    ASSERT_TRUE(r) << r.reason();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(view.sizeLabel, "SIZE 07");
    EXPECT_EQ(view.progress.back(), 100);
    EXPECT_EQ(dir.read("_._"),
              "FUNZIONI 32-07\r\n0000\r\n0100640105DC\r\n FORMATO N. 01\r\nC 03\"GLUE\"\r\n 0100 0200\r\n"
              " FORMATO N. 07\r\nC 32\r\n 1000 0024\r\nEND\r\n");
    const CamData& d = r->data;
    EXPECT_EQ((std::vector<int>{d.CamPos(1, 2, 150), d.CamPos(7, 31, 1010), d.CamPos(7, 31, 10), d.CamPos(2, 0, 5),
                                d.EncShift, d.SpeedLimit}),
              (std::vector<int>{1, 1, 1, 0, 100, 1500}));
    EXPECT_EQ(d.CamRemark[2], "GLUE");
    EXPECT_EQ(p.CamPos(2, 0, 5), 1);  // the tables in use are never touched
    EXPECT_TRUE(prompt.messages().empty());

    // Without a cam count asked for, the program has the model the device reported.
    idReply = IdReply("32", "30", "180", '2');
    blocks = {"FUNZIONI 32-30", "00000000000", "000000000000000000000000", " FORMATO N. 30", "C 01",
              " 0001 0002",     "END"};
    const auto other = ReceiveProgram(p, link, view, std::nullopt);
    ASSERT_TRUE(other) << other.reason();
    EXPECT_EQ(
        (std::vector<int>{other->data.NSizes, other->data.NMsgs, other->data.NEncoders, other->data.CamPos(30, 0, 1)}),
        (std::vector<int>{30, 180, 2, 1}));
}

// Only a whole reception of a model that fits comes back; each fault says why, once.
TEST(ReceiveProgram, APartialOrMisfitReceptionGivesNothing) {
    const std::string incomplete = "The reception did not end: nothing was taken from the device.";
    struct Case {
        const char* name;
        Strings blocks;
        Strings messages;
    };
    const std::vector<Case> cases = {
        {"silent after two blocks", {"FUNZIONI 32-07", "0000"}, {"TIMEOUT SERIAL PORT ", incomplete}},
        {"another cam count", {"FUNZIONI 16-07", "00", "0000000000", "END"}, {"WRONG DSP  C.16"}},
        {"a size outside the model",
         {"FUNZIONI 32-07", "0000", "0100640105DC", " FORMATO N. 01", "C 01", " 0001 0002", " FORMATO N. 09", "END"},
         {"Size 9 is outside the sizes of the device model: nothing was taken from the device"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.blocks = c.blocks;
        EXPECT_FALSE(ReceiveProgram(b.p, b.link, b.view, 32));
        EXPECT_EQ(b.prompt.messages(), c.messages);
        EXPECT_FALSE(b.port.isOpen());
    }
}

// Bytes that never make a frame end the reception at once; they never reach the reception
// file.
TEST_F(TransferFixture, StreamWithoutFrameEndsTheReceptionAtOnce) {
    port.device = [](FakePort& f, const std::string& w) {
        if (w == "?M\x8c\r") return f.reply(IdReply("32", "07", "255", '1'), 5);
        if (w == "?FR\xD7\r")
            for (int i = 0; i < 100; ++i) f.reply(std::string(1000, 'x'), 10 + i);
    };
    const std::int64_t start = clock.nowMs();
    EXPECT_FALSE(ReceiveProgram(p, link, view, std::nullopt));
    EXPECT_LT(clock.nowMs() - start, 3000);
    EXPECT_EQ(prompt.messages().front(), "TIMEOUT SERIAL PORT ");
    EXPECT_EQ(std::filesystem::file_size(p.TmpFile), 0u);
}

// A link planted at the reception file's path is not followed.
TEST_F(TransferFixture, ReceptionFileIsNotWrittenThroughALink) {
    blocks = {"FUNZIONI 32-07", "END"};
    std::filesystem::create_symlink(dir.write("victim", "keep"), p.TmpFile);
    EXPECT_FALSE(ReceiveProgram(p, link, view, std::nullopt));
    EXPECT_EQ(dir.read("victim"), "keep");
}

}  // namespace
}  // namespace cam
