#include "pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

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

bool Pty::send(const std::string& bytes, long baud) {
    // A pseudo-terminal does not pace bytes: each one waits its time on the emulated line.
    const long nsPerByte = baud > 0 ? 10L * 1'000'000'000L / baud : 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t n = nsPerByte > 0 ? 1 : bytes.size() - done;
        ssize_t w = ::write(master_, bytes.data() + done, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(w);
        if (nsPerByte > 0) {
            timespec ts{nsPerByte / 1'000'000'000L, nsPerByte % 1'000'000'000L};
            while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
            }
        }
    }
    return true;
}

}  // namespace camsim
