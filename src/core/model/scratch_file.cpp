#include "core/model/scratch_file.h"

#include "core/model/text_format.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace cam {

namespace {
constexpr std::size_t kFlushBytes = 64 * 1024;
}

ScratchWriter::ScratchWriter(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) error_ = "cannot create " + path + ": " + std::strerror(errno);
}

ScratchWriter::~ScratchWriter() { close(); }

void ScratchWriter::writeLine(std::string_view text) {
    if (fd_ < 0) return;
    buffer_ += OneLine(text);
    buffer_ += "\r\n";
    if (buffer_.size() >= kFlushBytes) flush();
}

void ScratchWriter::flush() {
    std::size_t done = 0;
    while (fd_ >= 0 && done < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (error_.empty()) error_ = "cannot write " + path_ + ": " + std::strerror(errno);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

bool ScratchWriter::close() {
    if (fd_ < 0) return ok();
    flush();
    if (::close(fd_) != 0 && error_.empty()) error_ = "cannot write " + path_ + ": " + std::strerror(errno);
    fd_ = -1;
    return ok();
}

std::string MakePrivateFolder(const std::string& prefix, std::string* error) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    std::string name = ((ec ? std::filesystem::path("/tmp") : base) / (prefix + "XXXXXX")).string();
    // mkdtemp makes the folder with mode 0700 under a name no one can guess.
    if (!::mkdtemp(name.data())) {
        if (error) *error = "cannot make a folder " + name + ": " + std::strerror(errno);
        return "";
    }
    return name;
}

}  // namespace cam
