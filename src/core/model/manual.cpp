#include "core/model/manual.h"

#include "core/model/file_io.h"

namespace cam {

std::string ManualPath(const Program& p, const std::string& exeDir) {
    const std::string own = p.WorkDir + "/" + kSiteManualName;
    if (!p.WorkDir.empty() && FileExists(own)) return own;
    return FindProgramFile(exeDir, kManualName, InstalledFolder::Doc);
}

}  // namespace cam
