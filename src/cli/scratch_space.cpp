#include "cli/scratch_space.h"

#include "core/scratch_file.h"

#include <csignal>
#include <cstring>

#include <unistd.h>

namespace cam::cli {

namespace {

// What a signal handler removes: plain buffers, since a handler may only make
// async-signal-safe calls (unlink, rmdir, raise).
char gFile[4096];
char gFolder[4096];

void RemoveAndDie(int sig) {
    if (gFile[0]) ::unlink(gFile);
    if (gFolder[0]) ::rmdir(gFolder);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void Remember(char* into, const std::string& path) {
    if (path.size() < sizeof gFile) std::memcpy(into, path.c_str(), path.size() + 1);
}

}  // namespace

ScratchSpace::ScratchSpace() {
    folder_ = MakePrivateFolder("camctl-", &error_);
    if (folder_.empty()) return;
    file_ = folder_ + "/_._";
    Remember(gFolder, folder_);
    Remember(gFile, file_);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the caller ignores (nohup, a background job) stays ignored: the command
        // runs on and tidies up at its end as usual.
        struct sigaction before {};
        if (::sigaction(sig, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = RemoveAndDie;
        sigemptyset(&action.sa_mask);
        ::sigaction(sig, &action, nullptr);
    }
}

ScratchSpace::~ScratchSpace() {
    if (folder_.empty()) return;
    gFile[0] = gFolder[0] = '\0';
    ::unlink(file_.c_str());
    ::rmdir(folder_.c_str());
}

}  // namespace cam::cli
