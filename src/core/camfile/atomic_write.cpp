#include "core/camfile/atomic_write.h"

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

constexpr int kMaxLinks = 40;  // as the system follows at most

// The system's rule for links in shared folders: a link in a folder with the sticky bit that
// anyone may write is followed only by its owner, or when the folder's owner made it.
bool MayFollow(const struct stat& link, const fs::path& folder) {
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0) return false;
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == dir.st_uid;
}

// A link is replaced at its real file, at the end of a chain of links, so that the links
// themselves survive the save.
Result TargetOf(const std::string& path, fs::path& target) {
    fs::path p(path);
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;  // the real file, or a new one
        const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
        if (links == kMaxLinks) return Reason("cannot write", path, ELOOP);
        if (!MayFollow(st, folder))
            return Result::Failure("cannot write " + path + ": " + p.string() +
                                   " is a link of another user in a shared folder; it is not followed");
        std::error_code ec;
        const fs::path t = fs::read_symlink(p, ec);
        if (ec) return Reason("cannot write", path, ec.value());
        p = t.is_absolute() ? t : folder / t;
    }
    target = p;
    return {};
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
    fs::path target;
    state_ = TargetOf(path, target);
    if (!state_) return;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    target_ = target.string();
    dir_ = dir.string();

    // A file the user may not write is not replaced, though the folder would allow the
    // rename: a write-protected file stays protected, also for an administrator.
    struct stat st {};
    const bool replacing = ::stat(target.c_str(), &st) == 0;
    if (replacing && !S_ISREG(st.st_mode)) {
        openDirectly(st);
        return;
    }
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

void DurableFile::openDirectly(const struct stat& st) {
    // Replacing a device or a FIFO by a file would break what uses it (as root, /dev/null).
    if (!S_ISCHR(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        state_ = Result::Failure("cannot write " + target_ + ": it is not a regular file");
        return;
    }
    // Without waiting: a FIFO that no program reads would hold the save for ever.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        state_ = errno == ENXIO ? Result::Failure("cannot write " + target_ + ": no program reads from it")
                                : Reason("cannot write", target_, errno);
        return;
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    direct_ = true;
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
    if (direct_) {
        const int closed = ::close(fd_);
        fd_ = -1;
        return closed == 0 ? Result() : fail("cannot write", errno);
    }
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
