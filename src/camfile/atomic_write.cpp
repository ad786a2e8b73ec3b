#include "camfile/atomic_write.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cam {

namespace fs = std::filesystem;

namespace {

constexpr int kSuffixLength = 8;

Result Reason(const std::string& what, const std::string& path, int err) {
    return Result::Failure(what + " " + path + ": " + std::strerror(err));
}

// A link is replaced at its target, so that the link itself survives the save.
fs::path TargetOf(const std::string& path) {
    std::error_code ec;
    fs::path p(path);
    if (fs::is_symlink(fs::symlink_status(p, ec))) {
        fs::path t = fs::read_symlink(p, ec);
        if (!ec) return t.is_absolute() ? t : p.parent_path() / t;
    }
    return p;
}

// ".NAME." followed by the random suffix: the temporary files of saves of NAME.
bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string head = "." + name + ".";
    if (entry.size() != head.size() + kSuffixLength || entry.compare(0, head.size(), head) != 0) return false;
    for (std::size_t i = head.size(); i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
    return true;
}

// The temporary files a killed save of target left behind (the program holds one save of a
// file at a time): removed before the next save, so that none piles up.
void RemoveLeftovers(const fs::path& dir, const fs::path& target) {
    std::error_code ec;
    const std::string name = target.filename().string();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (IsTemporaryOf(entry, name) && fs::is_regular_file(fs::symlink_status(it->path(), ec)))
            fs::remove(it->path(), ec);
    }
}

// A new file beside target, created exclusively (never through a link) with a name no one
// can guess. mode goes through the umask like any new file's.
int CreateBeside(const fs::path& dir, const fs::path& target, mode_t mode, std::string& name) {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(kSuffixLength, 'x');
        for (char& c : suffix) c = kChars[random() % (sizeof kChars - 1)];
        name = (dir / ("." + target.filename().string() + "." + suffix)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

DurableFile::DurableFile(const std::string& path) {
    const fs::path target = TargetOf(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    target_ = target.string();
    dir_ = dir.string();

    // A file the user may not write is not replaced, though the folder would allow the
    // rename: a write-protected file stays protected, also for an administrator.
    struct stat st {};
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    if (replacing) {
        int err = 0;
        if ((st.st_mode & 0222) == 0)
            err = EACCES;
        else if (::access(target.c_str(), W_OK) != 0)
            err = errno;
        if (err != 0) {
            state_ = Reason("cannot write", target_, err);
            return;
        }
    }
    RemoveLeftovers(dir, target);
    fd_ = CreateBeside(dir, target, replacing ? (st.st_mode & 07777) : 0666, tmp_);
    if (fd_ < 0) {
        state_ = Reason("cannot create a file in", dir_, errno);
        return;
    }
    if (replacing) {
        // The replaced file keeps its mode, and its group (and owner) where the system allows.
        if (::fchmod(fd_, st.st_mode & 07777) != 0) {
            state_ = fail("cannot set the permissions for", errno);
            return;
        }
        if (::fchown(fd_, ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Not allowed to give it that group: it keeps the user's own.
        }
    }
}

DurableFile::~DurableFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
}

Result DurableFile::fail(const std::string& what, int err) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
    tmp_.clear();
    state_ = Reason(what, target_, err);
    return state_;
}

Result DurableFile::write(std::string_view bytes) {
    if (!state_) return state_;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write", errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return {};
}

Result DurableFile::commit() {
    if (!state_) return state_;
    if (::fsync(fd_) != 0) return fail("cannot write", errno);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return fail("cannot write", errno);
    if (::rename(tmp_.c_str(), target_.c_str()) != 0) return fail("cannot replace", errno);
    tmp_.clear();
    // The new name is durable only once the folder itself is on the disk.
    const int dfd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

Result WriteFileDurably(const std::string& path, std::string_view bytes) {
    DurableFile file(path);
    if (Result written = file.write(bytes); !written) return written;
    return file.commit();
}

}  // namespace cam
