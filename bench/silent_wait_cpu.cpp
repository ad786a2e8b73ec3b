// CPU time of the link while the device is silent: one "?M" to a silent camsim over a real
// pseudo-terminal, which waits the full 2 seconds of the command time-out. The wait sleeps
// in the port, so the figure should stay far below 2 % of one core.
// usage: silent_wait_cpu [CAMSIM]
#include "core/model/scripted_prompt.h"
#include "core/link/identify.h"
#include "qt/qt_serial_port.h"

#include <QCoreApplication>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

extern char** environ;

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::string camsim = argc > 1 ? argv[1] : CAMSIM_PATH;
    int out[2];
    if (pipe(out) != 0) return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::string fault = "--fault", silent = "silent";
    char* args[] = {camsim.data(), fault.data(), silent.data(), nullptr};
    pid_t pid;
    if (posix_spawn(&pid, camsim.c_str(), &actions, nullptr, args, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", camsim.c_str());
        return 1;
    }
    close(out[1]);
    std::string port;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') port += c;

    cam::Program p;
    p.ComDevice = port;
    cam::QtSerialPort serial;
    cam::SteadyClock clock;
    cam::ScriptedPrompt prompt;
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    bool found = cam::IdentifyDevice(p, serial, clock, prompt);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = CpuSeconds() - cpu0;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::printf("silent device on %s: identified=%d wall %.3f s, CPU %.4f s = %.2f %% of one core\n", port.c_str(),
                found, wall, cpu, 100.0 * cpu / wall);
    return 0;
}
