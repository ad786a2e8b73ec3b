#include "camfile/atomic_write.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
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

static std::string Reason(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
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

std::string WriteFileDurably(const std::string& path, std::string_view bytes) {
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
        return "cannot replace " + target.string() + ": " + ec.message();
    }
    return "";
}

#else

std::string WriteFileDurably(const std::string& path, std::string_view bytes) {
    const fs::path target = TargetOf(path);
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return Reason("cannot create a file in", dir.string(), errno);

    auto fail = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(tmpl.c_str());
        return Reason(what, target.string(), err);
    };

    // mkstemp makes the file private; a replaced file keeps its own mode, a new one
    // gets the usual mode for the user's umask.
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail("cannot set the permissions for", errno);

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
        ::unlink(tmpl.c_str());
        return Reason("cannot write", target.string(), err);
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmpl.c_str());
        return Reason("cannot replace", target.string(), err);
    }
    // The new name is durable only once the folder itself is on the disk.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return "";
}

#endif

}  // namespace cam
