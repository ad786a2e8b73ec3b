// camdesk's start-up asks the device on its port for the model, as the real program does:
// the main window with its device commands connected, over a pseudo-terminal to camsim.
#include "widgets/main/device_commands.h"
#include "widgets/main/main_window.h"
#include "core/model/scripted_prompt.h"
#include "qt/qt_line_port.h"
#include "main_window_settings.h"
#include "qt/cp1252.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace cam {
namespace {

struct Startup : ::testing::Test {
    QTemporaryDir docs;
    QtLinePort port;
    ScriptedPrompt prompt;
    Program p;

    StartupSettings settings(const std::string& portName) { return camtest::MainWindowSettings(docs.path(), portName); }
};

TEST_F(Startup, TheDevicesModelBecomesTheTablesModel) {
    SimProcess sim({"--model", "16x60x180x2"});
    ASSERT_FALSE(sim.port().empty());
    MainWindow window(p, prompt, settings(sim.port()));
    ConnectDevice(window, p, prompt, port);
    ASSERT_TRUE(window.RunStartup());
    EXPECT_TRUE(prompt.messages().empty());
    EXPECT_EQ(p.NCams, 16);
    EXPECT_EQ(p.NSizes, 60);
    EXPECT_EQ(p.NMsgs, 180);
    EXPECT_EQ(p.NEncoders, 2);
    EXPECT_EQ(p.CamPos.sizes(), 60);
    EXPECT_EQ(p.CamPos.cams(), 16);
    window.Activate();
    EXPECT_TRUE(window.windowTitle().endsWith("1024 16C-60F  180-Msg ")) << window.windowTitle().toStdString();
    EXPECT_TRUE(port.isOpen());  // a successful identification leaves the port open
}

TEST_F(Startup, AFailedIdentificationIsReportedAndTheStartUpModelStays) {
    for (auto [fault, shown] :
         {std::pair{"silent", "KLM NOT FOUND\rCONTROL WIRING"}, {"unsupported", "DEVICE UNSUPPORTED"}}) {
        SCOPED_TRACE(fault);
        SimProcess sim({"--fault", fault});
        p = Program();
        prompt.clear();
        MainWindow window(p, prompt, settings(sim.port()));
        ConnectDevice(window, p, prompt, port);
        ASSERT_TRUE(window.RunStartup());
        EXPECT_EQ(prompt.messages(), std::vector<std::string>{shown});
        // The unsupported device names 24 cams: nothing of it may reach the tables.
        EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.CamPos.cams(), p.CamPos.sizes()}),
                  (std::vector<int>{32, 7, 32, 7}));
        EXPECT_FALSE(port.isOpen());
    }
}

}  // namespace
}  // namespace cam
