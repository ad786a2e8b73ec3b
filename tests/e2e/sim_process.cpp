#include "sim_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>

extern char** environ;

SimProcess::SimProcess(const std::vector<std::string>& options) {
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> args{CAMSIM_PATH};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, CAMSIM_PATH, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    // The first line is the terminal's path.
    char c;
    while (pid_ > 0 && read(out[0], &c, 1) == 1 && c != '\n') port_ += c;
    close(out[0]);
}

SimProcess::~SimProcess() { stop(); }

void SimProcess::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
