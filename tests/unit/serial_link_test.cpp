// The serial link and the identification of the device by its "?M" reply, against a fake
// port and a fake clock; wire bytes are written out.
#include "core/link/serial_link.h"
#include "core/link/identify.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace cam {
namespace {

using ::testing::AllOf;
using ::testing::Ge;
using ::testing::Le;
using Device = std::function<void(FakePort&, const std::string&)>;
using Arrivals = std::vector<std::pair<std::string, int>>;  // bytes and when they arrive, in ms
using Strings = std::vector<std::string>;

// Frame bytes restated: STX, text, ETX, then the checksum character.
const std::string STX = "\x02", ETX = "\x03";

struct Wire : FakeLink {
    // Opens the port and forgets what opening it wrote.
    void openPort() {
        (void)OpenPort(p, link);
        ASSERT_TRUE(port.isOpen());
        port.writes.clear();
        port.written.clear();
    }
};

struct LinkFixture : Wire, ::testing::Test {};

// The sum of the characters, modulo 256; a sum below 32 gets 32 more. Blocks carry the XOR of
// their text and ETX; XOR 5 is sent as code 37. The block checksum stops at the first ETX.
TEST(Checksums, CommandSumsAndBlockXors) {
    for (auto [command, sum] : std::vector<std::pair<std::string, int>>{
             {"?FR", 215}, {"?M", 140}, {":FU", 213}, {"\x01\x02", 35}, {"\x0F\x10", 63}, {"\x10\x10", 32}})
        EXPECT_EQ(static_cast<unsigned char>(CommandChecksum(command)), sum) << command;
    for (auto [text, sum] :
         std::vector<std::pair<std::string, std::string>>{{"ABC", "C"}, {"1000", "\""}, {"AG", "%"}, {"END", "L"}})
        EXPECT_EQ(BlockFrame(text), STX + text + ETX + sum) << text;
    EXPECT_EQ(BlockChecksum(STX + "ABC" + ETX + "ZZZ" + ETX), 'C');
    EXPECT_EQ(PortSettingsText(19200), "19200,n,8,1");
}

TEST_F(LinkFixture, OpenPortSetsSpeedAndHandshakeAndKeepsAnOpenPortOpen) {
    std::tie(p.ComPort, p.ComSpeed) = std::tuple(3, 19200);
    EXPECT_TRUE(OpenPort(p, link).ok());
    EXPECT_EQ(std::tuple(link.PortStatus, port.openedName, port.speed, port.rtsCts),
              std::tuple(0, "/dev/ttyS2", 19200L, true));
    p.ComSpeed = 2400;
    (void)OpenPort(p, link);
    EXPECT_EQ(std::tuple(port.opens, port.speed), std::tuple(1, 2400L));
    ClosePort(link);
    p.ComDevice = "/dev/pts/7";
    (void)OpenPort(p, link);
    EXPECT_EQ(port.openedName, "/dev/pts/7");

    // A port that went away since the last exchange is opened anew.
    port.hungUp = true;
    (void)OpenPort(p, link);
    EXPECT_EQ(std::tuple(port.opens, link.PortStatus, port.isOpen(), prompt.messages()),
              std::tuple(3, 0, true, Strings{}));
    // And gone for good: said once, with the port as the user names it.
    std::tie(port.hungUp, port.failOpen) = std::tuple(true, true);
    p.ComDevice.clear();
    EXPECT_FALSE(OpenPort(p, link).ok());
    ASSERT_EQ(std::pair(link.PortStatus, prompt.asked().size()), std::pair(2, std::size_t{1}));
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].title, prompt.asked()[0].icon),
              std::tuple("Errore  2 generato da QSerialPort\rCOM3: Permission denied", "Errore su COM3", Icon::Stop));
    // A command on a port that does not open writes nothing.
    p.ComDevice = "/dev/ttyUSB1";
    prompt.clear();
    EXPECT_EQ(SerialComStr(p, link, "?M"), "");
    EXPECT_EQ(std::tuple(port.written, prompt.asked().at(0).title), std::tuple("", "Errore su /dev/ttyUSB1"));

    // CTS absent closes the port quietly; present again, it opens.
    std::tie(port.failOpen, port.ctsState) = std::tuple(false, LineState::NotAsserted);
    prompt.clear();
    EXPECT_FALSE(OpenPort(p, link).ok());
    EXPECT_EQ(std::tuple(link.PortStatus, port.isOpen(), prompt.messages()), std::tuple(1, false, Strings{}));
    port.ctsState = LineState::Asserted;
    EXPECT_TRUE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 0);
}

// What a user can mend is said in words of what to do, with the port; a port that cannot be
// opened is no missing device.
TEST_F(LinkFixture, PermissionAndLockFailuresSayWhatToDo) {
    std::tie(port.failOpen, p.ComDevice) = std::tuple(true, "/dev/ttyUSB3");
    for (auto [error, said] : std::initializer_list<std::pair<PortError, std::string>>{
             {{2, "QSerialPort", "Permission denied", PortError::NoPermission}, "add your user to the dialout group"},
             {{2, "QSerialPort", "Permission error while locking the device", PortError::InUse},
              "/dev/ttyUSB3: The port is in use by another program."},
             {{16, "LCK..", "busy", PortError::InUse, 4711},
              "/dev/ttyUSB3: The port is in use by another program (process 4711)."},
             {{1, "open", "No such file or directory", PortError::NotFound}, "/dev/ttyUSB3: There is no such port."}}) {
        prompt.clear();
        port.openError = error;
        EXPECT_FALSE(IdentifyDevice(p, link));
        EXPECT_THAT(prompt.messages(), ::testing::ElementsAre(::testing::HasSubstr(said)));
    }
}

// A command's reply is taken up to its first line end, as soon as that arrives; a silent or
// lost device ends it after 2 s at most, quietly, with the port closed.
TEST(SerialComStr, RepliesEchoesAndSilence) {
    // name, device, the reply, ReadError and the port open after it, how long the command takes (ms)
    const std::vector<std::tuple<const char*, Device, std::string, bool, bool, std::int64_t, std::int64_t>> cases = {
        {"LF only", [](FakePort& f, const std::string&) { f.reply("  KLM\n", 120); }, "KLM\n", false, true, 120, 200},
        {"in pieces",
         [](FakePort& f, const std::string&) {
             f.reply("KLM 3", 10);
             f.reply("2C", 400);
             f.reply("60\rREST\n", 900);
             f.reply("LATER\r", 950);
         },
         "KLM 32C60\rREST\n", false, true, 900, 949},
        {"silent", nullptr, "", true, false, 2010, 2099},
        {"echo", [](FakePort& f, const std::string& w) { f.reply(w, 1); }, "?M\x8C\r", true, true, 0, 100},
        {"unplugged", [](FakePort& f, const std::string&) { f.unplugAfter(300); }, "", true, false, 300, 1999},
    };
    for (const auto& [name, device, reply, readError, open, minMs, maxMs] : cases) {
        SCOPED_TRACE(name);
        Wire w;
        w.port.device = device;
        const std::int64_t start = w.clock.nowMs();
        EXPECT_EQ(SerialComStr(w.p, w.link, "?M"), reply);
        EXPECT_THAT(w.since(start), AllOf(Ge(minMs), Le(maxMs)));
        EXPECT_LT(w.port.waits, 5);  // the wait sleeps on the port; it does not spin
        EXPECT_EQ(std::tuple(w.port.written, w.p.ReadError, w.port.isOpen(), w.prompt.messages()),
                  std::tuple("?M\x8C\r", readError, open, Strings{}));
    }
}

// Input left from before is discarded once; a NAK has the block sent again, at most ten times
// more, except "END", whose answer is final.
TEST(SendBlock, AnswersRepeatsAndTimeOut) {
    const std::string ack = "\x06", nak = "\x15";
    const std::string refusedF07 = "The device refused the block \"F07\" 11 times: the transfer was stopped.";
    // block, check character, the answer to each send (the last one repeats), result, sends, what is said
    const std::vector<std::tuple<std::string, char, Strings, SendResult, std::size_t, Strings>> cases = {
        {"1000", '"', {ack}, SendResult::Acked, 1, {}},
        {"ABC", 'C', {nak, nak, ack}, SendResult::Acked, 3, {}},
        {"END", 'L', {nak}, SendResult::Answered, 1, {}},
        {"F07", 'B', {nak}, SendResult::Refused, 11, {refusedF07}},
        {"F01", 'D', {}, SendResult::TimedOut, 1, {"TIMEOUT SERIAL PORT "}},
    };
    for (const auto& [text, sum, answers, result, sends, said] : cases) {
        SCOPED_TRACE(text);
        Wire w;
        w.openPort();
        w.port.reply("stale");
        w.port.device = [&answers = answers](FakePort& f, const std::string&) {
            if (!answers.empty()) f.reply(answers[std::min(f.writes.size(), answers.size()) - 1], 5);
        };
        const std::int64_t start = w.clock.nowMs();
        EXPECT_EQ(SendBlock(w.p, w.link, text), result);
        EXPECT_EQ(w.port.writes, std::vector<std::string>(sends, STX + text + ETX + sum));
        // The port stays open: the transmission goes on with its next block.
        EXPECT_EQ(std::tuple(w.port.inputDiscards, w.prompt.messages(), w.port.isOpen()), std::tuple(1, said, true));
        if (result == SendResult::TimedOut) {
            EXPECT_THAT(w.since(start), AllOf(Ge(3000), Le(3099)));
            EXPECT_EQ(w.prompt.asked()[0].buttons, Buttons::Ok);
        }
    }
}

TEST_F(LinkFixture, PortLostDuringABlockIsReportedOnce) {
    openPort();
    port.device = [](FakePort& f, const std::string&) { f.unplugAfter(100); };
    EXPECT_EQ(SendBlock(p, link, "F01"), SendResult::PortLost);
    EXPECT_EQ(SendBlock(p, link, "F02"), SendResult::PortLost);
    EXPECT_EQ(prompt.messages(),
              (Strings{"TIMEOUT SERIAL PORT ", "The line to the device went away: COM1: Resource error"}));
}

// Every frame that ends is acknowledged, good or bad; nothing else is. The first character
// may take 30 s, the next ones 3 s each.
TEST(ReceiveBlock, FramesNoiseSilenceAndLostPorts) {
    const Arrivals late = {{STX + "AB", 29000}, {"C" + ETX, 31500}, {"C", 34400}};
    Arrivals flood;
    for (int i = 0; i < 100; ++i) flood.emplace_back(std::string(1000, 'x'), i * 10);
    struct Case {
        const char* name;
        Arrivals arrivals;
        ReceivedBlock::Outcome outcome;
        std::string text, ack;
        std::int64_t minMs = 0, maxMs = 40000;  // how long the reception takes
        int unplugAt = -1;
    };
    const std::vector<Case> cases = {
        {"stray character first", {{"x" + STX + "ABC" + ETX + "C", 100}}, ReceivedBlock::Block, "ABC", "\x06"},
        {"late first character", late, ReceivedBlock::Block, "ABC", "\x06"},
        {"bad checksum", {{STX + "ABC" + ETX + "D", 0}}, ReceivedBlock::BadFrame, "", "\x06"},
        {"no STX", {{"xyABC" + ETX + "C", 0}}, ReceivedBlock::BadFrame, "", "\x06"},
        {"ETX before STX", {{ETX + STX + "A", 0}}, ReceivedBlock::BadFrame, "", "\x06"},
        {"silent", {}, ReceivedBlock::Silent, "", "", 30000, 30099},
        {"silent mid-block", {{STX + "AB", 10}}, ReceivedBlock::Silent, STX + "AB", "", 3010},
        {"no frame end", flood, ReceivedBlock::Overflow, std::string(kMaxBlockBytes, 'x'), ""},
        {"port lost", {{STX + "AB", 10}}, ReceivedBlock::PortLost, STX + "AB", "", 500, 999, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Wire w;
        w.openPort();
        for (const auto& [bytes, at] : c.arrivals) w.port.reply(bytes, at);
        if (c.unplugAt >= 0) w.port.unplugAfter(c.unplugAt);
        const std::int64_t start = w.clock.nowMs();
        const ReceivedBlock got = ReceiveBlock(w.link);
        EXPECT_EQ(got.outcome, c.outcome);
        if (c.outcome != ReceivedBlock::BadFrame) {
            EXPECT_EQ(got.text, c.text);
        }
        EXPECT_THAT(w.since(start), AllOf(Ge(c.minMs), Le(c.maxMs)));
        EXPECT_EQ(std::tuple(w.port.written, w.port.outputDiscards, w.port.isOpen()),
                  std::tuple(c.ack, static_cast<int>(c.ack.size()), c.unplugAt < 0));
    }
}

TEST_F(LinkFixture, BytesAfterTheChecksumAreKeptForTheNextBlock) {
    openPort();
    port.reply(STX + "ABC" + ETX + "C" + STX + "DEF" + ETX + "D" + STX + "END" + ETX + "L");
    EXPECT_EQ((Strings{ReceiveBlock(link).text, ReceiveBlock(link).text, ReceiveBlock(link).text}),
              (Strings{"ABC", "DEF", "END"}));
    EXPECT_EQ(port.written, "\x06\x06\x06");
}

using Model = std::array<int, 4>;  // cams, sizes, messages, encoders

// Brand at position 16: cams at 5, sizes at 8, messages at 11, encoders at 54.
const std::string kReply = "KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2";

struct Identify : FakeLink {
    void device(std::string line) {
        port.device = [line](FakePort& f, const std::string& w) {
            if (!w.empty() && w.back() == '\r') f.reply(line + "\r", 30);
        };
    }
    bool identify() { return IdentifyDevice(p, port, clock, prompt); }
    void setModel(Model m) { std::tie(p.NCams, p.NSizes, p.NMsgs, p.NEncoders) = std::tuple(m[0], m[1], m[2], m[3]); }
    Model model() const { return {p.NCams, p.NSizes, p.NMsgs, p.NEncoders}; }
    // the port open, the changes of RTS, what was said
    std::tuple<bool, std::vector<bool>, Strings> ended() const {
        return {port.isOpen(), port.rtsChanges, prompt.messages()};
    }
};

// A device that answered and is not supported: the port closed with RTS dropped, said once.
const std::tuple<bool, std::vector<bool>, Strings> kUnsupported{false, {false}, {"DEVICE UNSUPPORTED"}};

struct IdentifyFixture : Identify, ::testing::Test {};

// The reply sets the model and leaves the port open. Sizes the model window does not offer
// are taken; a blank or a sign inside a field is read.
TEST(IdentifyDevice, SupportedRepliesSetTheModel) {
    for (auto [line, after] : std::vector<std::pair<std::string, Model>>{
             {kReply, {32, 60, 255, 2}},
             {"KLM 16C45F180M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {16, 45, 180, 1}},
             {"KLM 32C 7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}},
             {"KLM 32C-7F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}}}) {
        SCOPED_TRACE(line);
        Identify id;
        id.device(line);
        id.setModel({16, 15, 180, 1});
        EXPECT_TRUE(id.identify());
        EXPECT_EQ(std::tuple(id.model(), id.port.written, id.port.isOpen(), id.prompt.messages()),
                  std::tuple(after, "?M\x8C\r", true, Strings{}));
    }
    Identify id;
    id.setModel({32, 60, 255, 2});
    EXPECT_EQ(ModelText(id.p), "32 cams, 60 sizes, 255 messages, 2 encoders");
    id.p.NEncoders = 1;
    EXPECT_EQ(ModelText(id.p), "32 cams, 60 sizes, 255 messages, 1 encoder");
}

// Fields are taken messages, cams, sizes: an unsupported one keeps those before it. A brand too
// close to the start for the cams field, or no encoder digit, is unsupported at once.
TEST(IdentifyDevice, UnsupportedRepliesKeepTheFieldsAcceptedBeforeThem) {
    for (auto [line, after] : std::vector<std::pair<const char*, Model>>{
             {"KLM 16C15F100M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 180, 1}},
             {"KLM 24C15F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {32, 7, 255, 1}},
             {"KLM 16C40F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC1", {16, 7, 255, 1}},
             {"32C60F255MZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC2 AND MORE", {32, 7, 180, 1}},
             {"KLM 32C60F255M ZETO CAM PROGRAMMER X9K31 FW 2.0.2 ENC", {32, 7, 180, 1}}}) {
        SCOPED_TRACE(line);
        Identify id;
        id.device(line);
        id.setModel({32, 7, 180, 1});
        EXPECT_FALSE(id.identify());
        EXPECT_EQ(std::tuple(id.model(), id.port.writes.size()), std::tuple(after, 1u));  // not asked again
        EXPECT_EQ(id.ended(), kUnsupported);
        EXPECT_EQ(id.prompt.asked()[0].icon, Icon::None);
    }
}

// A silent device, CTS absent and a port lost during the query: the device is not found. An
// echo is no answer either, but the line is alive: nothing is said and the port stays open.
TEST(IdentifyDevice, NoAnswerIsNotFound) {
    // name, device, CTS, what is written, whether the line answered (nothing said, the port stays open)
    const std::vector<std::tuple<const char*, Device, LineState, std::string, bool>> cases = {
        {"silent", nullptr, LineState::Unknown, "?M\x8C\r", false},
        {"CTS absent", nullptr, LineState::NotAsserted, "", false},
        {"port lost", [](FakePort& f, const std::string&) { f.unplugAfter(200); }, LineState::Unknown, "?M\x8C\r",
         false},
        {"echo", [](FakePort& f, const std::string& w) { f.reply(w, 1); }, LineState::Unknown, "?M\x8C\r", true},
    };
    for (const auto& [name, device, cts, written, alive] : cases) {
        SCOPED_TRACE(name);
        Identify id;
        id.port.device = device;
        id.port.ctsState = cts;
        id.setModel({32, 7, 255, 1});
        EXPECT_FALSE(id.identify());
        EXPECT_EQ(std::tuple(id.port.written, id.model()), std::tuple(written, Model{32, 7, 255, 1}));
        if (alive) {
            EXPECT_EQ(id.ended(), std::tuple(true, std::vector<bool>{}, Strings{}));
            continue;
        }
        EXPECT_EQ(std::tuple(id.port.isOpen(), id.prompt.messages(), id.prompt.asked()[0].icon,
                             id.prompt.asked()[0].buttons, id.p.ReadError),
                  std::tuple(false, Strings{"KLM NOT FOUND\rCONTROL WIRING"}, Icon::Information, Buttons::Ok,
                             !written.empty()));
    }
}

TEST_F(IdentifyFixture, MissingBrandIsAskedTenMoreTimesThenUnsupported) {
    device("KLM 32C60F255M ---- CAM PROGRAMMER X9K31 FW 2.0.2 ENC2");
    std::int64_t start = clock.nowMs();
    EXPECT_FALSE(identify());
    EXPECT_EQ(port.writes, Strings(11, "?M\x8C\r"));
    EXPECT_GE(since(start), 10 * 50);
    EXPECT_EQ(ended(), kUnsupported);

    // A brand that comes on a later query is accepted.
    int n = 0;
    port.device = [&n](FakePort& f, const std::string&) { f.reply(++n < 3 ? "BUSY\r" : kReply + "\r", 20); };
    EXPECT_TRUE(identify());
    EXPECT_EQ(std::pair(n, p.NCams), std::pair(3, 32));
}

TEST(ReadIdentification, FieldsAreReadOnlyInsideTheReply) {
    auto verdict = [](const std::string& line) { return ReadIdentification(line).verdict; };
    // A brand in the first five characters counts as missing (asked again), not as unsupported. The line
    // ends at its first CR: what follows is no encoder digit.
    EXPECT_EQ((std::vector{
                  verdict(""), verdict("ZETO"), verdict("ZETO 32C60F255M CAM PROGRAMMER X9K31 FW 2.0.2 ENC2 AND MORE"),
                  verdict("123456ZETO"), verdict("KLM 32C60F255M ZETO"), verdict(kReply.substr(0, 53) + "\r2")}),
              (std::vector{IdentifyReading::NoBrand, IdentifyReading::NoBrand, IdentifyReading::NoBrand,
                           IdentifyReading::Unsupported, IdentifyReading::Unsupported, IdentifyReading::Unsupported}));
    const IdentifyReading r = ReadIdentification(kReply);
    EXPECT_EQ(std::pair(r.verdict, r.encoders), std::pair(IdentifyReading::Supported, 2));
}

}  // namespace
}  // namespace cam
