// The firmware update as camdesk runs it: the update window over a worker thread, talking to
// camsim on a real pseudo-terminal, the question answered by a scripted prompt.
#include "widgets/main/device_commands.h"
#include "widgets/main/main_window.h"
#include "core/model/scripted_prompt.h"
#include "widgets/firmware/flash_window.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "main_window_settings.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace cam {
namespace {

const std::string kFirmware = std::string(E2E_DATA_DIR) + "/firmware.Abs";

struct FlashOverPty : ::testing::Test {
    QtLinePort port;
    ScriptedPrompt prompt{true};  // "UPDATE FLASH ?": Yes
    std::filesystem::path state =
        std::filesystem::temp_directory_path() / ("camdesk-flash-e2e-" + std::to_string(getpid()));

    void SetUp() override { std::filesystem::create_directories(state); }
    void TearDown() override { std::filesystem::remove_all(state); }

    Program onLine(const SimProcess& sim) {
        EXPECT_FALSE(sim.port().empty());
        Program p;
        p.ComDevice = sim.port();
        p.ComSpeed = 2400;  // the update runs at its own speed
        return p;
    }
    // The records of the file that carry data (byte count above 00), in file order.
    static std::vector<std::string> fileDataRecords() {
        std::ifstream in(kFirmware);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind(":00", 0) != 0) out.push_back(line);
        }
        return out;
    }
    // The data records camsim stored, as lines of the file.
    std::vector<std::string> storedRecords() {
        std::ifstream in(state / "camsim-32x60x255x2.firmware");
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("record ", 0) == 0) out.push_back(line.substr(7));
        return out;
    }
};

// As a user does it: camdesk started on the device's port (the identification leaves it
// open at the stored speed), unsaved sizes, Communic > Update FLASH, the file, Yes.
TEST_F(FlashOverPty, UpdateFlashFromTheMainWindowLeavesTheSizesAsTheyWere) {
    SimProcess sim({"--baud", "0", "--state", state.string()});
    ASSERT_FALSE(sim.port().empty());
    QTemporaryDir docs;
    const StartupSettings s = camtest::MainWindowSettings(docs.path(), sim.port());
    Program p;
    MainWindow window(p, prompt, s);
    ConnectDevice(window, p, prompt, port);
    ASSERT_TRUE(window.RunStartup());
    ASSERT_TRUE(port.isOpen());
    window.document().Edit(EditScope::Cam(2, 5), "typed", [](CamData& d) { SetPhase(d, 2, 5, 10, 20); });
    prompt.push(kFirmware.c_str());
    prompt.push(Answer::Yes);
    window.action("Upd_Flash")->trigger();
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"UPDATE FLASH ?"});
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(window.document().FileSaved());
    EXPECT_EQ(p.CamPos(2, 5, 15), 1);
    EXPECT_EQ(p.FwDir, std::string(E2E_DATA_DIR));
    sim.stop();
    ASSERT_EQ(fileDataRecords().size(), 120u);
    EXPECT_EQ(storedRecords(), fileDataRecords());
    window.document().MarkSaved();  // no shut-down question
}

TEST_F(FlashOverPty, WindowEndsShowingTheUpdatedFileWithTheBarFull) {
    SimProcess sim({"--baud", "0"});
    Program p = onLine(sim);
    FlashWindow window;
    FlashOutcome outcome = FlashOutcome::FileRefused;
    LinkRunner(p, port, prompt, nullptr)
        .run([&](Link& link) { outcome = FlashUpdate(p, link, kFirmware, window, 0); }, &window);
    ASSERT_EQ(outcome, FlashOutcome::Updated);
    const FlashScreen& s = window.screen();
    EXPECT_EQ(s.row8, "DEVICE UPDATED WITH  " + kFirmware);
    EXPECT_EQ(s.percent, 100);
    EXPECT_EQ(s.sentLines, 121);
    EXPECT_EQ(s.sentBytes, 1906);
    EXPECT_EQ(s.testLines, 121);
    EXPECT_EQ(s.lamp, FlashScreen::Lamp::Green);  // a pseudo-terminal cannot tell CTS
}

}  // namespace
}  // namespace cam
