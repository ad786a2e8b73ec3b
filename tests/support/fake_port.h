// An in-memory serial port and a clock that only moves when the link waits: a scripted
// device answers what the tool writes, so a 30-second time-out costs no real time.
#pragma once

#include "core/link/serial_link.h"
#include "core/link/serial_port.h"
#include "core/model/scripted_prompt.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace cam {

class FakeClock : public Clock {
public:
    std::int64_t nowMs() override { return now_; }
    void sleepMs(int ms) override { now_ += ms > 0 ? ms : 0; }
    void advanceTo(std::int64_t t) {
        if (t > now_) now_ = t;
    }

private:
    std::int64_t now_ = 1'000'000;
};

class FakePort : public SerialPort {
public:
    explicit FakePort(FakeClock& clock) : clock_(clock) {}

    // The device: called with every write of the tool, in order. It answers with reply().
    std::function<void(FakePort&, const std::string& written)> device;
    // Bytes that reach the tool delayMs after now.
    void reply(std::string bytes, int delayMs = 0);
    // The port goes away delayMs after now, as an unplugged adapter does.
    void unplugAfter(int delayMs);

    // Test settings
    LineState ctsState = LineState::Unknown;
    bool failOpen = false;
    bool hungUp = false;  // the line went away while open: the next setting fails and closes it
    PortError openError{2, "QSerialPort", "Permission denied"};

    // What the tool did
    std::string written;              // every byte written, in order
    std::vector<std::string> writes;  // one entry per write
    std::string openedName;
    int opens = 0;
    long speed = 0;
    bool rtsCts = false;
    std::vector<bool> rtsChanges;
    int inputDiscards = 0;
    int outputDiscards = 0;
    int waits = 0;
    std::size_t waiting() const { return in_.size(); }  // delivered, not yet read

    bool open(const std::string& name) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool setSpeed(long baud) override;
    bool setFlowControl(bool on) override {
        rtsCts = on;
        return true;
    }
    bool setRts(bool on) override {
        rtsChanges.push_back(on);
        return true;
    }
    LineState cts() override { return ctsState; }
    bool write(std::string_view bytes) override;
    std::string read(std::size_t max) override;
    std::size_t bytesWaiting() override;
    bool waitForBytes(int ms) override;
    void discardInput() override;
    void discardOutput() override { ++outputDiscards; }
    PortError lastError() const override { return error_; }

private:
    struct Pending {
        std::int64_t at;
        std::string bytes;
        bool unplug;
    };
    void schedule(Pending p);
    void deliverDue();

    FakeClock& clock_;
    bool open_ = false;
    std::string in_;
    std::deque<Pending> pending_;  // by time
    PortError error_;
};

// A link over a fake port on a fake clock, with a scripted prompt and the program it serves.
struct FakeLink {
    // accept: what an unscripted question gets, as in ScriptedPrompt.
    explicit FakeLink(bool accept = false) : prompt(accept) {}
    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompt prompt;
    Link link{port, clock, prompt};
    Program p;
    std::int64_t since(std::int64_t start) { return clock.nowMs() - start; }
};

}  // namespace cam
