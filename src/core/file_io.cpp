#include "core/file_io.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace cam {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) return "no file name";
    // The temporary file sits in the same folder so that the rename never crosses file systems.
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return "cannot create " + tmp + ": " + std::strerror(errno);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            const std::string reason = "cannot write " + tmp + ": " + std::strerror(errno);
            out.close();
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return reason;
        }
        out.close();
        if (out.fail()) {
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return "cannot write " + tmp;
        }
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return "cannot replace " + path + ": " + ec.message();
    }
    return "";
}

}  // namespace cam
