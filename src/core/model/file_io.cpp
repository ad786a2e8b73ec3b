#include "core/model/file_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cam {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return "";
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

bool Present(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(fs::symlink_status(path, ec));
}

Result Refused(const std::string& path, const std::string& why) { return Result::Failure(path + ": " + why); }

std::string Why(int err) { return err == ENOENT || err == ENOTDIR ? "no such file" : std::strerror(err); }

// path opened for reading (fd >= 0) when it is a regular file of at most limit bytes. The
// open does not wait: a FIFO without a writer, or a device, would otherwise hold it.
Result OpenInput(const std::string& path, std::uintmax_t limit, int& fd, std::uintmax_t& size) {
    fd = -1;
    if (path.empty()) return Result::Failure("no file name");
    const int f = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (f < 0) return Refused(path, Why(errno));
    struct stat st {};
    std::string why;
    if (::fstat(f, &st) != 0)
        why = Why(errno);
    else if (S_ISDIR(st.st_mode))
        why = "is a folder, not a file";
    else if (!S_ISREG(st.st_mode))
        why = "is not a regular file";
    else if (static_cast<std::uintmax_t>(st.st_size) > limit)
        why = "is larger than any file of its kind can be (" + std::to_string(st.st_size) + " bytes, at most " +
              std::to_string(limit) + ")";
    if (!why.empty()) {
        ::close(f);
        return Refused(path, why);
    }
    fd = f;
    size = static_cast<std::uintmax_t>(st.st_size);
    return {};
}

}  // namespace

std::string FindProgramFile(const std::string& exeDir, const std::string& name, InstalledFolder folder) {
    const std::string beside = JoinPath(exeDir, name);
    if (Present(beside)) return beside;
#if defined(CAMDESK_DATADIR) && defined(CAMDESK_DOCDIR)
    const std::string installed = JoinPath(folder == InstalledFolder::Data ? CAMDESK_DATADIR : CAMDESK_DOCDIR, name);
    if (Present(installed)) return installed;
#else
    (void)folder;
#endif
    return "";
}

Result CheckInputFile(const std::string& path, std::uintmax_t limit) {
    int fd = -1;
    std::uintmax_t size = 0;
    Result r = OpenInput(path, limit, fd, size);
    if (fd >= 0) ::close(fd);
    return r;
}

FileBytes ReadFileBytes(const std::string& path, std::uintmax_t limit) {
    FileBytes out;
    int fd = -1;
    std::uintmax_t size = 0;
    out.read = OpenInput(path, limit, fd, size);
    if (fd < 0) return out;
    out.bytes.resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    // What the file held when it was looked at; a file that changes meanwhile is read as far.
    while (got < out.bytes.size()) {
        const ssize_t n = ::read(fd, out.bytes.data() + got, out.bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.read = Refused(path, Why(errno));
            break;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.bytes.resize(got);
    if (!out.read) out.bytes.clear();
    return out;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return !a.empty() && !b.empty() && ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace cam
