// The message file byte for byte, its reader on good and odd input, and the question that
// guards unsaved edits.
#include "core/messages/message_file.h"

#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace cam {
namespace {

using ::testing::ElementsAre;

struct MsgFileFixture : ::testing::Test {
    camtest::ScratchFolder dir;
    Program p;
    ScriptedPrompt prompt;
    void SetUp() override {
        ResizeTables(p);  // 255 messages
        p.MsgFile = dir.file("list.Msg");
    }
    void writeRaw(const std::string& bytes) { std::ofstream(p.MsgFile, std::ios::binary) << bytes; }
    std::string written() {
        const FileBytes file = ReadFileBytes(p.MsgFile, kMaxMsgFileBytes);
        return file.ok() ? file.bytes : "<missing>";
    }
};

TEST_F(MsgFileFixture, AnEmptyListIsEveryNumberWithoutQuotes) {
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_TRUE(MsgSaved(p));
    const std::string bytes = written();
    ASSERT_EQ(bytes.size(), 255u * 8u);  // "N. 001" CR LF
    EXPECT_EQ(bytes.substr(0, 16), "N. 001\r\nN. 002\r\n");
    EXPECT_EQ(bytes.substr(bytes.size() - 8), "N. 255\r\n");
}

TEST_F(MsgFileFixture, LinesCarryTheTextBetweenQuotesOnlyWhenItIsNotBlank) {
    p.NMsgs = 4;
    p.AlarmMsg[1] = "MOTOR OVERLOAD";
    p.AlarmMsg[2] = "   ";
    p.AlarmMsg[3] = "SAY \"STOP\" NOW";
    p.AlarmMsg[4] = " LEFT  ";
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_EQ(written(),
              "N. 001 \"MOTOR OVERLOAD\"\r\n"
              "N. 002\r\n"
              "N. 003 \"SAY \"STOP\" NOW\"\r\n"
              "N. 004 \" LEFT  \"\r\n");
    // Read back: blanks only come back as one blank, quotes and blanks of a text as they were.
    p.AlarmMsg.assign(256, "old");
    ASSERT_TRUE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ((std::vector<std::string>(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 5)),
              (std::vector<std::string>{"MOTOR OVERLOAD", " ", "SAY \"STOP\" NOW", " LEFT  "}));
    // ... and the single blank is written again without quotes.
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_EQ(written().substr(25, 8), "N. 002\r\n");
}

TEST(MsgFileReader, LineKIsMessageKWhateverNumberItCarries) {
    const std::string bytes =
        "N. 009 \"NINE\"\r\n"   // message 1 all the same
        "X. 002 \"OTHER\"\r\n"  // not an N line: stays empty
        "N 003\"RECEIVED\"\r\n"
        "N. 004 no quote\r\n"  // no double quote: one blank
        "\r\n"                 // empty line: stays empty
        "N. 006 \"\r\n"        // the quote is the last character: empty
        "N. 007 \"CUT\n";      // LF only; the last character is dropped even when it is no quote
    EXPECT_THAT(ParseMsgFile(bytes, 8), ElementsAre("", "NINE", "", "RECEIVED", " ", "", "", "CU", ""));
}

TEST(MsgFileReader, StopsAtTheCountAndAtTheEndOfTheBytes) {
    EXPECT_THAT(ParseMsgFile("N. 001 \"A\"\r\nN. 002 \"B\"\r\nN. 003 \"C\"\r\n", 2), ElementsAre("", "A", "B"));
    EXPECT_THAT(ParseMsgFile("N. 001 \"A\"", 3), ElementsAre("", "A", "", ""));  // no line end at the end
    EXPECT_THAT(ParseMsgFile("", 2), ElementsAre("", "", ""));
}

TEST_F(MsgFileFixture, FewerLinesThanMessagesLeaveTheRestEmpty) {
    p.AlarmMsg[200] = "OLD";
    writeRaw("N. 001 \"ONE\"\r\nN. 002 \"TWO\"\r\n");
    ASSERT_TRUE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(p.AlarmMsg[2], "TWO");
    EXPECT_EQ(p.AlarmMsg[3], "");
    EXPECT_EQ(p.AlarmMsg[200], "");
}

TEST_F(MsgFileFixture, AMissingFileIsSaidAndTheListStays) {
    p.LngTxt[1] = "FILE NOT FOUND";
    p.AlarmMsg[1] = "KEPT";
    p.MsgFile = dir.file("gone.Msg");
    EXPECT_FALSE(LoadReceivedMessages(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, "FILE NOT FOUND\r" + p.MsgFile + ": no such file");
    EXPECT_EQ(prompt.asked()[0].icon, Icon::Exclamation);
    EXPECT_EQ(p.AlarmMsg[1], "KEPT");
    // No file at all: nothing happens and nothing is said.
    p.MsgFile.clear();
    EXPECT_FALSE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(prompt.asked().size(), 1u);
}

TEST_F(MsgFileFixture, AFailedWriteKeepsTheOldFileAndTheUnsavedFlag) {
    writeRaw("previous");
    std::filesystem::permissions(p.MsgFile, std::filesystem::perms::owner_read);
    p.AlarmMsg[4] = "EDITED";
    const Result r = WriteMsgFile(p);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.reason().empty());
    EXPECT_FALSE(MsgSaved(p));
    EXPECT_EQ(written(), "previous");
}

TEST_F(MsgFileFixture, TheListShowsThreeDigitsABlankAndTheText) {
    p.NMsgs = 180;
    ResizeTables(p);
    p.AlarmMsg[7] = "ALARM";
    const std::vector<std::string> entries = MsgList(p);
    ASSERT_EQ(entries.size(), 180u);
    EXPECT_EQ(entries[0], "001 ");
    EXPECT_EQ(entries[6], "007 ALARM");
    EXPECT_EQ(entries[179], "180 ");
}

TEST_F(MsgFileFixture, ACountBeyondTheTableIsMadeRoomFor) {
    p.AlarmMsg.resize(3);
    p.NMsgs = 255;  // as identification sets it, without resizing the tables
    writeRaw("N. 001 \"A\"\r\n");
    ASSERT_TRUE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(p.AlarmMsg.size(), 256u);
    EXPECT_EQ(MsgList(p).size(), 255u);
}

TEST_F(MsgFileFixture, UnsavedEditsAreAskedAboutWithCancelAsTheDefault) {
    EXPECT_TRUE(ConfirmMsgDiscard(p, prompt));
    EXPECT_TRUE(prompt.asked().empty());
    p.AlarmMsg[4] = "EDITED";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(ConfirmMsgDiscard(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(prompt.asked()[0].text, "FILE NOT SAVED\rEXIT ANYWAY ?");
    EXPECT_EQ(prompt.asked()[0].buttons, Buttons::OkCancelDefaultCancel);
    EXPECT_EQ(prompt.asked()[0].icon, Icon::Exclamation);
    prompt.push(Answer::Ok);
    EXPECT_TRUE(ConfirmMsgDiscard(p, prompt));
}

}  // namespace
}  // namespace cam
