// The message file byte for byte and its reader, then the message window's commands as a user
// meets them: New, Open, Save, Save as, changing one message, the two searches, the printout.
#include "core/messages/message_list_commands.h"

#include "core/messages/message_file.h"
#include "core/model/scripted_prompt.h"
#include "support/scratch_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace cam {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;
using Strings = std::vector<std::string>;
using Found = std::vector<std::optional<int>>;

// 255 messages whose file is list.Msg in the working folder.
struct MsgCommands : ::testing::Test {
    camtest::ScratchFolder dir;
    Program p;
    ScriptedPrompt prompt;
    void SetUp() override {
        ResizeTables(p);
        std::tie(p.WorkDir, p.MsgFile) = std::tuple(dir.str(), dir.file("list.Msg"));
    }
};

TEST_F(MsgCommands, FileLinesCarryTheTextBetweenQuotesOnlyWhenItIsNotBlank) {
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_TRUE(MsgSaved(p));
    const std::string empty = dir.read("list.Msg");
    ASSERT_EQ(empty.size(), 255u * 8u);  // "N. 001" CR LF
    EXPECT_EQ(empty.substr(0, 16) + empty.substr(empty.size() - 8), "N. 001\r\nN. 002\r\nN. 255\r\n");
    std::tie(p.NMsgs, p.AlarmMsg[1], p.AlarmMsg[2], p.AlarmMsg[3], p.AlarmMsg[4]) =
        std::tuple(4, "MOTOR OVERLOAD", "   ", "SAY \"STOP\" NOW", " LEFT  ");
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_EQ(dir.read("list.Msg"),
              "N. 001 \"MOTOR OVERLOAD\"\r\nN. 002\r\nN. 003 \"SAY \"STOP\" NOW\"\r\nN. 004 \" LEFT  \"\r\n");
    // Read back: blanks only come back as one blank, quotes and blanks of a text as they were.
    p.AlarmMsg.assign(256, "old");
    ASSERT_TRUE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(Strings(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 5),
              (Strings{"MOTOR OVERLOAD", " ", "SAY \"STOP\" NOW", " LEFT  "}));
    // ... and the single blank is written again without quotes.
    ASSERT_TRUE(WriteMsgFile(p));
    EXPECT_EQ(dir.read("list.Msg").substr(25, 8), "N. 002\r\n");
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
    // It stops at the count and at the end of the bytes.
    EXPECT_THAT(ParseMsgFile("N. 001 \"A\"\r\nN. 002 \"B\"\r\nN. 003 \"C\"\r\n", 2), ElementsAre("", "A", "B"));
    EXPECT_THAT(ParseMsgFile("N. 001 \"A\"", 3), ElementsAre("", "A", "", ""));  // no line end at the end
    EXPECT_THAT(ParseMsgFile("", 2), ElementsAre("", "", ""));
}

// Fewer lines leave the rest empty; a count beyond the table (identification sets it without resizing)
// is made room for. A missing file is said and the list stays; without a file nothing happens.
TEST_F(MsgCommands, LoadedFilesFillTheWholeCountAndAMissingOneIsSaid) {
    p.AlarmMsg = {"", "OLD", "OLD"};
    dir.write("list.Msg", "N. 001 \"ONE\"\r\n");
    ASSERT_TRUE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(std::tuple(p.AlarmMsg.size(), MsgList(p).size()), std::tuple(256u, 255u));
    EXPECT_EQ(Strings(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 4), (Strings{"ONE", "", ""}));
    std::tie(p.LngTxt[1], p.MsgFile) = std::tuple("FILE NOT FOUND", dir.file("gone.Msg"));
    EXPECT_FALSE(LoadReceivedMessages(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].icon, p.AlarmMsg[1]),
              std::tuple("FILE NOT FOUND\r" + p.MsgFile + ": no such file", Icon::Exclamation, "ONE"));
    p.MsgFile.clear();
    EXPECT_FALSE(LoadReceivedMessages(p, prompt));
    EXPECT_EQ(prompt.asked().size(), 1u);
}

TEST_F(MsgCommands, UnsavedEditsAreAskedAboutWithCancelAsTheDefault) {
    EXPECT_TRUE(ConfirmMsgDiscard(p, prompt));
    EXPECT_TRUE(prompt.asked().empty());
    p.AlarmMsg[4] = "EDITED";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(ConfirmMsgDiscard(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].buttons, prompt.asked()[0].icon),
              std::tuple("FILE NOT SAVED\rEXIT ANYWAY ?", Buttons::OkCancelDefaultCancel, Icon::Exclamation));
    prompt.push(Answer::Ok);
    EXPECT_TRUE(ConfirmMsgDiscard(p, prompt));
}

// Save as adds ".Msg" to a name without an extension only, and asks before that completed
// name replaces a file; a failed save says why and changes nothing.
TEST_F(MsgCommands, SaveAsCompletesANameAndAsksBeforeReplacing) {
    p.AlarmMsg[1] = "A";
    prompt.push(dir.file("ALARMS").c_str());
    ASSERT_TRUE(MsgSaveAs(p, prompt));
    EXPECT_EQ(std::tuple(p.MsgFile, dir.read("ALARMS.Msg").substr(0, 14)),
              std::tuple(dir.file("ALARMS.Msg"), "N. 001 \"A\"\r\nN."));
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].kind),
              std::tuple("Save message file as", ScriptedPrompt::Asked::SaveFile));
    prompt.push(dir.file("ALARMS.TXT").c_str());
    ASSERT_TRUE(MsgSaveAs(p, prompt));
    EXPECT_EQ(p.MsgFile, dir.file("ALARMS.TXT"));
    p.AlarmMsg[1] = "EDITED";
    prompt.push(dir.file("ALARMS"), Answer::No);
    EXPECT_FALSE(MsgSaveAs(p, prompt));
    EXPECT_EQ(std::tuple(p.MsgFile, dir.read("ALARMS.Msg").substr(0, 14)),
              std::tuple(dir.file("ALARMS.TXT"), "N. 001 \"A\"\r\nN."));
    const std::string target = dir.write("locked.Msg", "old");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    prompt.clear();
    prompt.push(target.c_str());
    EXPECT_FALSE(MsgSaveAs(p, prompt));
    ASSERT_EQ(prompt.messages().size(), 1u);
    const std::string cannot = "The file could not be saved:\r" + target + "\r";
    EXPECT_THAT(prompt.messages()[0], StartsWith(cannot));
    EXPECT_GT(prompt.messages()[0].size(), cannot.size());  // and why
    EXPECT_EQ(std::tuple(dir.read("locked.Msg"), p.MsgFile, MsgSaved(p)),
              std::tuple("old", dir.file("ALARMS.TXT"), false));
}

TEST_F(MsgCommands, SaveAsksBeforeOverwritingAndNoWritesNothing) {
    std::tie(p.MsgFile, p.AlarmMsg[3]) = std::tuple(dir.write("list.Msg", "old"), "EDITED");
    prompt.push(Answer::No);
    EXPECT_FALSE(MsgSave(p, prompt));
    EXPECT_EQ(std::tuple(dir.read("list.Msg"), MsgSaved(p)), std::tuple("old", false));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].buttons),
              std::tuple("OVERWRITE FILE ", Buttons::YesNo));
    prompt.push(Answer::Yes);
    EXPECT_TRUE(MsgSave(p, prompt));
    EXPECT_EQ(std::tuple(MsgSaved(p), dir.read("list.Msg").substr(16, 17)), std::tuple(true, "N. 003 \"EDITED\"\r\n"));
    // A list from the scratch file has no name of its own yet: Save asks for one.
    p.MsgFile = dir.write("~.~", "N. 001\r\n");
    prompt.clear();
    prompt.push("");  // the save dialog cancelled
    EXPECT_FALSE(MsgSave(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].kind, p.MsgFile),
              std::tuple(ScriptedPrompt::Asked::SaveFile, dir.file("~.~")));
}

TEST_F(MsgCommands, OpenReadsTheFileAndAsksFirstAboutUnsavedEdits) {
    const std::string file = dir.write("in.Msg", "N. 001 \"FIRST\"\r\n");
    p.AlarmMsg[2] = "EDITED";
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(MsgOpen(p, prompt));
    ASSERT_EQ(prompt.asked().size(), 1u);
    EXPECT_EQ(std::tie(prompt.asked()[0].kind, p.AlarmMsg[2]), std::tuple(ScriptedPrompt::Asked::Message, "EDITED"));
    prompt.clear();
    prompt.push(Answer::Ok, file);
    ASSERT_TRUE(MsgOpen(p, prompt));
    EXPECT_EQ(std::tie(prompt.asked()[1].text, p.MsgFile), std::tuple("Open file", file));
    EXPECT_EQ(std::tuple(p.AlarmMsg[1], p.AlarmMsg[2], MsgSaved(p), MsgOpenedTitle(p.MsgFile)),
              std::tuple("FIRST", "", true, "ZETO-QOR -  PROGRAMMATORE DI CAMME PX32 -  " + file));
    prompt.push("");  // Open cancelled: the list keeps its file
    EXPECT_FALSE(MsgOpen(p, prompt));
    EXPECT_EQ(p.MsgFile, file);
    // New empties the list and asks nothing when it holds no edits.
    prompt.clear();
    ASSERT_TRUE(MsgNew(p, prompt));
    EXPECT_EQ(std::tuple(prompt.asked().size(), p.AlarmMsg[1], p.MsgFile, MsgSaved(p)), std::tuple(0u, "", file, true));
}

TEST_F(MsgCommands, OpenRefusesWhatIsNoMessageFileAndAsksBeforeLeavingMessagesOut) {
    std::string many;
    for (int k = 1; k <= 258; ++k) many += MsgFileLine(k, k > 256 ? " " : "M" + std::to_string(k)) + "\r\n";
    std::filesystem::create_directory(dir.file("folder.Msg"));
    // The file and its bytes ("" for the folder), the answer asked for, whether it opens, the last message.
    using Case = std::tuple<const char*, std::string, std::optional<Answer>, bool, std::string>;
    const std::string leftOut =
        "many.Msg holds 1 message(s) beyond the 255 of the list: they are left out.\rOpen anyway?";
    const std::vector<Case> cases = {
        {"demo.Cam", "FUNZIONI  32 - 7 \r\nANTICIPI OFF\r\n", {}, false, "demo.Cam - wrong file format"},
        {"blob.bin", std::string("\0\x01N. 001\r\n", 9), {}, false, "blob.bin - wrong file format"},
        {"empty.Msg", "\r\n", {}, false, "empty.Msg - wrong file format"},
        {"folder.Msg", "", {}, false, "File not found\r" + dir.file("folder.Msg") + ": is a folder, not a file"},
        // One line too many holds a message, the one after it is blank: one is left out.
        {"cr.Msg", "N. 001 \"A\"\rN. 002 \"B\"\r", {}, true, ""},  // CR alone ends a line
        {"many.Msg", many, Answer::Cancel, false, leftOut},
        {"many.Msg", many, Answer::Ok, true, leftOut},
    };
    for (const auto& [name, bytes, answer, opened, said] : cases) {
        std::tie(p.MsgFile, p.AlarmMsg[1], p.AlarmMsg[2]) = std::tuple(dir.file("kept.Msg"), "KEPT", "");
        MarkMsgSaved(p);  // the list of kept.Msg
        const std::string path = bytes.empty() ? dir.file(name) : dir.write(name, bytes);
        prompt.clear();
        prompt.push(path.c_str());
        if (answer) prompt.push(*answer);
        EXPECT_EQ(MsgOpen(p, prompt), opened) << name;
        const bool big = name[0] == 'm';
        const Strings shown = prompt.messages();
        EXPECT_EQ(std::tuple(p.MsgFile, p.AlarmMsg[1], p.AlarmMsg[2], shown.empty() ? std::string() : shown.back()),
                  std::tuple(opened ? path : dir.file("kept.Msg"), opened ? (big ? "M1" : "A") : "KEPT",
                             opened ? (big ? "M2" : "B") : "", said))
            << name;
    }
    EXPECT_EQ(p.AlarmMsg[255], "M255");
}

TEST_F(MsgCommands, ModifyLabelPreviewRowsAndTheEdit) {
    EXPECT_EQ(MsgModifyLabel(kMsgModifyLabel, 6), "MOIDFY  N. 007");
    EXPECT_EQ(MsgModifyLabel("AB", 254), "255");
    EXPECT_EQ(MsgPreviewRows("12345678901234567890ABCDEFGHIJKLMNOPQRSTUVWXY"),
              std::make_pair(std::string("12345678901234567890"), std::string("ABCDEFGHIJKLMNOPQRST")));
    EXPECT_EQ(MsgPreviewRows("SHORT"), std::make_pair(std::string("SHORT"), std::string()));

    // OK takes the text, cut to 40 characters; Clear keeps the message.
    p.AlarmMsg[7] = "OLD";
    MarkMsgSaved(p);
    for (const auto& unchanged : {std::optional<std::string>(), std::optional<std::string>("OLD")}) {  // Clear, OK
        BeginMsgEdit(p, 6, "007 OLD");
        EXPECT_EQ(std::tie(p.EditMsgNum, p.EditMsgText), std::tuple(6, "OLD"));
        EXPECT_EQ(EndMsgEdit(p, unchanged), "007 OLD");
        EXPECT_TRUE(MsgSaved(p));
    }
    BeginMsgEdit(p, 6, "007 OLD");
    EXPECT_EQ(EndMsgEdit(p, std::string(45, 'Z')), "007 " + std::string(40, 'Z'));
    EXPECT_EQ(std::tuple(MsgSaved(p), p.AlarmMsg[7]), std::tuple(false, std::string(40, 'Z')));
}

TEST_F(MsgCommands, SearchByNumber) {
    prompt.push("255", " 7 ");
    EXPECT_EQ((Found{SearchMsgNumber(p, prompt), SearchMsgNumber(p, prompt)}), (Found{254, 6}));
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].title),
              std::tuple("NUMERO ALLARME 1 - 255", "SEARCH"));
    EXPECT_TRUE(prompt.messages().empty());
    for (const char* refused : {"0", "256", "-3", "99999999999"}) {
        prompt.clear();
        prompt.push(refused);
        EXPECT_EQ(SearchMsgNumber(p, prompt), std::nullopt);
        EXPECT_THAT(prompt.messages(), ElementsAre(std::string(refused) + " = NUMERO NON VALIDO"));
    }
    // Empty, cancelled and non-numeric answers end silently.
    prompt.clear();
    prompt.push("", std::nullopt, "abc", "1x");
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SearchMsgNumber(p, prompt), std::nullopt);
    EXPECT_TRUE(prompt.messages().empty());
}

TEST_F(MsgCommands, SearchByTextFindsTheNextMatchThenStartsAgain) {
    std::tie(p.AlarmMsg[3], p.AlarmMsg[9], p.AlarmMsg[12]) =
        std::tuple("Oil pressure low", "OIL LEVEL", "Temp\xE9rature");
    const std::vector<std::string> entries = MsgList(p);
    prompt.push("oil");
    EXPECT_EQ(SearchMsgText(p, prompt, entries), 2);
    EXPECT_EQ(std::tie(prompt.asked()[0].text, prompt.asked()[0].title),
              std::tuple("TESTO DA RICERCARE", "MESSAGGI ALLARME"));
    // Accepting the box again searches for the same text: it is the box's default.
    ScriptedPrompt again(true);
    EXPECT_EQ(SearchMsgText(p, again, entries), 8);
    EXPECT_EQ(SearchMsgText(p, again, entries), std::nullopt);
    EXPECT_THAT(again.messages(), ElementsAre("TESTO NON TROVATO"));
    EXPECT_EQ(again.asked().back().title, "MESSAGGI ALLARME");
    EXPECT_EQ(SearchMsgText(p, again, entries), 2);
    // The number is searched too, and capitals match accented letters.
    prompt.push("012");
    EXPECT_EQ(SearchMsgText(p, prompt, entries), 11);
    p.MsgSearchPos = 0;
    prompt.push("TEMP\xC9RATURE");  // É
    EXPECT_EQ(SearchMsgText(p, prompt, entries), 11);
    // A cancelled or empty answer searches nothing and keeps the position.
    prompt.push(std::nullopt, "");
    for (int i = 0; i < 2; ++i) EXPECT_EQ(SearchMsgText(p, prompt, entries), std::nullopt);
    EXPECT_EQ(p.MsgSearchPos, 12);
    EXPECT_TRUE(prompt.messages().empty());
}

// The list shows every message as three digits, a blank and the text; the printout only
// those that are not blank.
TEST_F(MsgCommands, TheListAndThePrintedLines) {
    p.NMsgs = 12;
    ResizeTables(p);
    std::tie(p.AlarmMsg[2], p.AlarmMsg[5], p.AlarmMsg[12], p.MsgFile) =
        std::tuple("ONE", " ", "  TWO ", dir.file("plant.Msg"));
    const Strings entries = MsgList(p);
    ASSERT_EQ(entries.size(), 12u);
    EXPECT_EQ(Strings({entries[0], entries[1], entries[11]}), (Strings{"001 ", "002 ONE", "012   TWO "}));
    EXPECT_THAT(MsgPrintLines(p),
                ElementsAre("MESSAGES: plant.Msg", "N.002ONE", "N.012  TWO ", "******************************"));
}

}  // namespace
}  // namespace cam
