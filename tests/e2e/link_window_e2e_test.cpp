// Identification as camdesk runs it (start-up, AutoSelect): on a worker thread behind a
// modal wait window, over a real pseudo-terminal to camsim. A device that answers is met at
// start-up (startup_e2e_test); here the screen while one does not.
#include "core/model/scripted_prompt.h"
#include "widgets/link/qt_link_runner.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QThread>
#include <QTimer>
#include <thread>

namespace cam {
namespace {

struct BehindAWindow : ::testing::Test {
    QtLinePort port;
    ScriptedPrompt prompt;
    Program p;
};

TEST_F(BehindAWindow, ScreenStaysResponsiveWhileTheDeviceIsSilent) {
    SimProcess sim({"--fault", "silent"});
    p.ComDevice = sim.port();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(100);
    std::thread::id screen = std::this_thread::get_id();
    std::thread::id askedOn;
    struct Recording : Prompt {
        ScriptedPrompt& inner;
        std::thread::id& on;
        Recording(ScriptedPrompt& i, std::thread::id& o) : inner(i), on(o) {}
        Answer message(const std::string& t, const std::string& ti, Buttons b, Icon i) override {
            on = std::this_thread::get_id();
            return inner.message(t, ti, b, i);
        }
        std::optional<std::string> input(const std::string& a, const std::string& b, const std::string& c) override {
            return inner.input(a, b, c);
        }
        std::string openFile(const FileRequest& r) override { return inner.openFile(r); }
        std::string saveFile(const FileRequest& r) override { return inner.saveFile(r); }
    } recording(prompt, askedOn);
    EXPECT_FALSE(IdentifyDeviceModal(p, port, recording, nullptr));
    EXPECT_GE(ticks, 15);  // two seconds of silence, the screen's timers kept running
    EXPECT_EQ(prompt.messages(), std::vector<std::string>{"KLM NOT FOUND\rCONTROL WIRING"});
    EXPECT_EQ(askedOn, screen);  // the message was shown on the screen's thread
    EXPECT_FALSE(port.isOpen());
    // The port came back to this thread: it can be used here again.
    SimProcess good({"--model", "32x30x255x1"});
    p.ComDevice = good.port();
    EXPECT_TRUE(IdentifyDeviceModal(p, port, prompt, nullptr));
    EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.NEncoders}), (std::vector<int>{32, 30, 1}));
    EXPECT_TRUE(port.isOpen());
}

TEST_F(BehindAWindow, DevicesBehindASerialServerAndOnALocalLineShareThePort) {
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

}  // namespace
}  // namespace cam
