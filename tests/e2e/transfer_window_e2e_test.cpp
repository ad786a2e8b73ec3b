// The Size Transmit and Size Receive commands as camdesk runs them: the transfer window
// over a worker thread, talking to camsim on a real pseudo-terminal, questions answered by
// a scripted prompt.
#include "core/camfile/cam_file.h"
#include "core/model/file_io.h"
#include "core/model/scripted_prompt.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
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


TEST_F(TransferWindowOverPty, SizesSentAndReceivedBackThroughTheWindowAreTheSame) {
    SimProcess sim({"--model", "32x7x255x1", "--baud", "0"});
    const std::string file = std::string(E2E_DATA_DIR) + "/one_encoder.Cam";
    Program sent = onLine(sim, 32, 7);
    ReadCamFile(sent, file, prompt);
    ASSERT_FALSE(sent.ReadError);
    ASSERT_TRUE(RunSizeTransmit(sent, port, prompt, nullptr));
    EXPECT_FALSE(port.isOpen());  // the command closes the port when it is done

    Program received = onLine(sim, 32, 7);
    const auto back = ReceiveProgramModal(received, port, prompt, nullptr, 32);
    ASSERT_TRUE(back) << back.reason();
    EXPECT_TRUE(prompt.messages().empty()) << prompt.messages().front();
    EXPECT_EQ(CamFileText(back->data), ReadFileBytes(file, 1 << 30).bytes);
    // The scratch file holds the raw lines as the device sent them.
    const std::string raw = ReadFileBytes(received.TmpFile, 1 << 30).bytes;
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

// A reception that stops short gives nothing (the wait of a silent device, the same end, is
// timed in the fault matrix).
TEST_F(TransferWindowOverPty, ACorruptedBlockOrNoiseGivesNothing) {
    for (const char* fault : {"bad-checksum:3", "babble"}) {
        SimProcess sim({"--model", "32x7x255x1", "--baud", "0", "--fault", fault});
        Program p = onLine(sim, 32, 7);
        prompt.clear();
        EXPECT_FALSE(ReceiveProgramModal(p, port, prompt, nullptr, 32)) << fault;
        EXPECT_EQ(prompt.messages(), (std::vector<std::string>{
                                         "TIMEOUT SERIAL PORT ",
                                         "The reception did not end: nothing was taken from the device."}))
            << fault;
        EXPECT_FALSE(port.isOpen());
    }
}

}  // namespace
}  // namespace cam
