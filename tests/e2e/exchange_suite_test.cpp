// The exchange routines against camsim's device code behind the in-memory port and against the
// camsim program on a real pseudo-terminal, so that the fake line cannot drift from a real one.
#include "core/camfile/cam_file.h"
#include "core/link/identify.h"
#include "core/link/size_transfer.h"
#include "core/model/scripted_prompt.h"
#include "device.h"
#include "qt/qt_serial_port.h"
#include "sim_options.h"
#include "sim_process.h"
#include "support/fake_port.h"
#include "support/scratch_folder.h"
#include "support/wire_doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QThread>

#include <array>
#include <memory>

namespace cam {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Strings = std::vector<std::string>;

enum class Line { Fake, Pty };

// camsim's device code behind the fake port, or the camsim program on a pseudo-terminal.
struct DeviceLine {
    DeviceLine(Line kind, const std::vector<std::string>& args) {
        if (kind == Line::Pty) {
            sim = std::make_unique<SimProcess>(args);
            EXPECT_FALSE(sim->port().empty());
            return;
        }
        std::string error;
        camsim::Options options;
        if (!camsim::ParseOptions(args, &options, &error)) ADD_FAILURE() << error;
        device = std::make_unique<camsim::Device>(options);
        fake.device = [this](FakePort& f, const std::string& written) {
            for (const camsim::Reply& r : device->receive(written)) f.reply(r.bytes, static_cast<int>(r.delayMs));
            if (device->hungUp()) f.unplugAfter(0);
        };
    }
    SerialPort& port() { return sim ? static_cast<SerialPort&>(pty) : fake; }
    Clock& clock() { return sim ? static_cast<Clock&>(steady) : fakeClock; }
    std::string name() const { return sim ? sim->port() : "/dev/fake"; }

    FakeClock fakeClock;
    FakePort fake{fakeClock};
    std::unique_ptr<camsim::Device> device;
    std::unique_ptr<SimProcess> sim;
    QtSerialPort pty;
    SteadyClock steady;
};

class Exchange : public ::testing::TestWithParam<Line> {
protected:
    void SetUp() override {
        std::tie(p.WorkDir, p.TmpFile) = std::tuple(dir.str(), dir.file("_._"));
        ResizeTables(p);
    }
    void TearDown() override {
        if (link) ClosePort(*link);
    }
    void Start(std::vector<std::string> args) {
        args.insert(args.end(), {"--baud", "0"});
        line = std::make_unique<DeviceLine>(GetParam(), args);
        p.ComDevice = line->name();
        link = std::make_unique<Link>(line->port(), line->clock(), prompt);
    }
    // What an exchange ended with: its result, the messages shown, the port left open.
    std::tuple<bool, Strings, bool> ended(bool result) { return {result, prompt.messages(), line->port().isOpen()}; }

    camtest::ScratchFolder dir;
    Program p;
    ScriptedPrompt prompt;
    std::unique_ptr<DeviceLine> line;
    std::unique_ptr<Link> link;
    camtest::RecordingView view;
};

TEST_P(Exchange, IdentificationGivesTheDevicesModel) {
    Start({"--model", "16x45x180x3"});
    ASSERT_EQ(ended(IdentifyDevice(p, *link)), std::tuple(true, Strings{}, true));  // open for the transfer to come
    EXPECT_EQ((std::vector<int>{p.NCams, p.NSizes, p.NMsgs, p.NEncoders}), (std::vector<int>{16, 45, 180, 3}));
}

TEST_P(Exchange, FailedIdentificationIsSaidWithThePortClosed) {
    const std::pair<const char*, const char*> cases[] = {
        {"silent", "KLM NOT FOUND\rCONTROL WIRING"}, {"vanish", "KLM NOT FOUND\rCONTROL WIRING"},
        {"no-brand", "DEVICE UNSUPPORTED"},          {"unsupported", "DEVICE UNSUPPORTED"},
        {"brand-early", "DEVICE UNSUPPORTED"},       {"short-reply", "DEVICE UNSUPPORTED"},
    };
    for (const auto& [fault, message] : cases) {
        SCOPED_TRACE(fault);
        Start({"--fault", fault});
        prompt.clear();
        EXPECT_EQ(ended(IdentifyDevice(p, *link)), std::tuple(false, Strings{message}, false));
    }
}

TEST_P(Exchange, EchoIsRefusedQuietly) {
    Start({"--fault", "echo"});
    EXPECT_FALSE(IdentifyDevice(p, *link));
    EXPECT_EQ(std::tuple(p.ReadError, prompt.messages()), std::tuple(true, Strings{}));
}

TEST_P(Exchange, SizesGoAndComeBack) {
    Start({"--model", "32x7x255x1"});
    p.NEncoders = p.AdvOn = p.DelayOn = 1;
    std::tie(p.NAdvCams, p.AdvMs[0], p.AdvMs[2], p.Delay21_24) = std::tuple(3, 10, 200, 7);
    std::tie(p.OutSize, p.EncShift, p.SpeedLimit, p.CamRemark[2]) = std::tuple(2, 500, 1500, "GLUE");
    for (auto [size, cam, on, off] : {std::array{1, 2, 100, 200}, {1, 2, 1000, 24}, {7, 31, 0, 512}})
        SetPhase(p, size, cam, on, off);
    const TransmitResult sent = SizeTransmit(p, *link, view);
    ASSERT_EQ(std::tuple(sent.sent, sent.sizes, prompt.messages()), std::tuple(true, 7, Strings{}));

    Program back;
    std::tie(back.Port(), back.TmpFile) = std::tuple(p.Port(), p.TmpFile);
    const auto received = ReceiveProgram(back, *link, view, 32);
    ASSERT_TRUE(received) << received.reason();
    EXPECT_EQ(CamFileText(received->data), CamFileText(p));
}

INSTANTIATE_TEST_SUITE_P(Lines, Exchange, ::testing::Values(Line::Fake, Line::Pty),
                         [](const auto& i) { return std::string(i.param == Line::Fake ? "FakePort" : "Pty"); });

// What only a real line shows.
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

TEST_F(OverPty, SimulatorStoppedBetweenExchanges) {
    SimProcess sim({});
    ASSERT_TRUE(identifyOn(sim));
    sim.stop();
    prompt.clear();
    EXPECT_EQ((std::vector<bool>{IdentifyDevice(p, link), port.isOpen()}), (std::vector<bool>{false, false}));
    // The port opened anew fails: its error names the port, and no device is said to be missed.
    ASSERT_THAT(prompt.messages(),
                ElementsAre(AllOf(StartsWith("Errore "), HasSubstr(sim.port() + ": There is no such port."))));
    EXPECT_EQ(prompt.asked()[0].title, "Errore su " + sim.port());
}

TEST_F(OverPty, PortHeldByAnotherProgramIsSaidToBeInUse) {
    SimProcess sim({});
    QtSerialPort other;
    ASSERT_TRUE(other.open(sim.port()));
    EXPECT_FALSE(identifyOn(sim));
    EXPECT_THAT(prompt.messages(), ElementsAre(HasSubstr("in use by another program")));
}

TEST_F(OverPty, PortOpenedOnOneThreadServesAnExchangeOnAnother) {
    SimProcess sim({});
    ASSERT_TRUE(identifyOn(sim));
    QThread* ui = QThread::currentThread();
    bool found = false;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        found = IdentifyDevice(p, link);
        port.moveToThread(ui);
    }));
    port.moveToThread(worker.get());
    worker->start();
    worker->wait();
    EXPECT_EQ((std::vector<bool>{found, IdentifyDevice(p, link)}), (std::vector<bool>{true, true}));  // and back here
}

}  // namespace
}  // namespace cam
