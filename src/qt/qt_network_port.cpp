#include "qt/qt_network_port.h"

#include "qt/cp1252.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace cam {

namespace {

constexpr int kWriteTimeoutMs = 5000;
constexpr int kHangUpMs = 2000;  // the server's close after ours; longer while it drains its line

}  // namespace

QtNetworkPort::QtNetworkPort() : socket_(std::make_unique<QTcpSocket>()) {}

QtNetworkPort::~QtNetworkPort() = default;

void QtNetworkPort::moveToThread(QThread* thread) { socket_->moveToThread(thread); }

bool QtNetworkPort::fail(int code, const std::string& what) {
    error_ = {code, "QTcpSocket", what};  // the link names the port with it
    close();
    return false;
}

bool QtNetworkPort::lost(const std::string& why) {
    // A server whose line is taken (another connection, or one just closed) hangs up at once.
    if (opening_) return fail(ECONNRESET, "the server closed the connection at once (is its line in use?)");
    return fail(ECONNRESET,
                "the connection was dropped (" + (why.empty() ? ToCp1252(socket_->errorString()) : why) + ")");
}

bool QtNetworkPort::open(const std::string& name) {
    close();
    NetworkPortName where;
    if (const Result parsed = ParseNetworkPortName(name, where); !parsed) {
        error_ = {EINVAL, "QTcpSocket", parsed.reason()};
        return false;
    }
    where_ = where;
    if (!connectTo(where)) return false;
    open_ = true;
    if (where.protocol == NetworkPortName::RawTcp) return true;
    opening_ = true;
    const bool ok = startTelnet();
    opening_ = false;
    return ok;
}

bool QtNetworkPort::startTelnet() {
    telnet_.emplace();
    if (!send(telnet_->start())) return false;
    if (!waitFor([&] { return telnet_->comPort() != TelnetSession::Option::Pending; }, kConnectMs))
        return open_ && fail(ETIMEDOUT, "no answer to the RFC 2217 port control request");
    if (telnet_->comPort() == TelnetSession::Option::Refused)
        return fail(EPROTO, "the server offers no RFC 2217 port control (a raw TCP port is named tcp://)");
    return send(TelnetSession::rts(rts_));
}

bool QtNetworkPort::connectTo(const NetworkPortName& where) {
    socket_->connectToHost(QString::fromStdString(where.host), static_cast<quint16>(where.port));
    if (socket_->waitForConnected(kConnectMs)) {
        // Each block waits for its answer: small writes must leave at once, not wait to be merged.
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    const QAbstractSocket::SocketError e = socket_->error();
    const std::string qt = ToCp1252(socket_->errorString());
    socket_->abort();
    switch (e) {
        case QAbstractSocket::ConnectionRefusedError:
            return fail(ECONNREFUSED, "the connection was refused (no serial server listens there)");
        case QAbstractSocket::SocketTimeoutError:
            return fail(ETIMEDOUT, "no answer to the connection within " + std::to_string(kConnectMs / 1000) + " s");
        case QAbstractSocket::HostNotFoundError:
            return fail(EHOSTUNREACH, "no such host");
        default:
            return fail(EIO, qt);
    }
}

// A server that sends each character as it comes from its line (and merges small writes until
// the last is acknowledged) would otherwise wait for our delayed acknowledgement, up to 40 ms,
// for every piece of a block. The system forgets the setting after a while: it is renewed
// after each read.
void QtNetworkPort::acknowledgeAtOnce() {
#ifdef Q_OS_LINUX
    const int on = 1;
    ::setsockopt(static_cast<int>(socket_->socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

void QtNetworkPort::close() {
    open_ = false;
    telnet_.reset();
    inbox_.clear();
    inboxAt_ = 0;
    if (socket_->state() == QAbstractSocket::ConnectedState) hangUp();
    if (socket_->state() != QAbstractSocket::UnconnectedState) socket_->abort();
}

// A serial server frees its line only when its side of the connection is closed: a
// connection made at once after a plain close may find the line still taken ("Port already
// in use"). So the close is told and the server's own close awaited.
void QtNetworkPort::hangUp() {
#ifdef Q_OS_UNIX
    ::shutdown(static_cast<int>(socket_->socketDescriptor()), SHUT_WR);
    const QDeadlineTimer deadline(kHangUpMs);
    while (socket_->state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        socket_->waitForReadyRead(std::max<int>(1, static_cast<int>(deadline.remainingTime())));
        socket_->readAll();
    }
#else
    socket_->disconnectFromHost();
#endif
}

bool QtNetworkPort::send(std::string_view raw) {
    if (!open_) return false;
#ifdef Q_OS_UNIX
    // Nothing queued before: the bytes go straight to the connection, without a wait for the
    // socket to be writable first (a block's turnaround is a few hundred microseconds).
    if (socket_->bytesToWrite() == 0) {
        const ssize_t n = ::send(static_cast<int>(socket_->socketDescriptor()), raw.data(), raw.size(), MSG_NOSIGNAL);
        if (n == static_cast<ssize_t>(raw.size())) return true;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return lost(std::strerror(errno));
        if (n > 0) raw.remove_prefix(static_cast<std::size_t>(n));  // the rest goes the queued way
    }
#endif
    if (socket_->write(raw.data(), static_cast<qint64>(raw.size())) != static_cast<qint64>(raw.size())) return lost();
    // Without an event loop the bytes leave only while we wait for them to be written.
    while (socket_->bytesToWrite() > 0)
        if (!socket_->waitForBytesWritten(kWriteTimeoutMs)) return lost();
    return true;
}

bool QtNetworkPort::pull(int ms) {
    if (!open_) return false;
    if (socket_->bytesAvailable() == 0) socket_->waitForReadyRead(ms);
    const QByteArray bytes = socket_->readAll();
    if (!bytes.isEmpty()) acknowledgeAtOnce();
    if (inboxAt_ == inbox_.size()) {
        inbox_.clear();
        inboxAt_ = 0;
    }
    if (telnet_) {
        telnet_->receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), inbox_);
        if (const std::string replies = telnet_->takeReplies(); !replies.empty() && !send(replies)) return false;
    } else {
        inbox_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    if (socket_->state() != QAbstractSocket::ConnectedState) return lost();
    return true;
}

bool QtNetworkPort::waitFor(const std::function<bool()>& done, int ms) {
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired() || !pull(std::max<int>(1, static_cast<int>(deadline.remainingTime()))))
            return done();
    }
    return true;
}

bool QtNetworkPort::setSpeed(long baud) {
    if (!open_) return true;
    if (!telnet_) return pull(0);  // the server's own settings apply; a dropped connection shows here
    if (!send(telnet_->lineSettings(baud))) return false;
    if (!waitFor([&] { return telnet_->lineAnswer().stopSize.has_value(); }, kServerAnswerMs))
        return open_ && fail(ETIMEDOUT, "the server did not answer the line settings");
    if (const std::string set = telnet_->lineMismatch(baud); !set.empty())
        return fail(EPROTO, "the server did not set its line to " + std::to_string(baud) +
                                " bit/s, 8 data bits, no parity, 1 stop bit: it set " + set);
    return true;
}

bool QtNetworkPort::setFlowControl(bool rtsCts) {
    if (!open_ || !telnet_) return true;
    return send(TelnetSession::flowControl(rtsCts));
}

bool QtNetworkPort::setRts(bool on) {
    rts_ = on;
    if (!open_ || !telnet_) return true;
    return send(TelnetSession::rts(on));
}

bool QtNetworkPort::write(std::string_view bytes) {
    if (!open_) return false;
    return telnet_ ? send(telnet_->escape(bytes)) : send(bytes);
}

std::string QtNetworkPort::read(std::size_t max) {
    if (bytesWaiting() == 0) return {};
    const std::size_t n = std::min(max, inbox_.size() - inboxAt_);
    std::string out = inbox_.substr(inboxAt_, n);
    inboxAt_ += n;
    return out;
}

std::size_t QtNetworkPort::bytesWaiting() {
    if (!open_) return 0;
    if (inboxAt_ == inbox_.size() && !pull(0)) return 0;
    return inbox_.size() - inboxAt_;
}

bool QtNetworkPort::waitForBytes(int ms) {
    return open_ && waitFor([&] { return inboxAt_ < inbox_.size(); }, ms);
}

void QtNetworkPort::discardInput() {
    if (!pull(0)) return;
    inbox_.clear();
    inboxAt_ = 0;
}

}  // namespace cam
