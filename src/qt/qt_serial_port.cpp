#include "qt/qt_serial_port.h"

#include "qt/cp1252.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace cam {

namespace {

constexpr int kWriteTimeoutMs = 5000;

// A refused open is either the user's permission or another program's lock: the port's
// own permission tells which.
PortError::Kind KindOf(QSerialPort::SerialPortError e, const std::string& name) {
    switch (e) {
        case QSerialPort::DeviceNotFoundError:
            return PortError::NotFound;
        case QSerialPort::PermissionError:
#ifdef Q_OS_UNIX
            return ::access(name.c_str(), R_OK | W_OK) != 0 ? PortError::NoPermission : PortError::InUse;
#else
            return PortError::InUse;
#endif
        default:
            return PortError::Other;
    }
}

bool Gone(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ReadError || e == QSerialPort::ResourceError || e == QSerialPort::WriteError;
}

}  // namespace

QtSerialPort::QtSerialPort() : port_(std::make_unique<QSerialPort>()) {}

QtSerialPort::~QtSerialPort() = default;

void QtSerialPort::moveToThread(QThread* thread) { port_->moveToThread(thread); }

bool QtSerialPort::failed(bool ok) {
    if (ok) return false;
    error_ = {static_cast<int>(port_->error()), "QSerialPort", ToCp1252(port_->errorString())};
    checkGone();
    return true;
}

void QtSerialPort::checkGone() {
    QSerialPort::SerialPortError e = port_->error();
    if (e == QSerialPort::NoError) return;
    if (Gone(e)) {
        // The other end went away; QSerialPort would repeat the error for ever while open.
        error_ = {static_cast<int>(e), "QSerialPort", ToCp1252(port_->errorString())};
        close();
    }
    port_->clearError();
}

bool QtSerialPort::open(const std::string& name) {
    const std::string device = RealDevice(name);
    if (!claim_.claim(device, error_)) return false;
    port_->setPortName(QString::fromLocal8Bit(device.c_str()));
    port_->setReadBufferSize(4096);
    port_->setBaudRate(static_cast<qint32>(speed_));
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = {static_cast<int>(port_->error()), "QSerialPort", ToCp1252(port_->errorString())};
        error_.kind = KindOf(port_->error(), device);
        port_->clearError();
        claim_.release();
        return false;
    }
    open_ = true;
    // Ports without modem lines refuse; nothing to switch there.
    if (!port_->setRequestToSend(rts_)) port_->clearError();
    return true;
}

void QtSerialPort::close() {
    open_ = false;
    if (port_->isOpen()) port_->close();
    claim_.release();
}

bool QtSerialPort::setSpeed(long baud) {
    speed_ = baud;
    if (!open_) return true;
    bool ok = port_->setBaudRate(static_cast<qint32>(baud)) && port_->setDataBits(QSerialPort::Data8) &&
              port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop);
    return !failed(ok);
}

bool QtSerialPort::setFlowControl(bool rtsCts) {
    if (!open_) return true;
    return !failed(port_->setFlowControl(rtsCts ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl));
}

bool QtSerialPort::setRts(bool on) {
    rts_ = on;  // a closed port takes it at its next open, as it does the speed
    if (!open_) return true;
    // Ports without modem lines refuse; nothing to switch there.
    if (!port_->setRequestToSend(on)) port_->clearError();
    return true;
}

LineState QtSerialPort::cts() {
    if (!open_) return LineState::NotAsserted;
    QSerialPort::PinoutSignals s = port_->pinoutSignals();
    if (port_->error() != QSerialPort::NoError) {
        // A pseudo-terminal has no modem lines: UnsupportedOperationError.
        port_->clearError();
        return LineState::Unknown;
    }
    return (s & QSerialPort::ClearToSendSignal) ? LineState::Asserted : LineState::NotAsserted;
}

bool QtSerialPort::write(std::string_view bytes) {
    if (!open_) return false;
#ifdef Q_OS_UNIX
    // Nothing queued before: the bytes go straight to the line, without a wait for the port to
    // be writable first (a block's turnaround is a few hundred microseconds at 38400 bit/s).
    if (port_->bytesToWrite() == 0) {
        const ssize_t n = ::write(static_cast<int>(port_->handle()), bytes.data(), bytes.size());
        if (n == static_cast<ssize_t>(bytes.size())) return true;
        if (n > 0) bytes.remove_prefix(static_cast<std::size_t>(n));  // the rest goes the queued way
    }
#endif
    if (failed(port_->write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size())))
        return false;
    // Without an event loop the bytes leave only while we wait for them to be written.
    while (open_ && port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(kWriteTimeoutMs)) {
            failed(false);
            return false;
        }
    }
    return open_;
}

std::string QtSerialPort::read(std::size_t max) {
    if (!open_ || bytesWaiting() == 0) return {};
    QByteArray data = port_->read(static_cast<qint64>(max));
    checkGone();
    return data.toStdString();
}

std::size_t QtSerialPort::bytesWaiting() {
    if (!open_) return 0;
    if (port_->bytesAvailable() == 0) {
        // Takes in what the system holds without waiting (no event loop runs on this thread).
        port_->waitForReadyRead(0);
        checkGone();
        if (!open_) return 0;
    }
    return static_cast<std::size_t>(port_->bytesAvailable());
}

bool QtSerialPort::waitForBytes(int ms) {
    if (!open_) return false;
    if (port_->bytesAvailable() > 0) return true;
    port_->waitForReadyRead(ms);
    checkGone();
    return open_ && port_->bytesAvailable() > 0;
}

void QtSerialPort::discardInput() {
    if (!open_) return;
#ifdef Q_OS_UNIX
    // Nothing waiting, here or in the system: nothing to throw away (the common case before
    // every block sent).
    int waiting = 0;
    if (port_->bytesAvailable() == 0 && ::ioctl(static_cast<int>(port_->handle()), FIONREAD, &waiting) == 0 &&
        waiting == 0)
        return;
#endif
    port_->clear(QSerialPort::Input);
    port_->readAll();
    checkGone();
}

void QtSerialPort::discardOutput() {
    if (!open_) return;
    port_->clear(QSerialPort::Output);
    checkGone();
}

std::vector<PortEntry> SystemPorts() {
    std::vector<PortEntry> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        out.push_back(MakePortEntry(info.portName().toStdString(), info.description().toStdString(),
                                    info.systemLocation().toStdString()));
    return out;
}

}  // namespace cam
