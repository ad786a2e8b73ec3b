// The Size Transmit and Size Receive commands as camdesk runs them: the transfer window
// over a worker thread, talking to camsim on a real pseudo-terminal, questions answered by
// a scripted prompt.
#include "camfile/cam_file.h"
#include "core/scripted_prompt.h"
#include "link/qt_line_port.h"
#include "link/transfer_window.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace cam {
namespace {

struct TransferWindowOverPty : ::testing::Test {
    QtLinePort port;
    ScriptedPrompt prompt;
    std::filesystem::path work = std::filesystem::temp_directory_path() / ("camdesk-e2e-" + std::to_string(getpid()));

    void SetUp() override { std::filesystem::create_directories(work); }
    void TearDown() override { std::filesystem::remove_all(work); }

    // A program of the given model on the simulator's line.
    Program onLine(const SimProcess& sim, int cams, int sizes) {
        EXPECT_FALSE(sim.port().empty());
        Program p;
        p.NCams = cams;
        p.NSizes = sizes;
        ResizeTables(p);
        p.ComDevice = sim.port();
        p.WorkDir = work.string();
        p.TmpFile = (work / "_._").string();
        return p;
    }
};

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(TransferWindowOverPty, SizesSentAndReceivedBackThroughTheWindowAreTheSame) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    const std::string file = std::string(E2E_DATA_DIR) + "/one_encoder.Cam";
    Program sent = onLine(sim, 32, 7);
    ReadCamFile(sent, file, prompt);
    ASSERT_FALSE(sent.ReadError);
    ASSERT_TRUE(RunSizeTransmit(sent, port, prompt, nullptr));
    EXPECT_FALSE(port.isOpen());  // the command closes the port when it is done

    Program received = onLine(sim, 32, 7);
    received.FileSaved = true;  // nothing to lose: no question
    ASSERT_TRUE(RunSizeReceive(received, port, prompt, nullptr, "camdesk"));
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_FALSE(received.FileSaved);
    EXPECT_EQ(received.CurSize, 1);
    EXPECT_EQ(CamFileText(received), FileBytes(file));
    // The scratch file holds the raw lines as the device sent them.
    const std::string raw = FileBytes(received.TmpFile);
    EXPECT_EQ(raw.substr(0, raw.find(" FORMATO")),
              "FUNZIONI 32-07\r\n"
              "01010100\r\n"        // advances, delays and ratio on
              "030AC805\r\n"        // 3 advances: 10, 200, 5 ms
              "05D2\r\n"            // delays 5 and 210 ms
              "0700\r\n"            // ratio 7
              "05005A0105DC\r\n");  // output size 5, shift 90, direction 1, speed limit 1500
    EXPECT_NE(raw.find("\r\nC 17\"Glue \"\"hot\"\"\"\r\n 0512 0000\r\n"), std::string::npos);
    EXPECT_EQ(raw.substr(raw.size() - 5), "END\r\n");
}

TEST_F(TransferWindowOverPty, CorruptedBlockEndsTheReceptionWithItsMessage) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", "bad-checksum:3"});
    Program p = onLine(sim, 32, 7);
    p.FileSaved = true;
    RunSizeReceive(p, port, prompt, nullptr, "camdesk");
    ASSERT_FALSE(prompt.messages().empty());
    EXPECT_EQ(prompt.messages().front(), "TIMEOUT SERIAL PORT ");
    EXPECT_FALSE(port.isOpen());
}

TEST_F(TransferWindowOverPty, UnsavedSizesAreNotReplacedWhenTheUserSaysNo) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    Program p = onLine(sim, 32, 7);
    SetPhase(p, 1, 0, 100, 200);
    p.FileSaved = false;
    const std::string before = CamFileText(p);
    prompt.push(Answer::Cancel);
    EXPECT_FALSE(RunSizeReceive(p, port, prompt, nullptr, "camdesk"));
    EXPECT_EQ(CamFileText(p), before);
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace cam
