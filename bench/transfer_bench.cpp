// Time of a full size transmission and reception (32 cams, 30 sizes) against camsim
// emulating a real line speed, compared with the least the protocol allows: the time its
// bytes need on the wire (10 bits a byte, both directions, never overlapping since every
// block waits for its answer) plus the waits it prescribes (10 ms before each command,
// 50 ms after "?FW", 10 ms after each size header, 500 ms after "?FR").
// With --via, the same again through ser2net in front of camsim's terminal, raw (tcp) or as
// telnet with RFC 2217 (rfc2217): the server's hop is in the measured time, not in the bound.
// usage: transfer_bench [--via tcp|rfc2217]... [--runs N] [BAUD...]   (default 9600 38400)
#include "core/link/size_transfer.h"
#include "core/model/scripted_prompt.h"
#include "qt/qt_line_port.h"
#include "sim_process.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

using namespace cam;

// The Qt port, counting the bytes that cross the line.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& inner) : in_(inner) {}
    long long bytes = 0;

    bool open(const std::string& name) override { return in_.open(name); }
    void close() override { in_.close(); }
    bool isOpen() const override { return in_.isOpen(); }
    bool setSpeed(long baud) override { return in_.setSpeed(baud); }
    bool setFlowControl(bool rtsCts) override { return in_.setFlowControl(rtsCts); }
    bool setRts(bool on) override { return in_.setRts(on); }
    LineState cts() override { return in_.cts(); }
    bool write(std::string_view b) override {
        bytes += static_cast<long long>(b.size());
        return in_.write(b);
    }
    std::string read(std::size_t max) override {
        std::string b = in_.read(max);
        bytes += static_cast<long long>(b.size());
        return b;
    }
    std::size_t bytesWaiting() override { return in_.bytesWaiting(); }
    bool waitForBytes(int ms) override { return in_.waitForBytes(ms); }
    void discardInput() override {
        // Bytes thrown away still took their time on the wire.
        bytes += static_cast<long long>(in_.bytesWaiting());
        in_.discardInput();
    }
    void discardOutput() override { in_.discardOutput(); }
    PortError lastError() const override { return in_.lastError(); }

private:
    SerialPort& in_;
};

struct NoView : TransferView {
    void setCaption(const std::string&) override {}
    void setOperation(const std::string&) override {}
    void setSizeLabel(const std::string&) override {}
    void setProgress(int) override {}
};

// Every cam of every size with two phases, advances on for every cam, delays and ratio on.
Program Sample(const std::string& port, long baud) {
    Program p;
    p.NCams = 32;
    p.NSizes = 30;
    p.NEncoders = 1;
    ResizeTables(p);
    p.AdvOn = p.DelayOn = p.RatioOn = 1;
    p.NAdvCams = 32;
    for (int c = 0; c < 32; ++c) p.AdvMs[c] = static_cast<std::uint8_t>(c * 6);
    p.Delay17_20 = 20;
    p.Delay21_24 = 40;
    p.Ratio25_32 = 3;
    p.OutSize = 1;
    p.SpeedLimit = 1200;
    for (int s = 1; s <= 30; ++s)
        for (int c = 0; c < 32; ++c) {
            SetPhase(p, s, c, (s * 7 + c * 13) % 400, (s * 7 + c * 13) % 400 + 100);
            SetPhase(p, s, c, 600 + c, 900 - s);
        }
    p.ComDevice = port;
    p.ComSpeed = baud;
    p.WorkDir = std::filesystem::temp_directory_path().string();
    p.TmpFile =
        (std::filesystem::temp_directory_path() / ("transfer_bench-" + std::to_string(getpid()) + "._.")).string();
    return p;
}

struct Figures {
    long long bytes = 0;
    double waitsMs = 0;
    double measuredMs = 0;
};

void Report(const char* what, const std::string& route, long baud, const Figures& f) {
    const double wireMs = static_cast<double>(f.bytes) * 10.0 * 1000.0 / static_cast<double>(baud);
    const double bound = wireMs + f.waitsMs;
    std::printf("%-12s %-8s %6ld %8lld %10.0f %8.0f %10.0f %10.0f %+7.2f %%\n", what, route.c_str(), baud, f.bytes,
                wireMs, f.waitsMs, bound, f.measuredMs, (f.measuredMs / bound - 1.0) * 100.0);
}

double Since(std::chrono::steady_clock::time_point t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// A transmission and a reception of the sample over port; false when either failed.
bool Measure(const std::string& port, const std::string& route, long baud) {
    QtLinePort qt;
    CountingPort counting(qt);
    SteadyClock clock;
    ScriptedPrompt prompt;
    Link link(counting, clock, prompt);
    NoView view;
    Program p = Sample(port, baud);

    Figures tx;
    tx.waitsMs = 10 + 50 + 10.0 * p.NSizes;
    auto t = std::chrono::steady_clock::now();
    const bool sent = SizeTransmit(p, link, view).sent;
    tx.measuredMs = Since(t);
    tx.bytes = counting.bytes;
    Report("transmission", route, baud, tx);

    counting.bytes = 0;
    Program back = Sample(port, baud);
    Figures rx;
    rx.waitsMs = 10 + 500;
    t = std::chrono::steady_clock::now();
    const auto r = ReceiveProgram(back, link, view, std::nullopt);
    rx.measuredMs = Since(t);
    rx.bytes = counting.bytes;
    Report("reception", route, baud, rx);
    std::filesystem::remove(back.TmpFile);
    if (sent && r && prompt.messages().empty()) return true;
    std::printf("  the transfer failed:%s\n", prompt.messages().empty() ? "" : prompt.messages()[0].c_str());
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::vector<long> speeds;
    std::vector<std::string> routes{"pty"};
    int runs = 1;  // every run is reported: the spread matters more than a median
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--via" && i + 1 < argc)
            routes.push_back(argv[++i]);
        else if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            speeds.push_back(std::atol(argv[i]));
    }
    if (speeds.empty()) speeds = {9600, 38400};
    std::printf("%-12s %-8s %6s %8s %10s %8s %10s %10s %9s\n", "transfer", "route", "baud", "bytes", "wire ms", "waits",
                "bound ms", "measured", "over");
    int failures = 0;
    for (int run = 0; run < runs; ++run)
        for (long baud : speeds)
            for (const std::string& route : routes) {
                SimProcess sim({"--model", "32x30x255x1", "--baud", std::to_string(baud)});
                if (sim.port().empty()) return 1;
                std::optional<SerialServer> server;
                if (route != "pty") server.emplace(sim.port(), route);
                const std::string port = server ? server->port() : sim.port();
                if (port.empty()) {
                    std::printf("ser2net did not start for %s\n", route.c_str());
                    return 1;
                }
                failures += Measure(port, route, baud) ? 0 : 1;
            }
    return failures > 0;
}
