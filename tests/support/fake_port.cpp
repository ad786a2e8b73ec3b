#include "support/fake_port.h"

#include <algorithm>

namespace cam {

void FakePort::reply(std::string bytes, int delayMs) { schedule({clock_.nowMs() + delayMs, std::move(bytes), false}); }

void FakePort::unplugAfter(int delayMs) { schedule({clock_.nowMs() + delayMs, {}, true}); }

// After the events due at the same time, so that replies arrive in the order given.
void FakePort::schedule(Pending p) {
    auto at = std::upper_bound(pending_.begin(), pending_.end(), p.at,
                               [](std::int64_t t, const Pending& e) { return t < e.at; });
    pending_.insert(at, std::move(p));
}

bool FakePort::open(const std::string& name) {
    if (failOpen) {
        error_ = openError;
        return false;
    }
    hungUp = false;
    openedName = name;
    ++opens;
    open_ = true;
    return true;
}

bool FakePort::setSpeed(long baud) {
    if (hungUp) {
        open_ = false;
        error_ = {6, "QSerialPort", "Input/output error"};
        return false;
    }
    speed = baud;
    return true;
}

bool FakePort::write(std::string_view bytes) {
    if (!open_) return false;
    written += bytes;
    writes.emplace_back(bytes);
    if (device) device(*this, writes.back());
    return true;
}

void FakePort::deliverDue() {
    while (!pending_.empty() && pending_.front().at <= clock_.nowMs()) {
        Pending p = std::move(pending_.front());
        pending_.pop_front();
        if (p.unplug) {
            open_ = false;
            error_ = {9, "QSerialPort", "Resource error"};
        } else if (open_) {
            in_ += p.bytes;
        }
    }
}

std::string FakePort::read(std::size_t max) {
    deliverDue();
    std::string out = in_.substr(0, max);
    in_.erase(0, out.size());
    return out;
}

std::size_t FakePort::bytesWaiting() {
    deliverDue();
    return open_ ? in_.size() : 0;
}

bool FakePort::waitForBytes(int ms) {
    ++waits;
    deliverDue();
    if (!open_) return false;
    if (!in_.empty()) return true;
    const std::int64_t limit = clock_.nowMs() + ms;
    // Sleep until the next scheduled event of the device, or to the end of the wait.
    if (!pending_.empty() && pending_.front().at <= limit) {
        clock_.advanceTo(pending_.front().at);
        deliverDue();
        return open_ && !in_.empty();
    }
    clock_.advanceTo(limit);
    return false;
}

void FakePort::discardInput() {
    ++inputDiscards;
    deliverDue();
    in_.clear();
}

}  // namespace cam
