// camdesk's device commands as the program runs them, against camsim on a real pseudo-terminal,
// questions answered by a scripted prompt.
#include "core/camfile/cam_file.h"
#include "core/link/port_name.h"
#include "core/messages/message_file.h"
#include "core/messages/message_list_commands.h"
#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "qt/qt_line_port.h"
#include "sim_process.h"
#include "support/scratch_folder.h"
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
#include <QTimer>

#include <fstream>
#include <functional>
#include <thread>

namespace cam {
namespace {

const std::string kData = E2E_DATA_DIR, kCamFile = kData + "/one_encoder.Cam", kFirmware = kData + "/firmware.Abs";
using Ints = std::vector<int>;
using Strings = std::vector<std::string>;

struct OnCamsim : ::testing::Test {
    camtest::ScratchFolder dir;
    QtLinePort port;
    ScriptedPrompt prompt{true};  // questions not scripted get OK or Yes
    Program p;

    Program onLine(const SimProcess& sim) {
        EXPECT_FALSE(sim.port().empty());
        Program q;
        ResizeTables(q);
        std::tie(q.ComDevice, q.WorkDir, q.TmpFile) = std::tuple(sim.port(), dir.str(), dir.file("_._"));
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
    // camdesk on the simulator's port; `file` opened instead of asking the device.
    std::unique_ptr<MainWindow> mainWindow(const SimProcess& sim, const std::string& file = "") {
        StartupSettings s;
        s.exeDir = QCoreApplication::applicationDirPath().toStdString();
        s.documentsDir = s.homeDir = dir.str();
        s.singleInstance = s.writeOptions = false;  // no instance lock, no options file written
        std::tie(s.commandLine.port, s.commandLine.file, s.askDevice) = std::tuple(sim.port(), file, file.empty());
        auto window = std::make_unique<MainWindow>(p, prompt, s);
        ConnectDevice(*window, p, prompt, port);
        return window;
    }
    // What a command ended with: its result, the messages shown so far, the port left open.
    std::tuple<bool, Strings, bool> ended(bool result) { return {result, prompt.messages(), port.isOpen()}; }
};

TEST_F(OnCamsim, AtStartUpTheDevicesModelBecomesTheTablesModel) {
    SimProcess sim({"--model", "16x60x180x2"});
    auto window = mainWindow(sim);
    ASSERT_EQ(ended(window->RunStartup()), std::tuple(true, Strings{}, true));  // the port left open
    EXPECT_EQ((Ints{p.NCams, p.NSizes, p.NMsgs, p.NEncoders, p.CamPos.cams(), p.CamPos.sizes()}),
              (Ints{16, 60, 180, 2, 16, 60}));
    window->Activate();
    EXPECT_TRUE(window->windowTitle().endsWith("1024 16C-60F  180-Msg ")) << window->windowTitle().toStdString();
}

TEST_F(OnCamsim, AFailedIdentificationAtStartUpIsReportedAndTheStartUpModelStays) {
    for (auto [fault, shown] :
         {std::pair{"silent", "KLM NOT FOUND\rCONTROL WIRING"}, {"unsupported", "DEVICE UNSUPPORTED"}}) {
        SCOPED_TRACE(fault);
        SimProcess sim({"--fault", fault});
        p = Program();
        prompt.clear();
        ASSERT_EQ(ended(mainWindow(sim)->RunStartup()), std::tuple(true, Strings{shown}, false));
        // The unsupported device names 24 cams: nothing of it may reach the tables.
        EXPECT_EQ((Ints{p.NCams, p.NSizes, p.CamPos.cams(), p.CamPos.sizes()}), (Ints{32, 7, 32, 7}));
    }
}

TEST_F(OnCamsim, TheScreenStaysResponsiveWhileTheDeviceIsSilent) {
    SimProcess sim({"--fault", "silent"});
    p.ComDevice = sim.port();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    struct Recording : ScriptedPrompt {
        std::thread::id askedOn;
        Answer message(const std::string& t, const std::string& ti, Buttons b, Icon i) override {
            askedOn = std::this_thread::get_id();
            return ScriptedPrompt::message(t, ti, b, i);
        }
    } recording;
    EXPECT_FALSE(IdentifyDeviceModal(p, port, recording, nullptr));
    EXPECT_GE(ticks, 15);  // two seconds of silence, the screen's timers kept running
    // The message shown on the screen's thread.
    EXPECT_EQ(std::tuple(recording.messages(), recording.askedOn, port.isOpen()),
              std::tuple(Strings{"KLM NOT FOUND\rCONTROL WIRING"}, std::this_thread::get_id(), false));
}

TEST_F(OnCamsim, DevicesBehindASerialServerAndOnALocalLineShareThePort) {
    SimProcess sim({"--model", "16x15x180x2"});
    for (const char* protocol : {"rfc2217", "tcp"}) {
        SerialServer server(sim.port(), protocol);
        ASSERT_NE(server.port(), "");
        EXPECT_TRUE(SetPortName(p, server.port()));
        EXPECT_TRUE(IdentifyDeviceModal(p, port, prompt, nullptr)) << protocol;
        EXPECT_EQ((Ints{p.NCams, p.NSizes, p.NMsgs, p.NEncoders}), (Ints{16, 15, 180, 2}));
        port.close();  // the server goes with this iteration
    }
    p.ComDevice = sim.port();
    EXPECT_EQ(ended(IdentifyDeviceModal(p, port, prompt, nullptr)), std::tuple(true, Strings{}, true));
}

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
    ASSERT_EQ(std::tuple(doc.history().count(), doc.history().entry(doc.history().present()).change.label,
                         CamFileText(p), doc.FileSaved()),
              std::tuple(before + 1, "reception from the device", ReadFileBytes(kCamFile, 1 << 30).bytes, false));

    ASSERT_TRUE(doc.RestoreHistory(before - 1, "back"));
    EXPECT_EQ(CamFileText(p), typed);
    port.close();
}

// The transfer window first, then the compare window; the tables never change.
TEST_F(OnCamsim, CompareWithDeviceNamesThePhaseChangedOnTheDevice) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    sendFile(sim, [](Program& q) { SetPhase(q, 1, 0, 0, 120); });
    auto window = mainWindow(sim, kCamFile);
    ASSERT_TRUE(window->RunStartup());
    const std::string before = CamFileText(p);
    ASSERT_EQ(before, ReadFileBytes(kCamFile, 1 << 30).bytes);

    QStringList shown;  // the differences listed, then the captions once the first is chosen
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != "Compare") return;
        poll.stop();
        auto* list = modal->findChild<QListWidget*>("LstDiff");
        for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
        list->setCurrentRow(0);
        shown << window->chart()->sizeCaption() << window->chart()->camCaption();
        modal->findChild<QPushButton*>("CmdClose")->click();
    });
    poll.start(20);
    window->action("Co_CmpDev")->trigger();
    EXPECT_EQ(shown, (QStringList{"size 1, cam 1: phase 0000-0100 in A, 0000-0120 in B", "SIZE 01", "CAM 01"}));
    EXPECT_EQ(std::tuple(prompt.messages(), CamFileText(p), window->document().FileSaved(), port.isOpen()),
              std::tuple(Strings{}, before, true, false));
}

TEST_F(OnCamsim, AReceptionThatEndsEarlyComparesNothing) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "bad-checksum:3"});
    p = onLine(sim);
    SetPhase(p, 1, 0, 100, 200);
    const std::string before = CamFileText(p);
    const Strings said{"TIMEOUT SERIAL PORT ", "The reception did not end: nothing was taken from the device."};
    EXPECT_EQ(ended(CompareTablesWithDevice(p, port, prompt, nullptr).has_value()), std::tuple(false, said, false));
    EXPECT_EQ(CamFileText(p), before);
}

// As a user does it: camdesk started on the device's port, unsaved sizes, Update FLASH, the file, Yes.
TEST_F(OnCamsim, UpdateFlashFromTheMainWindowLeavesTheSizesAsTheyWere) {
    SimProcess sim({"--baud", "0", "--state", dir.str()});
    auto window = mainWindow(sim);
    ASSERT_EQ(ended(window->RunStartup()), std::tuple(true, Strings{}, true));
    window->document().Edit(EditScope::Cam(2, 5), "typed", [](CamData& d) { SetPhase(d, 2, 5, 10, 20); });
    prompt.push(kFirmware.c_str());
    prompt.push(Answer::Yes);
    window->action("Upd_Flash")->trigger();
    // Asked once; no window left, the port closed, the sizes unsaved and kept.
    EXPECT_EQ(std::tuple(prompt.messages(), QApplication::activeModalWidget(), port.isOpen(),
                         window->document().FileSaved(), p.CamPos(2, 5, 15)),
              std::tuple(Strings{"UPDATE FLASH ?"}, nullptr, false, false, 1));
    sim.stop();
    // camsim stored the records of the file that carry data (byte count above 00), in file order.
    std::ifstream in(kFirmware), stored(dir.file("camsim-32x60x255x2.firmware"));
    Strings sent, kept;
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
    std::tie(p.ComDevice, p.ComSpeed) = std::tuple(sim.port(), 2400);  // the update runs at its own speed
    FlashWindow window;
    FlashOutcome outcome = FlashOutcome::FileRefused;
    LinkRunner(p, port, prompt, nullptr)  // Yes to "UPDATE FLASH ?"
        .run([&](Link& link) { outcome = FlashUpdate(p, link, kFirmware, window, 0); }, &window);
    ASSERT_EQ(outcome, FlashOutcome::Updated);
    const FlashScreen& s = window.screen();
    // The lamp is green: a pseudo-terminal cannot tell CTS.
    EXPECT_EQ(std::tuple(s.row8, s.percent, s.sentLines, s.sentBytes, s.testLines, s.lamp),
              std::tuple("DEVICE UPDATED WITH  " + kFirmware, 100, 121, 1906, 121, FlashScreen::Lamp::Green));
}

TEST_F(OnCamsim, MessagesReceivedEditedSentAndReceivedShowTheEdit) {
    SimProcess sim({"--model", "32x7x180x1", "--baud", "0"});
    p = onLine(sim);
    std::tie(p.AlarmMsg[1], p.AlarmMsg[3]) = std::tuple("MOTOR OVERLOAD", "FROM THE WINDOW");
    MsgWindow sender(p, prompt, &port);
    sender.show();
    sender.action("c_Trans")->trigger();
    EXPECT_FALSE(port.isOpen());

    Program q = onLine(sim);
    ASSERT_EQ(ended(RunMsgReceive(q, port, prompt, nullptr)), std::tuple(true, Strings{}, false));
    EXPECT_EQ(std::tuple(q.NMsgs, q.MsgFile, q.AlarmMsg[1], q.AlarmMsg[3]),
              std::tuple(180, MsgScratchPath(q), "MOTOR OVERLOAD", "FROM THE WINDOW"));  // the device's count

    BeginMsgEdit(q, 4, MsgList(q)[4]);
    EndMsgEdit(q, std::string("DOOR OPEN"));
    ASSERT_TRUE(RunMsgListTransmit(q, port, prompt, nullptr));
    EXPECT_FALSE(MsgSaved(q));  // sent, but in no file of the user's

    Program r = onLine(sim);
    std::tie(r.NMsgs, r.MsgFile) = std::tuple(180, dir.write("mine.Msg", ""));
    MsgWindow w(r, prompt, &port);
    w.show();
    EXPECT_EQ(w.list()->item(4)->text().toStdString(), "005 ");
    w.action("c_Rec")->trigger();
    EXPECT_EQ(w.list()->item(4)->text().toStdString(), "005 DOOR OPEN");
    EXPECT_EQ(std::tuple(r.AlarmMsg[1], r.MsgFile, MsgSaved(r), port.isOpen()),
              std::tuple("MOTOR OVERLOAD", dir.file("mine.Msg"), true, false));  // the list keeps its file
}

TEST_F(OnCamsim, TransmitOfAChosenMessageFileAndItsRefusals) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    p = onLine(sim);
    p.MsgFile = "kept.Msg";
    prompt.push("");  // the choice cancelled
    EXPECT_EQ(ended(RunMsgFileTransmit(p, port, prompt, nullptr)), std::tuple(false, Strings{}, false));
    prompt.push(dir.file("missing.Msg").c_str());
    EXPECT_EQ(ended(RunMsgFileTransmit(p, port, prompt, nullptr)), std::tuple(false, Strings{"File not found"}, false));
    EXPECT_EQ(prompt.asked().back().icon, Icon::Stop);
    prompt.push(dir.write("good.Msg", "N. 001 \"SENT\"\r\nN. 002\r\n").c_str());
    EXPECT_EQ(ended(RunMsgFileTransmit(p, port, prompt, nullptr)), std::tuple(true, Strings{"File not found"}, false));
    EXPECT_EQ(p.MsgFile, "kept.Msg");  // it stays the list's

    Program q = onLine(sim);
    ASSERT_TRUE(RunMsgReceive(q, port, prompt, nullptr));
    EXPECT_EQ(q.AlarmMsg[1], "SENT");
}

TEST_F(OnCamsim, AFailedMessageReceptionLeavesTheListAndItsFile) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "babble"});
    p = onLine(sim);
    std::tie(p.AlarmMsg[1], p.MsgFile) = std::tuple("OLD", dir.write("mine.Msg", "N. 001 \"OLD\"\r\n"));
    MarkMsgSaved(p);
    EXPECT_EQ(ended(RunMsgReceive(p, port, prompt, nullptr)),
              std::tuple(false, Strings{"TIMEOUT SERIAL PORT "}, false));
    EXPECT_EQ((Strings{p.AlarmMsg[1], p.MsgFile}), (Strings{"OLD", dir.file("mine.Msg")}));
}

}  // namespace
}  // namespace cam
