#include "core/file_io.h"

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

}  // namespace cam
