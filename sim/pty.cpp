#include "pty.h"

#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace camsim {

Pty::Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error_ = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (master_ >= 0) ::close(master_);
        master_ = -1;
        return;
    }
    const char* name = ptsname(master_);
    path_ = name ? name : "";
    // Holding the other end open keeps the master from seeing a hang-up while no tool is
    // connected; it also carries the raw line settings.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ >= 0) {
        termios t{};
        if (tcgetattr(slave_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave_, TCSANOW, &t);
        }
    }
}

Pty::~Pty() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

void SleepUntilNs(std::int64_t when) {
    timespec ts{static_cast<time_t>(when / 1'000'000'000LL), static_cast<long>(when % 1'000'000'000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {}
}

bool Pty::send(const std::string& bytes, long baud, std::int64_t start) {
    // A pseudo-terminal does not pace bytes: each one waits its time on the emulated line.
    const std::int64_t perByte = ByteNs(baud);
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t due = bytes.size();
        if (perByte > 0) {
            SleepUntilNs(start + static_cast<std::int64_t>(done + 1) * perByte);
            due = std::min(bytes.size(),
                           static_cast<std::size_t>(std::max<std::int64_t>(MonotonicNs() - start, 0) / perByte));
        }
        ssize_t w = ::write(master_, bytes.data() + done, due - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

}  // namespace camsim
