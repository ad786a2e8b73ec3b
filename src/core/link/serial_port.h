// The serial line as the link routines see it: a port that can be opened by name, read and
// written as bytes, and a clock. The device exchanges are plain sequential code over these
// two interfaces, so tests drive them with a fake port and a fake clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cam {

// A pseudo-terminal or a three-wire adapter has no modem lines: its CTS is Unknown, which
// the link treats as asserted.
enum class LineState { Asserted, NotAsserted, Unknown };

// Why the last operation of a port failed: a number, who raised it, and a readable text;
// the failures a user can mend themselves are told apart.
struct PortError {
    enum Kind {
        Other,
        NoPermission,  // the user may not open the port (not in the dialout group)
        InUse,         // another program holds the port
        NotFound,      // no such port
    };
    int code = 0;
    std::string source;
    std::string description;
    Kind kind = Other;
    long holder = 0;  // InUse: the process that holds the port, 0 when it is not known
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // name: a device path ("/dev/ttyUSB0") or, on Windows, "COMn". No parity, 8 data bits,
    // 1 stop bit. False on failure, with lastError() telling why.
    virtual bool open(const std::string& name) = 0;
    virtual void close() = 0;
    // False as well after the port went away (adapter unplugged, other end closed).
    virtual bool isOpen() const = 0;

    virtual bool setSpeed(long baud) = 0;
    virtual bool setFlowControl(bool rtsCts) = 0;
    virtual bool setRts(bool on) = 0;
    virtual LineState cts() = 0;

    virtual bool write(std::string_view bytes) = 0;
    // Up to max of the bytes waiting, removed from the input; "" when none is waiting.
    virtual std::string read(std::size_t max) = 0;
    virtual std::size_t bytesWaiting() = 0;
    // Sleeps until at least one byte is waiting or ms milliseconds have passed; true when
    // bytes are waiting. Never spins: the thread sleeps on the port.
    virtual bool waitForBytes(int ms) = 0;
    virtual void discardInput() = 0;
    virtual void discardOutput() = 0;

    virtual PortError lastError() const = 0;
};

// Monotonic milliseconds: elapsed-time limits never suffer from a wrapping tick counter.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// The machine's steady clock.
class SteadyClock : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
};

}  // namespace cam
