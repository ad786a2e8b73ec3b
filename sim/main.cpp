// camsim: a cam programmer on a pseudo-terminal, for demos, training and end-to-end tests.
// Prints the terminal's path on its first line, then serves the line until SIGTERM or SIGINT.
#include "core/model/version.h"
#include "device.h"
#include "pty.h"
#include "qt/command_line.h"
#include "sim_options.h"

#include <poll.h>
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

// SIGTERM and SIGINT are let through only while the loop sleeps in ppoll, so none is missed.
// Returns the signal mask to sleep with.
sigset_t CatchStopSignals() {
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigset_t blocked, during;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &during);
    sigdelset(&during, SIGTERM);
    sigdelset(&during, SIGINT);
    return during;
}

// The device on the line: what arrives goes to the device, its replies go out at the pace
// of the emulated line. Returns the exit status.
class LineLoop {
public:
    LineLoop(camsim::Pty& pty, camsim::Device& device, long baud)
        : pty_(pty), device_(device), baud_(baud), perByte_(camsim::ByteNs(baud)) {}

    int run(const sigset_t& during) {
        char buf[512];
        while (!gStop) {
            pollfd p{pty_.fd(), POLLIN, 0};
            int n = ppoll(&p, 1, nullptr, &during);
            if (n < 0) {
                if (errno == EINTR) continue;
                std::fprintf(stderr, "camsim: poll: %s\n", std::strerror(errno));
                return 1;
            }
            if (p.revents & (POLLERR | POLLNVAL)) {
                std::fprintf(stderr, "camsim: the pseudo-terminal failed\n");
                return 1;
            }
            if (!(p.revents & POLLIN)) {
                // A hang-up cannot last while we hold the other end; should it happen, do not spin.
                if (p.revents & POLLHUP) usleep(50'000);
                continue;
            }
            ssize_t got = ::read(pty_.fd(), buf, sizeof buf);
            if (got < 0) {
                if (errno == EINTR || errno == EAGAIN || errno == EIO) continue;
                std::fprintf(stderr, "camsim: read: %s\n", std::strerror(errno));
                return 1;
            }
            if (!serve(std::string_view(buf, static_cast<std::size_t>(got)))) return device_.hungUp() ? 0 : 1;
        }
        return 0;
    }

private:
    // False when the loop must end: the device hung up, or the line failed.
    bool serve(std::string_view bytes) {
        // When what has arrived so far would have finished arriving on the emulated line: the
        // device answers nothing before the block it answers has reached it.
        if (perByte_ > 0)
            inputEnd_ = std::max(inputEnd_, camsim::MonotonicNs()) + static_cast<std::int64_t>(bytes.size()) * perByte_;
        camsim::Replies replies = device_.receive(bytes);
        if (device_.hungUp()) return false;  // the line goes away with the process
        // The answer starts on the line as soon as what it answers is through and the line
        // is free, plus the time the device thinks.
        std::int64_t start = std::max(inputEnd_, outputEnd_);
        for (const camsim::Reply& r : replies) {
            if (r.delayMs > 0) start = std::max(start, camsim::MonotonicNs()) + r.delayMs * 1'000'000LL;
            if (perByte_ == 0 && r.delayMs > 0) camsim::SleepUntilNs(start);  // else send() keeps the time
            if (!pty_.send(r.bytes, baud_, start)) {
                std::fprintf(stderr, "camsim: write: %s\n", std::strerror(errno));
                return false;
            }
            start += static_cast<std::int64_t>(r.bytes.size()) * perByte_;
            outputEnd_ = start;
        }
        return true;
    }

    camsim::Pty& pty_;
    camsim::Device& device_;
    long baud_;
    std::int64_t perByte_;
    std::int64_t inputEnd_ = 0;
    std::int64_t outputEnd_ = 0;  // when the last byte sent is through
};

}  // namespace

int main(int argc, char* argv[]) {
    const cam::SplitArgs split =
        cam::SplitCommandLine(camsim::Syntax(), std::vector<std::string>(argv + 1, argv + argc));
    if (split.help) {
        std::fputs(cam::HelpText(camsim::Syntax()).c_str(), stdout);
        return 0;
    }
    camsim::Options options;
    std::string error = split.error;
    if (split.ok() && split.args.has("version")) {
        std::printf("camsim %s\n", cam::kVersion);
        return 0;
    }
    if (!split.ok() || !camsim::ReadOptions(split.args, &options, &error)) {
        std::fprintf(stderr, "camsim: %s\n%s", error.c_str(), cam::UsageText(camsim::Syntax()).c_str());
        return 2;
    }
    camsim::Pty pty;
    if (!pty.ok()) {
        std::fprintf(stderr, "camsim: %s\n", pty.error().c_str());
        return 1;
    }
    // Sleeps end close to their deadline: the emulated line keeps its pace byte by byte.
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
#endif
    if (!options.stateDir.empty() && ::mkdir(options.stateDir.c_str(), 0755) != 0 && errno != EEXIST)
        std::fprintf(stderr, "camsim: cannot make %s: %s\n", options.stateDir.c_str(), std::strerror(errno));
    camsim::Device device(options);
    const sigset_t during = CatchStopSignals();

    std::printf("%s\n", pty.path().c_str());
    std::fflush(stdout);
    return LineLoop(pty, device, options.baud).run(during);
}
