// The alarm message transfers as camdesk runs them: the transfer window over a worker thread,
// talking to camsim on a real pseudo-terminal, questions answered by a scripted prompt; and
// the message window's own transfer commands.
#include "core/model/scripted_prompt.h"
#include "widgets/link/message_transfer_window.h"
#include "qt/qt_line_port.h"
#include "core/messages/message_file.h"
#include "core/messages/message_list_commands.h"
#include "widgets/messages/message_window.h"
#include "sim_process.h"

#include <QAction>
#include <QListWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace cam {
namespace {

struct MessagesOverPty : ::testing::Test {
    QtLinePort port;
    ScriptedPrompt prompt;
    std::filesystem::path work =
        std::filesystem::temp_directory_path() / ("camdesk-msg-e2e-" + std::to_string(getpid()));

    void SetUp() override { std::filesystem::create_directories(work); }
    void TearDown() override { std::filesystem::remove_all(work); }

    Program onLine(const SimProcess& sim) {
        EXPECT_FALSE(sim.port().empty());
        Program p;
        ResizeTables(p);
        p.ComDevice = sim.port();
        p.WorkDir = work.string();
        return p;
    }
    std::string file(const char* name, const std::string& bytes) {
        const std::string path = (work / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

// Receive the device's list, edit one message, send it, receive again: the edit is there.
TEST_F(MessagesOverPty, ReceiveEditSendReceiveShowsTheEdit) {
    SimProcess sim({"--model", "32x7x180x1", "--baud", "0"});
    Program p = onLine(sim);
    p.AlarmMsg[1] = "MOTOR OVERLOAD";
    p.AlarmMsg[9] = "OIL LEVEL LOW";
    ASSERT_TRUE(RunMsgListTransmit(p, port, prompt, nullptr));
    EXPECT_FALSE(port.isOpen());

    Program q = onLine(sim);
    ASSERT_TRUE(RunMsgReceive(q, port, prompt, nullptr));
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_EQ(q.NMsgs, 180);  // the device's count
    EXPECT_EQ(q.MsgFile, MsgScratchPath(q));
    EXPECT_EQ(q.AlarmMsg[1], "MOTOR OVERLOAD");
    EXPECT_EQ(q.AlarmMsg[9], "OIL LEVEL LOW");

    BeginMsgEdit(q, 4, MsgList(q)[4]);
    EndMsgEdit(q, std::string("DOOR OPEN"));
    ASSERT_TRUE(RunMsgListTransmit(q, port, prompt, nullptr));
    EXPECT_FALSE(MsgSaved(q));  // sent, but in no file of the user's

    Program r = onLine(sim);
    r.NMsgs = 180;
    r.MsgFile = file("mine.Msg", "");
    ASSERT_TRUE(RunMsgListReceive(r, port, prompt, nullptr));
    EXPECT_EQ(r.AlarmMsg[5], "DOOR OPEN");
    EXPECT_EQ(r.AlarmMsg[1], "MOTOR OVERLOAD");
    EXPECT_EQ(r.MsgFile, (work / "mine.Msg").string());  // the list keeps its file
    EXPECT_FALSE(port.isOpen());
}

TEST_F(MessagesOverPty, TransmitOfAChosenFileAndItsRefusals) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    Program p = onLine(sim);
    p.MsgFile = "kept.Msg";
    // Cancelled choice: back with the port closed, nothing sent.
    prompt.push("");
    EXPECT_FALSE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_FALSE(port.isOpen());
    // A missing file: said, port closed.
    prompt.push((work / "missing.Msg").string().c_str());
    EXPECT_FALSE(RunMsgFileTransmit(p, port, prompt, nullptr));
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0], "File not found");
    EXPECT_EQ(prompt.asked().back().icon, Icon::Stop);
    EXPECT_FALSE(port.isOpen());
    // A file whose first line is empty: language text 10, nothing sent.
    prompt.push(file("empty-first.Msg", "\r\nN. 001 \"A\"\r\n").c_str());
    EXPECT_FALSE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_EQ(prompt.messages().back(), "empty-first.Msg - wrong file format");
    // A good file goes out; MsgFile stays the list's.
    prompt.push(file("good.Msg", "N. 001 \"SENT\"\r\nN. 002\r\n").c_str());
    EXPECT_TRUE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_EQ(p.MsgFile, "kept.Msg");
    EXPECT_FALSE(port.isOpen());

    Program q = onLine(sim);
    ASSERT_TRUE(RunMsgReceive(q, port, prompt, nullptr));
    EXPECT_EQ(q.AlarmMsg[1], "SENT");
}

// A reception that fails leaves the list and its file (a silent device ends the same way,
// after its wait, in the fault matrix).
TEST_F(MessagesOverPty, AFailedReceptionLeavesTheListAndItsFile) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "babble"});
    Program p = onLine(sim);
    p.AlarmMsg[1] = "OLD";
    p.MsgFile = file("mine.Msg", "N. 001 \"OLD\"\r\n");
    MarkMsgSaved(p);
    EXPECT_FALSE(RunMsgReceive(p, port, prompt, nullptr));
    ASSERT_FALSE(prompt.messages().empty());
    EXPECT_EQ(prompt.messages().back(), "TIMEOUT SERIAL PORT ");
    EXPECT_EQ(p.AlarmMsg[1], "OLD");
    EXPECT_EQ(p.MsgFile, (work / "mine.Msg").string());
    EXPECT_FALSE(port.isOpen());
}

// The message window's Communic menu through the real window.
TEST_F(MessagesOverPty, TheWindowsReceiveCommandRefreshesTheList) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    Program p = onLine(sim);
    p.AlarmMsg[3] = "FROM THE WINDOW";
    MsgWindow sender(p, prompt, &port);
    sender.show();
    sender.action("c_Trans")->trigger();
    EXPECT_TRUE(prompt.messages().empty());

    Program q = onLine(sim);
    MsgWindow w(q, prompt, &port);
    w.show();
    EXPECT_EQ(w.list()->item(2)->text().toStdString(), "003 ");
    w.action("c_Rec")->trigger();
    EXPECT_EQ(w.list()->item(2)->text().toStdString(), "003 FROM THE WINDOW");
    EXPECT_TRUE(MsgSaved(q));
}

}  // namespace
}  // namespace cam
