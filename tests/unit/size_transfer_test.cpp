// The size transfer engine against a fake device: what goes on the wire, what comes back
// into the tables, and how each failure ends.
#include "core/link/size_transfer.h"
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_format.h"
#include "core/link/functions_wire.h"
#include "support/fake_port.h"
#include "support/wire_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace cam {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using namespace std::string_literals;

// An identification line with the brand at position 12 and the encoder digit at 50.
using camtest::IdReply;
using camtest::Frame;
using View = camtest::RecordingView;

struct TransferFixture : ::testing::Test {
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    Link link{port, clock, prompt};
    Program p;
    View view;
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("camdesk-transfer-" + std::to_string(::getpid()));

    std::string idReply = IdReply("32", "07", "255", '1');
    std::vector<std::string> received;  // block texts the device took
    int ackAfter = -1;                  // the device falls silent after this many blocks

    void SetUp() override {
        std::filesystem::create_directories(dir);
        p.WorkDir = dir.string();
        p.TmpFile = (dir / "_._").string();
        ResizeTables(p);  // 32 cams, 7 sizes
        p.LngTxt[46] = "RECEIVING";
        p.LngTxt[47] = "TRANSMITTING";
        p.LngTxt[48] = "SIZE ";
        p.LngTxt[52] = "SIZE";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // A device that identifies itself and acknowledges every block.
    void acknowledgingDevice() {
        port.device = [this](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r") return f.reply(idReply, 5);
            if (w.size() > 2 && w[0] == '\x02') {
                received.push_back(w.substr(1, w.find('\x03') - 1));
                if (ackAfter >= 0 && static_cast<int>(received.size()) > ackAfter) return;
                f.reply("\x06", 2);
            }
        };
    }
};

TEST_F(TransferFixture, TransmitSendsFunctionsSizesAndEnd) {
    acknowledgingDevice();
    p.AdvOn = 1;
    p.NAdvCams = 3;
    p.AdvMs[0] = 10;
    p.AdvMs[1] = 200;
    p.AdvMs[2] = 5;
    SetPhase(p, 1, 2, 100, 200);
    p.CamRemark[2] = "GLUE";
    ASSERT_TRUE(SizeTransmit(p, link, view));
    ASSERT_GE(received.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(received.begin(), received.begin() + 5),
              (std::vector<std::string>{"1000", "030AC805", "0000000000", "F01", "C 01\"  \""}));
    EXPECT_EQ(received.back(), "END");
    EXPECT_NE(port.written.find("?FW\xDC\r"), std::string::npos);  // 63 + 70 + 87 = 220
    EXPECT_EQ(std::count(received.begin(), received.end(), "F07"), 1);
    EXPECT_EQ(view.caption + "|" + view.operation + "|" + view.sizeLabel, "ZETO PX-32   1024|TRANSMITTING|SIZE 7");
    EXPECT_EQ(view.progress.back(), 100);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(TransferFixture, TheBlockTraceIsReplacedOnlyWhenTracing) {
    acknowledgingDevice();
    const auto trace = dir / "TST.TXT";
    std::ofstream(trace) << "the user's own file";
    ASSERT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(std::filesystem::file_size(trace), std::string("the user's own file").size());

    link.InDevEnvironment = true;
    ASSERT_TRUE(SizeTransmit(p, link, view));
    std::ifstream in(trace, std::ios::binary);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "0000\r");  // the first block of this transmission
}

TEST_F(TransferFixture, FirstTimeoutEndsTheTransmissionWithOneMessage) {
    acknowledgingDevice();
    ackAfter = 4;
    EXPECT_FALSE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages(), ElementsAre("TIMEOUT SERIAL PORT "));
    EXPECT_EQ(received.size(), 5u);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(TransferFixture, DifferentCamCountIsRefusedAndTheModelStays) {
    idReply = IdReply("16", "15", "255", '1');
    acknowledgingDevice();
    EXPECT_FALSE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages(), ElementsAre("WRONG DSP  C.16"));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(p.NCams, 32);
    EXPECT_EQ(p.NSizes, 7);
}

TEST_F(TransferFixture, DifferentSizeCountSendsTheSizesBothHold) {
    idReply = IdReply("32", "30", "255", '1');
    acknowledgingDevice();
    prompt.push(Answer::Ok);
    EXPECT_TRUE(SizeTransmit(p, link, view));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_THAT(prompt.messages()[0], HasSubstr("sizes 1 to 7 are sent"));
    EXPECT_EQ(std::count(received.begin(), received.end(), "F07"), 1);
    EXPECT_EQ(std::count(received.begin(), received.end(), "F08"), 0);
    EXPECT_EQ(p.NSizes, 7);
}

TEST_F(TransferFixture, LossesCanBeCancelledBeforeAnythingIsSent) {
    acknowledgingDevice();
    SetPhase(p, 2, 0, 0, 1024);
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages()[0], HasSubstr("always ON"));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(port.written.find("?FW"), std::string::npos);
}

TEST_F(TransferFixture, AnotherEncoderCountIsToldAndTheDataKeepsItsOwn) {
    idReply = IdReply("32", "07", "255", '1');
    acknowledgingDevice();
    p.NEncoders = 2;
    p.EncShift2 = 500;
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(SizeTransmit(p, link, view));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_THAT(prompt.messages()[0], HasSubstr("2 encoder(s) and the device has 1"));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(p.NEncoders, 2);  // a later save still writes encoder 2

    prompt.push(Answer::Ok);
    EXPECT_TRUE(SizeTransmit(p, link, view));
    EXPECT_EQ(received[1], "0000000000");  // the one-encoder form: no group advances, no encoder 2
    EXPECT_EQ(received[2], "F01");
    EXPECT_EQ(p.NEncoders, 2);
}

// A device that answers "END" with NAK has not taken the transmission: a failure, said once.
TEST_F(TransferFixture, EndRefusedIsAFailure) {
    port.device = [this](FakePort& f, const std::string& w) {
        if (w == "?M\x8c\r") return f.reply(idReply, 5);
        if (w.size() > 2 && w[0] == '\x02') {
            received.push_back(w.substr(1, w.find('\x03') - 1));
            f.reply(received.back() == "END" ? "\x15" : "\x06", 2);
        }
    };
    const TransmitResult r = SizeTransmit(p, link, view);
    EXPECT_FALSE(r.sent);
    EXPECT_EQ(std::count(received.begin(), received.end(), "END"), 1);  // not repeated
    EXPECT_THAT(prompt.messages(), ElementsAre(HasSubstr("did not acknowledge the end")));
}

// Values the wire fields cannot carry are told before sending and go out as the nearest
// value the field carries: a direction of 2 as 1, a negative shift as 0, 1000 as 999.
TEST_F(TransferFixture, ValuesWiderThanTheirFieldsAreToldAndSentAsTheNearest) {
    acknowledgingDevice();
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

TEST_F(TransferFixture, UnidentifiedDeviceShowsInfo) {
    port.device = [](FakePort&, const std::string&) {};  // silent
    EXPECT_FALSE(SizeTransmit(p, link, view));
    EXPECT_THAT(prompt.messages(), ElementsAre("KLM NOT FOUND\rCONTROL WIRING", "Info"));
}

// ---- reception

struct ReceiveFixture : TransferFixture {
    std::vector<std::string> blocks;  // what the device sends, one block per ACK
    void sendingDevice() {
        port.device = [this](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r") return f.reply(idReply, 5);
            auto next = [this, &f] {
                if (!blocks.empty()) {
                    f.reply(Frame(blocks.front()), 5);
                    blocks.erase(blocks.begin());
                }
            };
            if (w == "?FR\xD7\r" || w == "\x06") next();
        };
    }
};

TEST_F(ReceiveFixture, ReceivesIntoTheReceptionFileAndAProgramOfItsOwn) {
    blocks = {"FUNZIONI 32-07", "0000",           "0100640105DC", " FORMATO N. 01", "C 03\"GLUE\"",
              " 0100 0200",     " FORMATO N. 07", "C 32",         " 1000 0024",     "END"};
    sendingDevice();
    SetPhase(p, 2, 0, 5, 6);
    const auto r = ReceiveProgram(p, link, view, 32);
    ASSERT_TRUE(r) << r.reason();
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(view.sizeLabel, "SIZE 07");
    EXPECT_EQ(view.progress.back(), 100);
    std::ifstream in(p.TmpFile, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(),
              "FUNZIONI 32-07\r\n0000\r\n0100640105DC\r\n FORMATO N. 01\r\nC 03\"GLUE\"\r\n 0100 0200\r\n"
              " FORMATO N. 07\r\nC 32\r\n 1000 0024\r\nEND\r\n");
    const CamData& d = r->data;
    EXPECT_EQ((std::vector<int>{d.CamPos(1, 2, 150), d.CamPos(7, 31, 1010), d.CamPos(7, 31, 10), d.CamPos(2, 0, 5),
                                d.EncShift, d.SpeedLimit}),
              (std::vector<int>{1, 1, 1, 0, 100, 1500}));
    EXPECT_EQ(d.CamRemark[2], "GLUE");
    EXPECT_EQ(p.CamPos(2, 0, 5), 1);  // the tables in use are never touched
    EXPECT_TRUE(prompt.messages().empty());
}

// Only a whole reception of a model that fits comes back; each fault says why, once.
TEST_F(ReceiveFixture, APartialOrMisfitReceptionGivesNothing) {
    const std::string incomplete = "The reception did not end: nothing was taken from the device.";
    struct Case {
        const char* name;
        std::vector<std::string> blocks;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"silent after two blocks", {"FUNZIONI 32-07", "0000"}, {"TIMEOUT SERIAL PORT ", incomplete}},
        {"another cam count", {"FUNZIONI 16-07", "00", "0000000000", "END"}, {"WRONG DSP  C.16"}},
        {"a size outside the model",
         {"FUNZIONI 32-07", "0000", "0100640105DC", " FORMATO N. 01", "C 01", " 0001 0002", " FORMATO N. 09", "END"},
         {"Size 9 is outside the sizes of the device model: nothing was taken from the device"}},
    };
    for (const Case& c : cases) {
        prompt.clear();
        blocks = c.blocks;
        sendingDevice();
        const auto r = ReceiveProgram(p, link, view, 32);
        EXPECT_FALSE(r) << c.name;
        EXPECT_EQ(prompt.messages(), c.messages) << c.name;
        EXPECT_FALSE(port.isOpen()) << c.name;
    }
}

// Bytes that never make a frame end the reception at once; they never reach the reception
// file.
TEST_F(ReceiveFixture, StreamWithoutFrameEndsTheReceptionAtOnce) {
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
TEST_F(ReceiveFixture, ReceptionFileIsNotWrittenThroughALink) {
    blocks = {"FUNZIONI 32-07", "END"};
    sendingDevice();
    const auto victim = dir / "victim";
    std::ofstream(victim) << "keep";
    std::filesystem::create_symlink(victim, p.TmpFile);
    EXPECT_FALSE(ReceiveProgram(p, link, view, std::nullopt));
    EXPECT_EQ(std::filesystem::file_size(victim), 4u);
}

TEST_F(ReceiveFixture, TheProgramHasTheModelTheDeviceReported) {
    idReply = IdReply("32", "30", "180", '2');
    blocks = {"FUNZIONI 32-30", "00000000000", "000000000000000000000000", " FORMATO N. 30", "C 01",
              " 0001 0002",     "END"};
    sendingDevice();
    const auto r = ReceiveProgram(p, link, view, std::nullopt);
    ASSERT_TRUE(r) << r.reason();
    EXPECT_EQ((std::vector<int>{r->data.NSizes, r->data.NMsgs, r->data.NEncoders, r->data.CamPos(30, 0, 1)}),
              (std::vector<int>{30, 180, 2, 1}));
}

}  // namespace
}  // namespace cam
