// The serial link against a fake port and a fake clock; wire bytes are written out.
#include "core/link/serial_link.h"
#include "core/model/scripted_prompt.h"
#include "core/link/identify.h"
#include "support/fake_port.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cam {
namespace {

using namespace std::string_literals;

// Frame bytes restated: STX, text, ETX, then the checksum character.
const std::string STX = "\x02", ETX = "\x03";

struct LinkFixture : ::testing::Test {
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    Link link{port, clock, prompt};
    Program p;

    void openPort() {
        (void)OpenPort(p, link);
        ASSERT_TRUE(port.isOpen());
        port.writes.clear();
        port.written.clear();
    }
    // The device answers every write with the next of replies (nothing once they run out).
    void answer(std::vector<std::string> replies, int delayMs = 5) {
        auto queue = std::make_shared<std::vector<std::string>>(std::move(replies));
        port.device = [queue, delayMs](FakePort& f, const std::string&) {
            if (queue->empty()) return;
            f.reply(queue->front(), delayMs);
            queue->erase(queue->begin());
        };
    }
};

// The sum of the characters, modulo 256; a sum below 32 gets 32 more.
TEST(Checksums, CommandChecksumIsTheSumOfTheCharacters) {
    for (auto [command, sum] : std::vector<std::pair<std::string, int>>{
             {"?FR", 215}, {"?M", 140}, {":FU", 213}, {"\x01\x02", 35}, {"\x0F\x10", 63}, {"\x10\x10", 32}})
        EXPECT_EQ(static_cast<unsigned char>(CommandChecksum(command)), sum) << command;
}

// The XOR of the text and ETX; XOR 5 is sent as code 37. The checksum stops at the first ETX.
TEST(Checksums, BlockFramesCarryTheXorOfTextAndEtx) {
    for (auto [text, sum] : std::vector<std::pair<std::string, std::string>>{
             {"ABC", "C"}, {"1000", "\""}, {"AG", "%"}, {"END", "L"}})
        EXPECT_EQ(BlockFrame(text), STX + text + ETX + sum) << text;
    EXPECT_EQ(BlockChecksum(STX + "ABC" + ETX + "ZZZ" + ETX), 'C');
    EXPECT_EQ(BlockChecksum(STX + "ABC" + ETX), 'C');
    EXPECT_EQ(PortSettingsText(19200), "19200,n,8,1");
}

TEST_F(LinkFixture, OpenPortSetsSpeedAndHandshakeAndKeepsAnOpenPortOpen) {
    p.ComPort = 3;
    p.ComSpeed = 19200;
    EXPECT_TRUE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 0);
    EXPECT_EQ(port.openedName, "/dev/ttyS2");
    EXPECT_EQ(port.speed, 19200);
    EXPECT_TRUE(port.rtsCts);
    p.ComSpeed = 2400;
    (void)OpenPort(p, link);
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(port.speed, 2400);
    EXPECT_TRUE(prompt.messages().empty());
    ClosePort(link);
    p.ComDevice = "/dev/pts/7";
    (void)OpenPort(p, link);
    EXPECT_EQ(port.openedName, "/dev/pts/7");
}

TEST_F(LinkFixture, CtsAbsentClosesThePortQuietly) {
    port.ctsState = LineState::NotAsserted;
    EXPECT_FALSE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
    port.ctsState = LineState::Asserted;
    EXPECT_TRUE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 0);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(LinkFixture, OpenFailureShowsTheErrorOnce) {
    p.ComPort = 3;
    port.failOpen = true;
    EXPECT_FALSE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 2);
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text + "|" + prompt.asked()[0].title,
              "Errore  2 generato da QSerialPort\rCOM3: Permission denied|Errore su COM3");
    EXPECT_EQ(prompt.asked()[0].icon, Icon::Stop);
    p.ComDevice = "/dev/ttyUSB1";
    prompt.clear();
    (void)OpenPort(p, link);
    EXPECT_EQ(prompt.asked().at(0).title, "Errore su /dev/ttyUSB1");
}

// What a user can mend is said in words of what to do, with the port; a port that cannot be
// opened is no missing device.
TEST_F(LinkFixture, PermissionAndLockFailuresSayWhatToDo) {
    port.failOpen = true;
    p.ComDevice = "/dev/ttyUSB3";
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

TEST_F(LinkFixture, PortThatWentAwaySinceTheLastExchangeIsOpenedAnew) {
    (void)OpenPort(p, link);
    port.hungUp = true;
    (void)OpenPort(p, link);
    EXPECT_EQ(port.opens, 2);
    EXPECT_EQ(link.PortStatus, 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
    port.hungUp = true;
    port.failOpen = true;  // and gone for good
    EXPECT_FALSE(OpenPort(p, link).ok());
    EXPECT_EQ(link.PortStatus, 2);
    EXPECT_EQ(prompt.messages().size(), 1u);
}

TEST_F(LinkFixture, CommandFrameAndReplyEndingInLfOnly) {
    answer({"  KLM\n"}, 120);
    std::int64_t start = clock.nowMs();
    EXPECT_EQ(SerialComStr(p, link, "?M"), "KLM\n");
    EXPECT_EQ(port.written, "?M\x8C\r");
    EXPECT_LT(clock.nowMs() - start, 200);  // accepted when the LF arrived, not at the deadline
    EXPECT_FALSE(p.ReadError);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(LinkFixture, ReplyInPiecesIsAccumulatedToTheFirstLineEnd) {
    port.device = [](FakePort& f, const std::string&) {
        f.reply("KLM 3", 10);
        f.reply("2C", 400);
        f.reply("60\rREST\n", 900);
        f.reply("LATER\r", 950);
    };
    EXPECT_EQ(SerialComStr(p, link, "?M"), "KLM 32C60\rREST\n");
    EXPECT_EQ(port.read(100), "");  // LATER arrives only after the reply was taken
}

TEST_F(LinkFixture, SilentDeviceTimesOutAfterTwoSeconds) {
    std::int64_t start = clock.nowMs();
    EXPECT_EQ(SerialComStr(p, link, "?M"), "");
    std::int64_t took = clock.nowMs() - start;
    EXPECT_GE(took, 2010);
    EXPECT_LT(took, 2100);
    EXPECT_TRUE(p.ReadError);
    EXPECT_FALSE(port.isOpen());
    EXPECT_LT(port.waits, 5);  // the wait sleeps on the port; it does not spin
}

TEST_F(LinkFixture, EchoedCommandSetsReadErrorAndIsReturned) {
    port.device = [](FakePort& f, const std::string& w) { f.reply(w, 1); };
    EXPECT_EQ(SerialComStr(p, link, "?M"), "?M\x8C\r");
    EXPECT_TRUE(p.ReadError);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(LinkFixture, PortLostDuringTheCommandEndsLikeASilentDevice) {
    port.device = [](FakePort& f, const std::string&) { f.unplugAfter(300); };
    std::int64_t start = clock.nowMs();
    EXPECT_EQ(SerialComStr(p, link, "?M"), "");
    EXPECT_LT(clock.nowMs() - start, 2000);
    EXPECT_TRUE(p.ReadError);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(LinkFixture, CommandOnAPortThatWillNotOpenReturnsEmpty) {
    port.failOpen = true;
    EXPECT_EQ(SerialComStr(p, link, "?M"), "");
    EXPECT_EQ(port.written, "");
}

TEST_F(LinkFixture, AcknowledgedBlockIsSentOnceAfterDiscardingInput) {
    openPort();
    port.reply("stale");
    answer({"\x06"});
    EXPECT_EQ(SendBlock(p, link, "1000"), SendResult::Acked);
    EXPECT_EQ(port.written, STX + "1000" + ETX + "\"");
    EXPECT_EQ(port.inputDiscards, 1);
}

TEST_F(LinkFixture, RefusedBlockIsRepeatedUntilAcknowledged) {
    openPort();
    answer({"\x15", "\x15", "\x06"});
    EXPECT_EQ(SendBlock(p, link, "ABC"), SendResult::Acked);
    EXPECT_EQ(port.writes, std::vector<std::string>(3, STX + "ABC" + ETX + "C"));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(LinkFixture, EndAnsweredWithNakIsNotRepeated) {
    openPort();
    answer({"\x15"});
    EXPECT_EQ(SendBlock(p, link, "END"), SendResult::Answered);
    EXPECT_EQ(port.writes.size(), 1u);
}

TEST_F(LinkFixture, BlockRefusedForEverIsGivenUpAfterTenResends) {
    openPort();
    port.device = [](FakePort& f, const std::string&) { f.reply("\x15", 2); };
    EXPECT_EQ(SendBlock(p, link, "F07"), SendResult::Refused);
    EXPECT_EQ(port.writes.size(), 11u);
    EXPECT_EQ(prompt.messages(),
              std::vector<std::string>{"The device refused the block \"F07\" 11 times: the transfer was stopped."});
}

TEST_F(LinkFixture, UnansweredBlockTimesOutAfterThreeSeconds) {
    openPort();
    std::int64_t start = clock.nowMs();
    EXPECT_EQ(SendBlock(p, link, "F01"), SendResult::TimedOut);
    EXPECT_GE(clock.nowMs() - start, 3000);
    EXPECT_LT(clock.nowMs() - start, 3100);
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"TIMEOUT SERIAL PORT "});
    EXPECT_EQ(prompt.asked()[0].buttons, Buttons::Ok);
    EXPECT_TRUE(port.isOpen());  // the transmission goes on with its next block
}

TEST_F(LinkFixture, PortLostDuringABlockIsReportedOnce) {
    openPort();
    port.device = [](FakePort& f, const std::string&) { f.unplugAfter(100); };
    EXPECT_EQ(SendBlock(p, link, "F01"), SendResult::PortLost);
    EXPECT_EQ(SendBlock(p, link, "F02"), SendResult::PortLost);
    // Once, with why the line ended.
    EXPECT_EQ(prompt.messages(),
              (std::vector<std::string>{"TIMEOUT SERIAL PORT ", "The line to the device went away: COM1: Resource error"}));
}

TEST_F(LinkFixture, StrayCharacterBeforeTheBlockIsSkipped) {
    openPort();
    port.reply("x" + STX + "ABC" + ETX + "C", 100);
    EXPECT_EQ(ReceiveBlock(link).text, "ABC");
    EXPECT_EQ(port.written, "\x06");
    EXPECT_EQ(port.outputDiscards, 1);
}

TEST(ReceiveBlock, BadChecksumOrMissingStartGivesEmptyTextAndIsStillAcknowledged) {
    for (const std::string& bytes : {STX + "ABC" + ETX + "D", "xyABC" + ETX + "C", ETX + STX + "A"}) {
        FakeClock clock;
        FakePort port{clock};
        ScriptedPrompt prompt;
        Link link{port, clock, prompt};
        Program p;
        (void)OpenPort(p, link);
        port.written.clear();
        port.reply(bytes);
        EXPECT_EQ(ReceiveBlock(link).outcome, ReceivedBlock::BadFrame) << bytes;
        EXPECT_EQ(port.written, "\x06") << bytes;
    }
}

TEST_F(LinkFixture, SilentDeviceGetsThirtySecondsAndNoAck) {
    openPort();
    std::int64_t start = clock.nowMs();
    const ReceivedBlock got = ReceiveBlock(link);
    EXPECT_EQ(got.outcome, ReceivedBlock::Silent);
    EXPECT_EQ(got.text, "");
    EXPECT_GE(clock.nowMs() - start, 30000);
    EXPECT_LT(clock.nowMs() - start, 30100);
    EXPECT_EQ(port.written, "");
}

TEST_F(LinkFixture, FirstCharacterMayComeLateThenThreeSecondsBetweenCharacters) {
    openPort();
    port.reply(STX + "AB", 29000);
    port.reply("C" + ETX, 31500);
    port.reply("C", 34400);
    EXPECT_EQ(ReceiveBlock(link).text, "ABC");
}

TEST_F(LinkFixture, DeviceFallingSilentMidBlockReturnsTheRawText) {
    openPort();
    port.reply(STX + "AB", 10);
    std::int64_t start = clock.nowMs();
    const ReceivedBlock got = ReceiveBlock(link);
    EXPECT_EQ(got.outcome, ReceivedBlock::Silent);
    EXPECT_EQ(got.text, STX + "AB");
    EXPECT_GE(clock.nowMs() - start, 3010);
    EXPECT_EQ(port.written, "");
}

TEST_F(LinkFixture, StreamWithoutFrameEndEndsWithoutGrowingForEver) {
    openPort();
    for (int i = 0; i < 100; ++i) port.reply(std::string(1000, 'x'), i * 10);
    const ReceivedBlock got = ReceiveBlock(link);
    EXPECT_EQ(got.outcome, ReceivedBlock::Overflow);
    EXPECT_EQ(got.text.size(), kMaxBlockBytes);
    EXPECT_EQ(port.written, "");
}

TEST_F(LinkFixture, BytesAfterTheChecksumAreKeptForTheNextBlock) {
    openPort();
    port.reply(STX + "ABC" + ETX + "C" + STX + "DEF" + ETX + "D" + STX + "END" + ETX + "L");
    EXPECT_EQ(ReceiveBlock(link).text, "ABC");
    EXPECT_EQ(ReceiveBlock(link).text, "DEF");
    EXPECT_EQ(ReceiveBlock(link).text, "END");
    EXPECT_EQ(port.written, "\x06\x06\x06");
}

TEST_F(LinkFixture, PortLostWhileReceivingEndsAtOnce) {
    openPort();
    port.reply(STX + "AB", 10);
    port.unplugAfter(500);
    std::int64_t start = clock.nowMs();
    EXPECT_EQ(ReceiveBlock(link).outcome, ReceivedBlock::PortLost);
    EXPECT_LT(clock.nowMs() - start, 1000);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace cam
