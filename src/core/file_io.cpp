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

namespace {
std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return "";
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}
}  // namespace

std::string FindProgramFile(const std::string& exeDir, const std::string& name, InstalledFolder folder) {
    const std::string beside = JoinPath(exeDir, name);
    if (FileExists(beside)) return beside;
#if defined(CAMDESK_DATADIR) && defined(CAMDESK_DOCDIR)
    const std::string installed = JoinPath(folder == InstalledFolder::Data ? CAMDESK_DATADIR : CAMDESK_DOCDIR, name);
    if (FileExists(installed)) return installed;
#else
    (void)folder;
#endif
    return "";
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
