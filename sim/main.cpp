// camsim: a cam programmer on a pseudo-terminal, for demos, training and end-to-end tests.
// Prints the terminal's path on its first line, then serves the line until SIGTERM or SIGINT.
#include "device.h"
#include "pty.h"
#include "sim_options.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& a : args)
        if (a == "--help" || a == "-h") {
            std::fputs(camsim::Usage(), stdout);
            return 0;
        }
    camsim::Options options;
    std::string error;
    if (!camsim::ParseOptions(args, &options, &error)) {
        std::fprintf(stderr, "camsim: %s\n%s", error.c_str(), camsim::Usage());
        return 2;
    }
    camsim::Pty pty;
    if (!pty.ok()) {
        std::fprintf(stderr, "camsim: %s\n", pty.error().c_str());
        return 1;
    }
    camsim::Device device(options);

    // The signals are let through only while the loop sleeps in ppoll, so none is missed.
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

    std::printf("%s\n", pty.path().c_str());
    std::fflush(stdout);

    char buf[512];
    while (!gStop) {
        pollfd p{pty.fd(), POLLIN, 0};
        int n = ppoll(&p, 1, nullptr, &during);
        if (n < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "camsim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (p.revents & (POLLERR | POLLNVAL)) return 1;
        if (!(p.revents & POLLIN)) {
            // A hang-up cannot last while we hold the other end; should it happen, do not spin.
            if (p.revents & POLLHUP) usleep(50'000);
            continue;
        }
        ssize_t got = ::read(pty.fd(), buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EIO) continue;
            return 1;
        }
        std::string reply = device.receive(std::string_view(buf, static_cast<std::size_t>(got)));
        if (device.hungUp()) return 0;  // the line goes away with the process
        if (!reply.empty() && !pty.send(reply, options.baud)) return 1;
    }
    return 0;
}
