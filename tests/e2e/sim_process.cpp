#include "sim_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

extern char** environ;

namespace {

// Starts args[0] with its standard output into fd (or, with -1, its standard error dropped).
pid_t Spawn(std::vector<std::string> args, int fd) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (fd >= 0)
        posix_spawn_file_actions_adddup2(&actions, fd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t& pid, int sig) {
    if (pid <= 0) return;
    kill(pid, sig);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

// A local port nobody uses now: the system's pick for a socket bound to port 0.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

// Something listens on 127.0.0.1:port, as the kernel lists it (a connection would open the server's line).
bool Listening(int port) {
    char key[40];
    std::snprintf(key, sizeof key, "0100007F:%04X 00000000:0000 0A", port);
    std::ifstream tcp("/proc/net/tcp");
    for (std::string line; std::getline(tcp, line);)
        if (line.find(key) != std::string::npos) return true;
    return false;
}

}  // namespace

SimProcess::SimProcess(const std::vector<std::string>& options) {
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> args{CAMSIM_PATH};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = Spawn(args, out[1]);
    close(out[1]);
    // The first line is the terminal's path.
    char c;
    while (pid_ > 0 && read(out[0], &c, 1) == 1 && c != '\n') port_ += c;
    close(out[0]);
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::stop() { Stop(pid_, SIGTERM); }

SerialServer::SerialServer(const std::string& terminal, const std::string& protocol) {
    const int port = FreePort();
    char config[] = "/tmp/ser2net-XXXXXX.yaml";  // read as YAML for its name
    const int fd = mkstemps(config, 5);
    if (port == 0 || fd < 0 || terminal.empty()) return;
    close(fd);
    config_ = config;
    std::ofstream(config_) << "connection: &line\n  accepter: " << (protocol == "rfc2217" ? "telnet(rfc2217)," : "")
                           << "tcp,127.0.0.1," << port << "\n  connector: serialdev," << terminal
                           << ",9600n81,local\n"
                           // Forwarded as it comes (ser2net waits two character times for more by default).
                           << "  options:\n    chardelay: false\n";
    pid_ = Spawn({"/usr/sbin/ser2net", "-n", "-d", "-c", config_}, -1);
    for (int i = 0; pid_ > 0 && i < 250 && !Listening(port); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (Listening(port)) port_ = protocol + "://127.0.0.1:" + std::to_string(port);
}

SerialServer::~SerialServer() {
    Stop(pid_, SIGKILL);  // at once, whether or not a client is still connected
    if (!config_.empty()) std::remove(config_.c_str());
}
