// The alarm message transfer against a fake device: the lines on the wire to the device, the
// blocks from it into the reception file and the list, and how each failure ends.
#include "core/link/message_transfer.h"

#include "core/messages/message_file.h"
#include "core/model/scripted_prompt.h"
#include "support/fake_port.h"
#include "support/scratch_folder.h"
#include "support/wire_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cam {
namespace {

using camtest::Frame;
using ::testing::ElementsAre;
using View = camtest::RecordingView;


// A device that identifies itself and, after "?AR", gives its blocks one by one, each after
// the ACK of the one before.
struct MsgTransferFixture : FakeLink, ::testing::Test {
    camtest::ScratchFolder dir;
    View view;
    std::string msgs = "255";         // the device's message count
    std::vector<std::string> blocks;  // what the device sends for "?AR", in order
    std::size_t sendUpTo = 1000;      // the device falls silent after this many blocks
    std::size_t spoil = 0;            // block (1-based) sent with a wrong check character
    std::size_t given = 0;

    void SetUp() override {
        ResizeTables(p);
        p.WorkDir = dir.str();
        p.LngTxt[10] = " - wrong file format";
        p.LngTxt[98] = "RECEIVING MESSAGES";
        p.LngTxt[114] = "SENDING MESSAGES";
        port.device = [this](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r") return f.reply(camtest::IdReply("32", "07", msgs, '1'), 5);
            if (w == "?AR\xD2\r")
                given = 0;
            else if (w == "\x06")
                ++given;
            else
                return;
            if (given >= blocks.size() || given >= sendUpTo) return;
            std::string frame = Frame(blocks[given]);
            if (given + 1 == spoil) frame.back() = static_cast<char>(frame.back() ^ 1);
            f.reply(frame, 3);
        };
    }
};

// Lines to the device, and the lines of a file read for sending.
TEST(MsgWire, LinesToTheDeviceAndFromTheFile) {
    EXPECT_EQ(MsgWireLine(7, "ALARM"), "N007\"ALARM\"\r");
    EXPECT_EQ(MsgWireLine(255, ""), "N255\"\"\r");
    EXPECT_EQ(MsgWireLine(1, "TWO\rLINES\n"), "N001\"TWO LINES \"\r");
    EXPECT_EQ(MsgSendProgress(128), 50);
    EXPECT_EQ(MsgSendProgress(255), 100);
    EXPECT_EQ(MsgReceiveProgress("N 090\"X\"", 180), 50);
    EXPECT_EQ(MsgReceiveProgress("END", 180), std::nullopt);
    EXPECT_EQ(DeviceLineLabel("KLM 32C ZETO X9K31 1\r"), "KLM 32C ZETO X9K31");
    EXPECT_EQ(DeviceLineLabel("AB"), "AB");
    EXPECT_EQ(DeviceLineLabel(""), "");
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

TEST_F(MsgTransferFixture, TransmittedListGoesAsUnframedLinesAndEndOnce) {
    p.NMsgs = 3;
    p.AlarmMsg[1] = "MOTOR OVERLOAD";
    p.AlarmMsg[3] = "SAY \"HI\"";
    ASSERT_TRUE(TransmitMsgList(p, link, view));
    EXPECT_EQ(port.written,
              "?AW\xD7\r"  // 63 + 65 + 87 = 215
              "N001\"MOTOR OVERLOAD\"\r"
              "N002\"\"\r"
              "N003\"SAY \"HI\"\"\r"
              "END\r");
    EXPECT_EQ(view.caption + "|" + view.operation + "|" + view.sizeLabel, "ZETO PX-32   1024|SENDING MESSAGES|");
    EXPECT_THAT(view.progress, ElementsAre(0, 0, 1));  // redrawn when the value changes
    EXPECT_FALSE(MsgSaved(p));                         // the scratch file is no save
    EXPECT_EQ(dir.read("~.~"), "N. 001 \"MOTOR OVERLOAD\"\r\nN. 002\r\nN. 003 \"SAY \"HI\"\"\r\n");
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(prompt.messages().empty());
}

// Nothing acknowledges the lines: the transmission lasts as long as its bytes take on the line.
TEST_F(MsgTransferFixture, TransmissionKeepsToTheLineSpeed) {
    p.ComSpeed = 9600;
    const std::int64_t start = clock.nowMs();
    ASSERT_TRUE(TransmitMsgList(p, link, view));
    const std::int64_t bytes = static_cast<std::int64_t>(port.written.size());
    ASSERT_EQ(bytes, 5 + 255 * 7 + 4);  // "?AW" check CR, 255 lines N001"" CR, END CR
    EXPECT_GE(clock.nowMs() - start, (bytes - 5) * 10 * 1000 / 9600);
    EXPECT_LT(clock.nowMs() - start, bytes * 10 * 1000 / 9600 + 200);
}

// A file goes up to its line "END"; lines end at CR alone too. A file with more messages
// than the device holds says how many it would lose before anything is sent.
TEST_F(MsgTransferFixture, AFileIsSentUpToItsEndAndMessagesBeyondTheDevicesAreTold) {
    const std::string half = dir.write("f.Msg", "N. 128 \"HALF\"\r\nEND\r\nN. 200 \"AFTER\"\r\n");
    ASSERT_TRUE(TransmitMsgFile(p, link, view, half, "KLM 32C"));
    EXPECT_EQ(port.written, "?AW\xD7\rN128\"HALF\"\rEND\r");
    EXPECT_EQ(view.progress.back(), 50);
    EXPECT_EQ(view.sizeLabel, "KLM 32C");

    p.NMsgs = 2;
    port.written.clear();
    const std::string file = dir.write("three.Msg", "N. 001 \"A\"\rN. 002 \"B\"\rN. 003 \"C\"\r");
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(TransmitMsgFile(p, link, view, file, ""));
    EXPECT_EQ(port.written, "");
    EXPECT_THAT(
        prompt.messages(),
        ElementsAre("three.Msg holds 1 message(s) beyond the 2 of the device: they are not sent.\rSend anyway?"));
    prompt.push(Answer::Ok);
    ASSERT_TRUE(TransmitMsgFile(p, link, view, file, ""));
    EXPECT_EQ(port.written, "?AW\xD7\rN001\"A\"\rN002\"B\"\rN003\"C\"\rEND\r");
}

TEST_F(MsgTransferFixture, AFileThatIsNoMessageFileSendsNothing) {
    for (const char* bytes : {"\r\nN. 001 \"A\"\r\n", "", "X. 001\r\n"}) {
        prompt.clear();
        EXPECT_FALSE(TransmitMsgFile(p, link, view, dir.write("bad.Msg", bytes), ""));
        ASSERT_EQ(prompt.asked().size(), 1u);
        EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].icon),
                  std::tuple("bad.Msg - wrong file format", Icon::Stop));
        EXPECT_FALSE(port.isOpen());
    }
    EXPECT_EQ(port.written, "");
}

TEST_F(MsgTransferFixture, ReceivedBlocksBecomeTheLinesOfTheFileAndTheList) {
    // A line break inside a text would shift every later message: it goes as blanks.
    blocks = {"N 001\"OIL LOW\"", "N 002\"A\r\nB\"", "N 003", "END"};
    msgs = "180";
    const std::string path = MsgScratchPath(p);
    const MsgReception r = ReceiveMsgs(p, link, view, path, true);
    ASSERT_TRUE(r.complete);
    EXPECT_EQ(r.model.NMsgs, 180);
    EXPECT_EQ(dir.read("~.~"), "N 001\"OIL LOW\"\r\nN 002\"A  B\"\r\nN 003\r\nEND\r\n");
    EXPECT_EQ(port.written.substr(port.written.find("?AR")), "?AR\xD2\r\x06\x06\x06\x06");
    EXPECT_EQ(view.operation, "RECEIVING MESSAGES");
    EXPECT_EQ(view.progress.back(), 1);  // 3 * 100 / 180
    EXPECT_FALSE(port.isOpen());

    p.AlarmMsg[200] = "GONE";
    ASSERT_TRUE(ApplyMsgReception(p, r, path, r.model.NMsgs, prompt));
    EXPECT_EQ(p.NMsgs, 180);
    EXPECT_THAT(std::vector<std::string>(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 6),
                ElementsAre("OIL LOW", "A  B", " ", "", ""));
    EXPECT_EQ(p.MsgFile, path);
    EXPECT_TRUE(MsgSaved(p));
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(MsgTransferFixture, ASilentDeviceEndsTheReceptionAndTheListStays) {
    blocks = {"N 001\"NEW\"", "N 002\"NEW\"", "END"};
    sendUpTo = 2;
    p.AlarmMsg[1] = "OLD";
    p.MsgFile = dir.write("mine.Msg", "N. 001 \"OLD\"\r\n");
    const std::int64_t start = clock.nowMs();
    const MsgReception r = ReceiveMsgs(p, link, view, MsgScratchPath(p), false);
    EXPECT_FALSE(r.complete);
    EXPECT_THAT(prompt.messages(), ElementsAre("TIMEOUT SERIAL PORT "));
    EXPECT_GE(clock.nowMs() - start, 30000);  // the 30 seconds of an empty block, once
    EXPECT_LT(clock.nowMs() - start, 40000);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(ApplyMsgReception(p, r, MsgScratchPath(p), 255, prompt));
    EXPECT_EQ(p.AlarmMsg[1], "OLD");
    EXPECT_EQ(p.MsgFile, dir.file("mine.Msg"));
    EXPECT_EQ(dir.read("mine.Msg"), "N. 001 \"OLD\"\r\n");
}

TEST_F(MsgTransferFixture, ADamagedBlockLeavesItsMessageEmptyAndIsAskedAbout) {
    blocks = {"N 001\"A\"", "N 002\"B\"", "N 003\"C\"", "END"};
    spoil = 2;
    p.LngTxt[270] = "Damaged: %1";
    const std::string path = MsgScratchPath(p);
    const MsgReception r = ReceiveMsgs(p, link, view, path, false);
    ASSERT_TRUE(r.complete);
    EXPECT_THAT(r.damaged, ElementsAre(2));
    EXPECT_EQ(dir.read("~.~"), "N 001\"A\"\r\n\r\nN 003\"C\"\r\nEND\r\n");

    p.AlarmMsg[2] = "KEPT";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(ApplyMsgReception(p, r, path, 255, prompt));
    EXPECT_EQ(p.AlarmMsg[2], "KEPT");
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, "Damaged: 2");
    EXPECT_EQ(prompt.asked()[0].buttons, Buttons::OkCancelDefaultCancel);
    prompt.push(Answer::Ok);
    EXPECT_TRUE(ApplyMsgReception(p, r, path, 255, prompt));
    EXPECT_EQ(p.AlarmMsg[2], "");
    EXPECT_EQ(p.AlarmMsg[3], "C");
}

TEST_F(MsgTransferFixture, ADeviceThatNeverEndsIsStopped) {
    blocks.assign(3000, "N 001\"AGAIN\"");
    const MsgReception r = ReceiveMsgs(p, link, view, MsgScratchPath(p), false);
    EXPECT_FALSE(r.complete);
    EXPECT_THAT(prompt.messages(), ElementsAre("TIMEOUT SERIAL PORT "));
}

// "?M" answered with its line end and less three characters; silent: nothing more is said.
TEST_F(MsgTransferFixture, TheShortIdentificationLineIsShownAsItIs) {
    for (auto [reply, shown] : std::vector<std::pair<std::string, std::optional<std::string>>>{
             {"AB\r", ""}, {"A\r", "A\r"}, {"", std::nullopt}}) {
        port.device = [reply](FakePort& f, const std::string& w) {
            if (w == "?M\x8c\r" && !reply.empty()) f.reply(reply, 5);
        };
        EXPECT_EQ(AskDeviceLine(p, link), shown) << reply;
    }
    EXPECT_TRUE(prompt.messages().empty());
}

}  // namespace
}  // namespace cam
