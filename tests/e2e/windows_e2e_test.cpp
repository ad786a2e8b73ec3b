// camdesk's device commands as the program runs them, each against camsim on a real
// pseudo-terminal: the identification at start-up and behind its wait window, the transfer,
// message, update and compare windows over their worker threads, and a reception as an entry
// of the change history. Questions are answered by a scripted prompt. (A size transmission
// through the transfer window starts every test that needs sizes on the device; a reception
// through it ends in the compare window.)
#include "core/camfile/cam_file.h"
#include "core/link/port_name.h"
#include "core/messages/message_file.h"
#include "core/messages/message_list_commands.h"
#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "qt/qt_line_port.h"
#include "sim_process.h"
#include "widgets/compare/compare_window.h"
#include "widgets/editor/chart_widget.h"
#include "widgets/firmware/flash_window.h"
#include "widgets/link/message_transfer_window.h"
#include "widgets/link/qt_link_runner.h"
#include "widgets/link/transfer_window.h"
#include "widgets/main/device_commands.h"
#include "widgets/main/main_window.h"
#include "widgets/messages/message_window.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>
#include <functional>
#include <thread>

namespace cam {
namespace {

const std::string kData = E2E_DATA_DIR;
const std::string kCamFile = kData + "/one_encoder.Cam";
const std::string kFirmware = kData + "/firmware.Abs";

struct OnCamsim : ::testing::Test {
    QTemporaryDir docs;
    QtLinePort port;
    ScriptedPrompt prompt{true};  // questions not scripted get OK or Yes
    Program p;

    std::string work() const { return docs.path().toStdString(); }
    std::string file(const char* name, const std::string& bytes) {
        const std::string path = work() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    // A program of the default model on the simulator's line, its scratch files in the test's folder.
    Program onLine(const SimProcess& sim) {
        EXPECT_FALSE(sim.port().empty());
        Program q;
        ResizeTables(q);
        q.ComDevice = sim.port();
        q.WorkDir = work();
        q.TmpFile = work() + "/_._";
        return q;
    }
    // The device is given the sizes of the cam file, changed by `change` first.
    void sendFile(const SimProcess& sim, const std::function<void(Program&)>& change = {}) {
        Program q = onLine(sim);
        ScriptedPrompt yes(true);
        ASSERT_EQ(ReadCamFile(q, kCamFile, yes), CamFileRead::Complete);
        if (change) change(q);
        ASSERT_TRUE(RunSizeTransmit(q, port, yes, nullptr));
        EXPECT_FALSE(port.isOpen());  // the command closes the port when it is done
    }
    // camdesk on the simulator's port, as it starts: no instance lock, no options file
    // written on shut-down, its folders the test's own; `file` opened instead of asking the
    // device.
    std::unique_ptr<MainWindow> mainWindow(const SimProcess& sim, const std::string& file = "") {
        StartupSettings s;
        s.exeDir = QCoreApplication::applicationDirPath().toStdString();
        s.documentsDir = s.homeDir = work();
        s.singleInstance = false;
        s.writeOptions = false;
        s.commandLine.port = sim.port();
        s.askDevice = file.empty();
        s.commandLine.file = file;
        auto window = std::make_unique<MainWindow>(p, prompt, s);
        ConnectDevice(*window, p, prompt, port);
        return window;
    }
};

TEST_F(OnCamsim, AtStartUpTheDevicesModelBecomesTheTablesModel) {
    SimProcess sim({"--model", "16x60x180x2"});
    auto window = mainWindow(sim);
    ASSERT_TRUE(window->RunStartup());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.NMsgs, p.NEncoders, p.CamPos.cams(), p.CamPos.sizes()}),
              (std::vector<int>{16, 60, 180, 2, 16, 60}));
    window->Activate();
    EXPECT_TRUE(window->windowTitle().endsWith("1024 16C-60F  180-Msg ")) << window->windowTitle().toStdString();
    EXPECT_TRUE(port.isOpen());  // a successful identification leaves the port open
}

TEST_F(OnCamsim, AFailedIdentificationAtStartUpIsReportedAndTheStartUpModelStays) {
    for (auto [fault, shown] :
         {std::pair{"silent", "KLM NOT FOUND\rCONTROL WIRING"}, {"unsupported", "DEVICE UNSUPPORTED"}}) {
        SCOPED_TRACE(fault);
        SimProcess sim({"--fault", fault});
        p = Program();
        prompt.clear();
        ASSERT_TRUE(mainWindow(sim)->RunStartup());
        EXPECT_EQ(prompt.messages(), std::vector<std::string>{shown});
        // The unsupported device names 24 cams: nothing of it may reach the tables.
        EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.CamPos.cams(), p.CamPos.sizes()}),
                  (std::vector<int>{32, 7, 32, 7}));
        EXPECT_FALSE(port.isOpen());
    }
}

TEST_F(OnCamsim, TheScreenStaysResponsiveWhileTheDeviceIsSilent) {
    SimProcess sim({"--fault", "silent"});
    p.ComDevice = sim.port();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    // The prompt notes the thread it is asked on.
    struct Recording : ScriptedPrompt {
        std::thread::id askedOn;
        Answer message(const std::string& t, const std::string& ti, Buttons b, Icon i) override {
            askedOn = std::this_thread::get_id();
            return ScriptedPrompt::message(t, ti, b, i);
        }
    } recording;
    EXPECT_FALSE(IdentifyDeviceModal(p, port, recording, nullptr));
    EXPECT_GE(ticks, 15);  // two seconds of silence, the screen's timers kept running
    EXPECT_EQ(recording.messages(), std::vector<std::string>{"KLM NOT FOUND\rCONTROL WIRING"});
    EXPECT_EQ(recording.askedOn, std::this_thread::get_id());  // the message was shown on the screen's thread
    EXPECT_FALSE(port.isOpen());
    // (That the port comes back to this thread after a failure, the start-up test above shows:
    // its second device is asked on the same port.)
}

TEST_F(OnCamsim, DevicesBehindASerialServerAndOnALocalLineShareThePort) {
    SimProcess sim({"--model", "16x15x180x2"});
    for (const char* protocol : {"rfc2217", "tcp"}) {
        SerialServer server(sim.port(), protocol);
        ASSERT_NE(server.port(), "");
        EXPECT_TRUE(SetPortName(p, server.port()));
        EXPECT_TRUE(IdentifyDeviceModal(p, port, prompt, nullptr)) << protocol;
        EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.NMsgs, p.NEncoders}), (std::vector<int>{16, 15, 180, 2}));
        port.close();  // the server goes with this iteration
    }
    p.ComDevice = sim.port();
    EXPECT_TRUE(IdentifyDeviceModal(p, port, prompt, nullptr));
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{});
}

// Size Receive from the main window is an entry of the change history: restoring the state
// before it brings the earlier tables back.
TEST_F(OnCamsim, AReceptionIsAHistoryEntryThatARestoreTakesBack) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    sendFile(sim);
    auto window = mainWindow(sim);
    ASSERT_TRUE(window->RunStartup());
    CamDocument& doc = window->document();
    doc.Edit(EditScope::Cam(2, 9), "typed", [](CamData& d) { SetPhase(d, 2, 9, 300, 400); });
    const std::size_t before = doc.history().count();
    const std::string typed = CamFileText(p);

    window->action("Rc_Siz")->trigger();
    ASSERT_EQ(doc.history().count(), before + 1);
    EXPECT_EQ(doc.history().entry(doc.history().present()).change.label, "reception from the device");
    EXPECT_EQ(CamFileText(p), ReadFileBytes(kCamFile, 1 << 30).bytes);
    EXPECT_FALSE(doc.FileSaved());

    ASSERT_TRUE(doc.RestoreHistory(before - 1, "back"));
    EXPECT_EQ(CamFileText(p), typed);
    port.close();
}

// Compare with Device from the main window: the transfer window first, the compare window
// once the reception is done, naming the phase changed on the device. The tables never change.
TEST_F(OnCamsim, CompareWithDeviceNamesThePhaseChangedOnTheDevice) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    sendFile(sim, [](Program& q) { SetPhase(q, 1, 0, 0, 120); });
    auto window = mainWindow(sim, kCamFile);
    ASSERT_TRUE(window->RunStartup());
    const std::string before = CamFileText(p);
    ASSERT_EQ(before, ReadFileBytes(kCamFile, 1 << 30).bytes);

    QStringList listed;
    QString shownSize, shownCam;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != "Compare") return;
        poll.stop();
        auto* list = modal->findChild<QListWidget*>("LstDiff");
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        list->setCurrentRow(0);
        shownSize = window->chart()->sizeCaption();
        shownCam = window->chart()->camCaption();
        modal->findChild<QPushButton*>("CmdClose")->click();
    });
    poll.start(20);
    window->action("Co_CmpDev")->trigger();
    EXPECT_EQ(listed, QStringList{"size 1, cam 1: phase 0000-0100 in A, 0000-0120 in B"});
    EXPECT_EQ(shownSize, "SIZE 01");
    EXPECT_EQ(shownCam, "CAM 01");
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_EQ(CamFileText(p), before);
    EXPECT_TRUE(window->document().FileSaved());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(OnCamsim, AReceptionThatEndsEarlyComparesNothing) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "bad-checksum:3"});
    p = onLine(sim);
    SetPhase(p, 1, 0, 100, 200);
    const std::string before = CamFileText(p);
    EXPECT_FALSE(CompareTablesWithDevice(p, port, prompt, nullptr));
    EXPECT_EQ(prompt.messages(),
              (std::vector<std::string>{"TIMEOUT SERIAL PORT ",
                                        "The reception did not end: nothing was taken from the device."}));
    EXPECT_EQ(CamFileText(p), before);
    EXPECT_FALSE(port.isOpen());
}

// As a user does it: camdesk started on the device's port (the identification leaves it
// open at the stored speed), unsaved sizes, Communic > Update FLASH, the file, Yes.
TEST_F(OnCamsim, UpdateFlashFromTheMainWindowLeavesTheSizesAsTheyWere) {
    SimProcess sim({"--baud", "0", "--state", work()});
    auto window = mainWindow(sim);
    ASSERT_TRUE(window->RunStartup());
    ASSERT_TRUE(port.isOpen());
    window->document().Edit(EditScope::Cam(2, 5), "typed", [](CamData& d) { SetPhase(d, 2, 5, 10, 20); });
    prompt.push(kFirmware.c_str());
    prompt.push(Answer::Yes);
    window->action("Upd_Flash")->trigger();
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"UPDATE FLASH ?"});
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(window->document().FileSaved());
    EXPECT_EQ(p.CamPos(2, 5, 15), 1);
    sim.stop();
    // camsim stored the records of the file that carry data (byte count above 00), in file order.
    std::ifstream in(kFirmware), stored(work() + "/camsim-32x60x255x2.firmware");
    std::vector<std::string> sent, kept;
    for (std::string line; std::getline(in, line);)
        if (line.rfind(":00", 0) != 0) sent.push_back(line.substr(0, line.find('\r')));
    for (std::string line; std::getline(stored, line);)
        if (line.rfind("record ", 0) == 0) kept.push_back(line.substr(7));
    ASSERT_EQ(sent.size(), 120u);
    EXPECT_EQ(kept, sent);
    window->document().MarkSaved();  // no shut-down question
}

TEST_F(OnCamsim, FlashWindowEndsShowingTheUpdatedFileWithTheBarFull) {
    SimProcess sim({"--baud", "0"});
    p.ComDevice = sim.port();
    p.ComSpeed = 2400;  // the update runs at its own speed
    FlashWindow window;
    FlashOutcome outcome = FlashOutcome::FileRefused;
    ScriptedPrompt yes(true);  // "UPDATE FLASH ?"
    LinkRunner(p, port, yes, nullptr)
        .run([&](Link& link) { outcome = FlashUpdate(p, link, kFirmware, window, 0); }, &window);
    ASSERT_EQ(outcome, FlashOutcome::Updated);
    const FlashScreen& s = window.screen();
    EXPECT_EQ(s.row8, "DEVICE UPDATED WITH  " + kFirmware);
    EXPECT_EQ((std::vector<long>{s.percent, s.sentLines, s.sentBytes, s.testLines}),
              (std::vector<long>{100, 121, 1906, 121}));
    EXPECT_EQ(s.lamp, FlashScreen::Lamp::Green);  // a pseudo-terminal cannot tell CTS
}

// The message window sends its list; the list received, one message edited and sent, the
// window's receive command shows the edit.
TEST_F(OnCamsim, MessagesReceivedEditedSentAndReceivedShowTheEdit) {
    SimProcess sim({"--model", "32x7x180x1", "--baud", "0"});
    p = onLine(sim);
    p.AlarmMsg[1] = "MOTOR OVERLOAD";
    p.AlarmMsg[3] = "FROM THE WINDOW";
    MsgWindow sender(p, prompt, &port);
    sender.show();
    sender.action("c_Trans")->trigger();
    EXPECT_FALSE(port.isOpen());

    Program q = onLine(sim);
    ASSERT_TRUE(RunMsgReceive(q, port, prompt, nullptr));
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_EQ(q.NMsgs, 180);  // the device's count
    EXPECT_EQ(q.MsgFile, MsgScratchPath(q));
    EXPECT_EQ(q.AlarmMsg[1], "MOTOR OVERLOAD");
    EXPECT_EQ(q.AlarmMsg[3], "FROM THE WINDOW");

    BeginMsgEdit(q, 4, MsgList(q)[4]);
    EndMsgEdit(q, std::string("DOOR OPEN"));
    ASSERT_TRUE(RunMsgListTransmit(q, port, prompt, nullptr));
    EXPECT_FALSE(MsgSaved(q));  // sent, but in no file of the user's

    Program r = onLine(sim);
    r.NMsgs = 180;
    r.MsgFile = file("mine.Msg", "");
    MsgWindow w(r, prompt, &port);
    w.show();
    EXPECT_EQ(w.list()->item(4)->text().toStdString(), "005 ");
    w.action("c_Rec")->trigger();
    EXPECT_EQ(w.list()->item(4)->text().toStdString(), "005 DOOR OPEN");
    EXPECT_EQ(r.AlarmMsg[1], "MOTOR OVERLOAD");
    EXPECT_EQ(r.MsgFile, work() + "/mine.Msg");  // the list keeps its file
    EXPECT_TRUE(MsgSaved(r));
    EXPECT_FALSE(port.isOpen());
}

// (What is no message file is refused before the port is opened: size_transfer_test.)
TEST_F(OnCamsim, TransmitOfAChosenMessageFileAndItsRefusals) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    p = onLine(sim);
    p.MsgFile = "kept.Msg";
    // Cancelled choice: back with the port closed, nothing sent.
    prompt.push("");
    EXPECT_FALSE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_FALSE(port.isOpen());
    // A missing file: said, port closed.
    prompt.push((work() + "/missing.Msg").c_str());
    EXPECT_FALSE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"File not found"});
    EXPECT_EQ(prompt.asked().back().icon, Icon::Stop);
    EXPECT_FALSE(port.isOpen());
    // A good file goes out; MsgFile stays the list's.
    prompt.push(file("good.Msg", "N. 001 \"SENT\"\r\nN. 002\r\n").c_str());
    EXPECT_TRUE(RunMsgFileTransmit(p, port, prompt, nullptr));
    EXPECT_EQ(p.MsgFile, "kept.Msg");
    EXPECT_FALSE(port.isOpen());

    Program q = onLine(sim);
    ASSERT_TRUE(RunMsgReceive(q, port, prompt, nullptr));
    EXPECT_EQ(q.AlarmMsg[1], "SENT");
}

// A message reception that fails leaves the list and its file (a silent device ends the same
// way, after its wait, in the fault matrix).
TEST_F(OnCamsim, AFailedMessageReceptionLeavesTheListAndItsFile) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "babble"});
    p = onLine(sim);
    p.AlarmMsg[1] = "OLD";
    p.MsgFile = file("mine.Msg", "N. 001 \"OLD\"\r\n");
    MarkMsgSaved(p);
    EXPECT_FALSE(RunMsgReceive(p, port, prompt, nullptr));
    ASSERT_FALSE(prompt.messages().empty());
    EXPECT_EQ(prompt.messages().back(), "TIMEOUT SERIAL PORT ");
    EXPECT_EQ(p.AlarmMsg[1], "OLD");
    EXPECT_EQ(p.MsgFile, work() + "/mine.Msg");
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace cam
