// Size Receive from the main window, over a pseudo-terminal to camsim, is an entry of the
// change history: restoring the state before it brings the earlier tables back.
#include "widgets/main/device_commands.h"
#include "widgets/main/main_window.h"
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "core/editor/phase_list.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
#include "main_window_settings.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace cam {
namespace {

TEST(ReceptionHistory, AReceptionIsAnEntryThatARestoreTakesBack) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    ASSERT_FALSE(sim.port().empty());
    QTemporaryDir docs;
    QtLinePort port;
    ScriptedPrompt prompt(true);

    // The device gets the sizes of a file first.
    Program sent;
    sent.NCams = 32;
    sent.NSizes = 7;
    ResizeTables(sent);
    sent.ComDevice = sim.port();
    sent.WorkDir = docs.path().toStdString();
    sent.TmpFile = sent.WorkDir + "/_._";
    ASSERT_EQ(ReadCamFile(sent, std::string(E2E_DATA_DIR) + "/one_encoder.Cam", prompt), CamFileRead::Complete);
    ASSERT_TRUE(RunSizeTransmit(sent, port, prompt, nullptr));

    Program p;
    const StartupSettings s = camtest::MainWindowSettings(docs.path(), sim.port());
    MainWindow window(p, prompt, s);
    ConnectDevice(window, p, prompt, port);
    ASSERT_TRUE(window.RunStartup());
    // Something of the user's before the reception.
    window.document().Edit(EditScope::Cam(2, 9), "typed", [](CamData& d) { SetPhase(d, 2, 9, 300, 400); });
    const std::size_t before = window.document().history().count();

    window.action("Rc_Siz")->trigger();
    ASSERT_EQ(window.document().history().count(), before + 1);
    EXPECT_EQ(window.document().history().entry(window.document().history().present()).change.label, "reception from the device");
    EXPECT_EQ(PhaseListEntries(p, 1, 0), (std::vector<std::string>{"F001 0000 0100", "F002 0200 0300"}));
    EXPECT_EQ(p.CamRemark[0], "Feed");
    EXPECT_EQ(p.SpeedLimit, 1500);

    EXPECT_FALSE(window.document().FileSaved());
    ASSERT_TRUE(window.document().RestoreHistory(before - 1, "back"));
    EXPECT_TRUE(PhaseListEntries(p, 1, 0).empty());
    EXPECT_EQ(PhaseListEntries(p, 2, 9), std::vector<std::string>{"F001 0300 0400"});
    EXPECT_EQ(p.CamRemark[0], "");
    EXPECT_EQ(p.SpeedLimit, 0);
    port.close();
}

}  // namespace
}  // namespace cam
