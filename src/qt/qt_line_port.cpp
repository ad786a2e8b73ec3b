#include "qt/qt_line_port.h"

#include "core/link/network_port_name.h"

namespace cam {

bool QtLinePort::open(const std::string& name) {
    SerialPort* next = IsNetworkPortName(name) ? static_cast<SerialPort*>(&network_) : &serial_;
    if (next != active_.load()) line().close();
    active_ = next;
    return next->open(name);
}

bool QtLinePort::setRts(bool on) {
    // The kind not in use is closed: it remembers the line for its next open.
    SerialPort& other = &line() == &serial_ ? static_cast<SerialPort&>(network_) : serial_;
    other.setRts(on);
    return line().setRts(on);
}

void QtLinePort::moveToThread(QThread* thread) {
    serial_.moveToThread(thread);
    network_.moveToThread(thread);
}

}  // namespace cam
