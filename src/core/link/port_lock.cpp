#include "core/link/port_lock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace cam {

namespace {

constexpr const char* kLockFolders[] = {"/var/lock", "/run/lock"};
constexpr std::size_t kLockFileBytes = 128;  // ten columns and a line end, or a few short lines

bool Lives(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

std::string Slurp(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// The process of another program whose lock file on device lives.
std::optional<long> LockFileHolder(const std::string& device) {
    for (const std::string& path : LockFilePaths(device)) {
        const std::optional<long> pid = LockFilePid(Slurp(path, kLockFileBytes));
        if (pid && *pid != ::getpid() && Lives(*pid)) return pid;
    }
    return std::nullopt;
}

PortError Refusal(int err, const char* source, PortError::Kind kind, long holder = 0) {
    PortError e{err, source, std::strerror(err), kind};
    e.holder = holder;
    return e;
}

}  // namespace

std::string RealDevice(const std::string& name) {
    char real[PATH_MAX];
    return ::realpath(name.c_str(), real) ? std::string(real) : name;
}

std::vector<std::string> LockFilePaths(const std::string& device) {
    std::string relative = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
    const std::string last = relative.substr(relative.find_last_of('/') + 1);
    for (char& c : relative)
        if (c == '/') c = '_';
    std::vector<std::string> paths;
    for (const char* folder : kLockFolders) {
        paths.push_back(std::string(folder) + "/LCK.." + relative);
        if (last != relative) paths.push_back(std::string(folder) + "/LCK.." + last);
    }
    return paths;
}

std::optional<long> LockFilePid(std::string_view bytes) {
    std::size_t i = bytes.find_first_not_of(" \t");
    if (i == std::string_view::npos) return std::nullopt;
    long pid = 0;
    std::size_t digits = 0;
    for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9' && digits < 10; ++i, ++digits)
        pid = pid * 10 + (bytes[i] - '0');
    if (digits == 0 || pid <= 0) return std::nullopt;
    return pid;
}

std::optional<long> FlockHolder(std::string_view procLocks, unsigned major, unsigned minor, unsigned long inode) {
    std::istringstream lines{std::string(procLocks)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string id, kind, mode, access, file;
        long pid = 0;
        if (!(fields >> id >> kind) || kind == "->" || !(fields >> mode >> access >> pid >> file)) continue;
        unsigned maj = 0, min = 0;
        unsigned long ino = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &maj, &min, &ino) == 3 && maj == major && min == minor &&
            ino == inode && pid != ::getpid())
            return pid;
    }
    return std::nullopt;
}

bool PortClaim::claim(const std::string& device, PortError& error) {
    release();
    if (const std::optional<long> holder = LockFileHolder(device)) {
        error = Refusal(EBUSY, "LCK..", PortError::InUse, *holder);
        return false;
    }
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const int err = errno;
        const PortError::Kind kind = err == ENOENT || err == ENODEV || err == ENXIO ? PortError::NotFound
                                     : err == EACCES || err == EPERM                ? PortError::NoPermission
                                     : err == EBUSY                                 ? PortError::InUse
                                                                                    : PortError::Other;
        error = Refusal(err, "open", kind);
        return false;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        struct stat st {};
        std::optional<long> holder;
        if (::fstat(fd_, &st) == 0) {
            std::ifstream in("/proc/locks");
            const std::string locks((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            holder = FlockHolder(locks, ::major(st.st_dev), ::minor(st.st_dev), st.st_ino);
        }
        release();
        error = Refusal(err, "flock", err == EWOULDBLOCK ? PortError::InUse : PortError::Other, holder.value_or(0));
        return false;
    }
    return true;
}

void PortClaim::release() {
    if (fd_ >= 0) ::close(fd_);  // the flock lock goes with it
    fd_ = -1;
}

}  // namespace cam
