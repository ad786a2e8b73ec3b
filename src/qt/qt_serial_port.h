// The SerialPort of camdesk and camctl, over QSerialPort. Waits block in waitForReadyRead,
// so the thread sleeps while the device is silent. A port whose other end went away
// (ReadError, ResourceError) is closed at once and reads as closed. The port is taken
// exclusively and visibly: its real device (a /dev/serial/by-id link followed) is claimed
// with flock before it opens, another program's live lock file or flock refuses the open,
// and Qt's own lock file is named after that device.
#pragma once

#include "core/link/port_choice.h"
#include "core/link/port_lock.h"
#include "core/link/serial_port.h"

#include <atomic>
#include <memory>
#include <vector>

class QSerialPort;
class QThread;

namespace cam {

class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool open(const std::string& name) override;
    void close() override;
    // Safe from any thread (the status label asks while an exchange runs on a worker).
    bool isOpen() const override { return open_.load(); }
    bool setSpeed(long baud) override;
    bool setFlowControl(bool rtsCts) override;
    bool setRts(bool on) override;
    LineState cts() override;
    bool write(std::string_view bytes) override;
    std::string read(std::size_t max) override;
    std::size_t bytesWaiting() override;
    bool waitForBytes(int ms) override;
    void discardInput() override;
    void discardOutput() override;
    PortError lastError() const override { return error_; }

    // Hands the port to another thread; call it from the thread that has it now.
    void moveToThread(QThread* thread);

private:
    bool failed(bool ok);  // records the error; closes the port when it went away
    void checkGone();

    std::unique_ptr<QSerialPort> port_;
    PortClaim claim_;  // other programs see the port taken while it is open
    std::atomic<bool> open_{false};
    PortError error_;
    long speed_ = 9600;
    bool rts_ = true;  // the RTS line as last asked for, applied at every open
};

// Every serial port the system knows, as the port window lists them.
std::vector<PortEntry> SystemPorts();

}  // namespace cam
