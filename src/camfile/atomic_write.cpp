#include "camfile/atomic_write.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cam {

namespace fs = std::filesystem;

static Result Reason(const std::string& what, const std::string& path, int err) {
    return Result::Failure(what + " " + path + ": " + std::strerror(err));
}

// A link is replaced at its target, so that the link itself survives the save.
static fs::path TargetOf(const std::string& path) {
    std::error_code ec;
    fs::path p(path);
    if (fs::is_symlink(fs::symlink_status(p, ec))) {
        fs::path t = fs::read_symlink(p, ec);
        if (!ec) return t.is_absolute() ? t : p.parent_path() / t;
    }
    return p;
}

#ifdef _WIN32

Result WriteFileDurably(const std::string& path, std::string_view bytes) {
    const fs::path target = TargetOf(path);
    fs::path tmp = target;
    tmp += ".tmp~";
    std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
    if (!f) return Reason("cannot create", tmp.string(), errno);
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    const int err = errno;
    if (std::fclose(f) != 0 || !ok) {
        std::remove(tmp.string().c_str());
        return Reason("cannot write", tmp.string(), err);
    }
    std::error_code ec;
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return Result::Failure("cannot replace " + target.string() + ": " + ec.message());
    }
    return {};
}

#else

// A new file beside target, created exclusively (never through a link) with a name no one
// can guess. mode goes through the umask like any new file's.
static int CreateBeside(const fs::path& target, mode_t mode, std::string& name) {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, 'x');
        for (char& c : suffix) c = kChars[random() % (sizeof kChars - 1)];
        name = (dir / ("." + target.filename().string() + "." + suffix)).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

Result WriteFileDurably(const std::string& path, std::string_view bytes) {
    const fs::path target = TargetOf(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");

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
        if (err != 0) return Reason("cannot write", target.string(), err);
    }

    std::string tmp;
    const int fd = CreateBeside(target, replacing ? (st.st_mode & 07777) : 0666, tmp);
    if (fd < 0) return Reason("cannot create a file in", dir.string(), errno);

    auto fail = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return Reason(what, target.string(), err);
    };

    if (replacing) {
        // The replaced file keeps its mode, and its group (and owner) where the system allows.
        if (::fchmod(fd, st.st_mode & 07777) != 0) return fail("cannot set the permissions for", errno);
        if (::fchown(fd, ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid) != 0) {
            // Not allowed to give it that group: it keeps the user's own.
        }
    }

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write", errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail("cannot write", errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Reason("cannot write", target.string(), err);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return Reason("cannot replace", target.string(), err);
    }
    // The new name is durable only once the folder itself is on the disk.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

#endif

}  // namespace cam
