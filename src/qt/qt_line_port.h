// The device line of camdesk and camctl: a local serial port (QtSerialPort) or a network
// port (QtNetworkPort), chosen by the name it is opened with. The exchanges see one
// SerialPort whichever it is.
#pragma once

#include "qt/qt_network_port.h"
#include "qt/qt_serial_port.h"

#include <atomic>

class QThread;

namespace cam {

class QtLinePort : public SerialPort {
public:
    bool open(const std::string& name) override;
    void close() override { line().close(); }
    // Safe from any thread, as the local port's.
    bool isOpen() const override { return active_.load()->isOpen(); }
    bool setSpeed(long baud) override { return line().setSpeed(baud); }
    bool setFlowControl(bool rtsCts) override { return line().setFlowControl(rtsCts); }
    bool setRts(bool on) override;
    LineState cts() override { return line().cts(); }
    bool write(std::string_view bytes) override { return line().write(bytes); }
    std::string read(std::size_t max) override { return line().read(max); }
    std::size_t bytesWaiting() override { return line().bytesWaiting(); }
    bool waitForBytes(int ms) override { return line().waitForBytes(ms); }
    void discardInput() override { line().discardInput(); }
    void discardOutput() override { line().discardOutput(); }
    PortError lastError() const override { return active_.load()->lastError(); }

    // Hands both kinds of port to another thread; call it from the thread that has them now.
    void moveToThread(QThread* thread);

private:
    SerialPort& line() { return *active_.load(); }

    QtSerialPort serial_;
    QtNetworkPort network_;
    std::atomic<SerialPort*> active_{&serial_};
};

}  // namespace cam
