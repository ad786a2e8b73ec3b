// The link routines over a real pseudo-terminal against camsim, through the QSerialPort
// adapter: the identification faults the fake port covers, now on the wire. A device that
// answers is met here on two threads and at start-up (startup_e2e_test).
#include "core/model/scripted_prompt.h"
#include "core/link/identify.h"
#include "qt/qt_serial_port.h"
#include "sim_process.h"

#include <gtest/gtest.h>
#include <QThread>

#include <chrono>

namespace cam {
namespace {

struct OverPty : ::testing::Test {
    QtSerialPort port;
    SteadyClock clock;
    ScriptedPrompt prompt;
    Link link{port, clock, prompt};
    Program p;

    bool identifyOn(const SimProcess& sim) {
        EXPECT_FALSE(sim.port().empty());
        p.ComDevice = sim.port();
        return IdentifyDevice(p, link);
    }
};

// The identification faults run on both lines in exchange_suite_test; here what only a real
// line shows: the simulator going away between exchanges, and the port crossing threads.
TEST_F(OverPty, SilentDeviceTakesItsTwoSeconds) {
    SimProcess sim({"--fault", "silent"});
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(identifyOn(sim));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST_F(OverPty, SimulatorStoppedBetweenExchanges) {
    auto sim = std::make_unique<SimProcess>(std::vector<std::string>{});
    ASSERT_TRUE(identifyOn(*sim));
    sim->stop();
    prompt.clear();
    EXPECT_FALSE(IdentifyDevice(p, link));
    EXPECT_FALSE(port.isOpen());
    // The port is opened anew, which fails: its error names the port, and no device is missed
    // on a port that is not there.
    ASSERT_EQ(prompt.messages().size(), 1u);
    EXPECT_EQ(prompt.messages()[0].rfind("Errore ", 0), 0u);
    EXPECT_NE(prompt.messages()[0].find(sim->port() + ": There is no such port."), std::string::npos);
    EXPECT_EQ(prompt.asked()[0].title, "Errore su " + sim->port());
}

// A port that another program holds is said to be in use, in words.
TEST_F(OverPty, PortHeldByAnotherProgramIsSaidToBeInUse) {
    SimProcess sim({});
    QtSerialPort other;
    ASSERT_TRUE(other.open(sim.port()));
    EXPECT_FALSE(identifyOn(sim));
    ASSERT_FALSE(prompt.messages().empty());
    EXPECT_NE(prompt.messages()[0].find("in use by another program"), std::string::npos) << prompt.messages()[0];
}

TEST_F(OverPty, PortOpenedOnOneThreadServesAnExchangeOnAnother) {
    SimProcess sim({});
    ASSERT_TRUE(identifyOn(sim));
    EXPECT_TRUE(port.isOpen());  // left open for the transfer that follows
    EXPECT_TRUE(prompt.messages().empty());
    QThread* ui = QThread::currentThread();
    bool found = false;
    QThread* worker = QThread::create([&] {
        found = IdentifyDevice(p, link);
        port.moveToThread(ui);
    });
    port.moveToThread(worker);
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_TRUE(found);
    EXPECT_TRUE(IdentifyDevice(p, link));  // and back on this thread
}

}  // namespace
}  // namespace cam
