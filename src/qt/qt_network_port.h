// The SerialPort of a network port, over QTcpSocket: the line of a device that ends at a
// serial device server. tcp:// passes the line's bytes as they are; rfc2217:// speaks telnet
// and sets the remote line's speed, framing, flow control and RTS. Waits block in the
// socket's waitFor... calls, so the thread sleeps while the device is silent. A connection
// that drops reads as a closed port, as a local line that went away does.
#pragma once

#include "core/link/network_port_name.h"
#include "core/link/serial_port.h"
#include "core/link/telnet_com_port.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QTcpSocket;
class QThread;

namespace cam {

inline constexpr int kConnectMs = 5000;      // no answer to a connection within this: given up
inline constexpr int kServerAnswerMs = 3000;  // the server's answer to a line setting

class QtNetworkPort : public SerialPort {
public:
    QtNetworkPort();
    ~QtNetworkPort() override;

    bool open(const std::string& name) override;
    void close() override;
    bool isOpen() const override { return open_.load(); }
    bool setSpeed(long baud) override;
    bool setFlowControl(bool rtsCts) override;
    bool setRts(bool on) override;
    // No modem lines reach through the server reliably (a pty behind it has none).
    LineState cts() override { return open_ ? LineState::Unknown : LineState::NotAsserted; }
    bool write(std::string_view bytes) override;
    std::string read(std::size_t max) override;
    std::size_t bytesWaiting() override;
    bool waitForBytes(int ms) override;
    void discardInput() override;
    void discardOutput() override {}  // a write returns only when its bytes have left
    PortError lastError() const override { return error_; }

    void moveToThread(QThread* thread);

private:
    bool connectTo(const NetworkPortName& where);
    bool startTelnet();  // negotiates COM port control on a fresh connection
    void hangUp();
    void acknowledgeAtOnce();
    bool pull(int ms);                  // takes in what arrived, waiting up to ms for it
    bool send(std::string_view raw);    // bytes on the connection as they are
    bool waitFor(const std::function<bool()>& done, int ms);
    bool fail(int code, const std::string& what);  // records why, closes; always false
    bool lost(const std::string& why = "");

    std::unique_ptr<QTcpSocket> socket_;
    std::optional<TelnetSession> telnet_;
    NetworkPortName where_;
    std::string inbox_;  // the line's bytes received and not read yet, from inboxAt_
    std::size_t inboxAt_ = 0;
    std::atomic<bool> open_{false};
    PortError error_;
    bool opening_ = false;
    bool rts_ = true;  // the RTS line as last asked for, applied at every open
};

}  // namespace cam
