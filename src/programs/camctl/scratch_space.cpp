#include "programs/camctl/scratch_space.h"

#include "core/model/scratch_file.h"

#include <csignal>
#include <cstring>

#include <unistd.h>

namespace cam::cli {

namespace {

// What a signal handler removes: plain buffers, since a handler may only make
// async-signal-safe calls (unlink, rmdir, raise).
constexpr int kMaxFiles = 65;
char gFiles[kMaxFiles][1024];
char gFolder[4096];

void RemoveFiles() {
    for (char* f : gFiles)
        if (f[0]) ::unlink(f);
}

void RemoveAndDie(int sig) {
    RemoveFiles();
    if (gFolder[0]) ::rmdir(gFolder);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

bool Remember(char* into, std::size_t room, const std::string& path) {
    if (path.size() >= room) return false;
    std::memcpy(into, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

ScratchSpace::ScratchSpace() {
    folder_ = MakePrivateFolder("camctl-", &error_);
    if (folder_.empty()) return;
    file_ = folder_ + "/_._";
    Remember(gFolder, sizeof gFolder, folder_);
    Remember(gFiles[0], sizeof gFiles[0], file_);
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

std::string ScratchSpace::another(const std::string& name) {
    if (folder_.empty()) return "";
    const std::string path = folder_ + "/" + name;
    for (char* f : gFiles)
        if (!f[0]) return Remember(f, sizeof gFiles[0], path) ? path : "";
    return "";
}

ScratchSpace::~ScratchSpace() {
    if (folder_.empty()) return;
    RemoveFiles();
    for (char* f : gFiles) f[0] = '\0';
    gFolder[0] = '\0';
    ::rmdir(folder_.c_str());
}

}  // namespace cam::cli
