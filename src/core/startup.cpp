#include "core/startup.h"


namespace cam {

std::string ChooseWorkDir(const std::string& documents, const std::string& home,
                          const std::function<bool(const std::string&)>& isWritableDir) {
    if (!documents.empty()) {
        const std::string zeto = documents + "/" + kWorkSubfolder;
        if (isWritableDir(zeto)) return zeto;
        if (isWritableDir(documents)) return documents;
    }
    return home;
}

namespace {
std::string Unquoted(const std::string& s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}
}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine cl;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                cl.error = a + " needs a value";
                return;
            }
            into = Unquoted(args[++i]);
        };
        if (a == "--port") {
            value(cl.port);
        } else if (a == "--screenshot") {
            value(cl.screenshot);
        } else if (a == "--trace") {
            cl.trace = true;
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-' && cl.file.empty()) {
            cl.error = "unknown option " + a;
        } else if (cl.file.empty()) {
            cl.file = Unquoted(a);
        } else {
            cl.error = "more than one file named: " + a;
        }
        if (!cl.error.empty()) break;
    }
    return cl;
}

void SetStartupSettings(Program& p) {
    p.TmpFile = p.WorkDir + "/_._";
    p.FileSaved = true;
    p.Port() = PortSettings{};
    p.StoredPort.reset();
}

void SetStartupModel(Program& p) {
    p.NSizes = 7;
    p.NCams = 32;
    p.NMsgs = 255;
    p.CurCam = 1;
    p.CurSize = 1;
}

float ScreenScale(int screenHeight, float current) {
    if (screenHeight > 480) return static_cast<float>(screenHeight) / 480.0f * 45.0f;
    return current;
}

}  // namespace cam

#include "core/file_io.h"
#include "core/options.h"
#include "core/prompt.h"

namespace cam {

bool ChooseLanguage(Program& p, Prompt& prompt) {
    FileRequest request;
    request.title = "SELECT LANGUAGE";
    request.filters = {{"File Script Lang. (*.Scr)", "*.scr"}, {"All Files (*.*)", "*.*"}};
    request.folder = p.WorkDir;
    const std::string chosen = prompt.openFile(request);
    const std::size_t slash = chosen.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? chosen : chosen.substr(slash + 1);
    if (name.empty() || name.size() > 255) return false;
    if (!FileExists(p.LngFile)) {
        prompt.message("FILE ERROR", "", Buttons::Ok, Icon::Stop);
        return false;
    }
    p.LngFile = chosen;
    if (!FileExists(chosen)) return false;
    WriteOptions(p);
    return true;
}

}  // namespace cam
