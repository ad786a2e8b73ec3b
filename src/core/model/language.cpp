#include "core/model/language.h"

#include "core/model/startup.h"

#include "core/model/file_io.h"
#include "core/model/options.h"

namespace cam {

namespace {

// Lines ended by LF or CR alone read as if they ended in CR LF.
std::string WithCrLf(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    return out;
}

const std::vector<std::pair<std::string, std::string>> kScriptFilters = {
    {"File Script Lang. (*.Scr)", "*.scr"},
    {"All Files (*.*)", "*.*"},
};

}  // namespace

std::vector<std::string> ParseLanguageScript(std::string_view bytes) {
    std::vector<std::string> texts(kMaxTexts + 1);
    std::string s = WithCrLf(bytes);
    // The file's last character is dropped: the LF of the final line end. A final line
    // without a line end thereby loses its CR search and is not loaded.
    if (!s.empty()) s.pop_back();

    // p is where the next text starts (0-based), one past the line's opening delimiter;
    // the first line has no opening delimiter. Each text ends one before the CR.
    std::size_t p = 0;
    for (int k = 1; k <= kMaxTexts; ++k) {
        // An empty line has no delimiters to drop: it is an empty text, and the numbering
        // of the lines after it stays in step.
        if (k > 1 && p - 1 < s.size() && s[p - 1] == '\r') {
            p += 2;  // past its CR and LF, and the next line's opening delimiter
            continue;
        }
        if (p >= s.size()) break;
        const std::size_t q = s.find('\r', p);
        if (q == std::string::npos) break;
        // A line of one character (q == p) has no text between its delimiters.
        if (q >= p + 1) texts[k] = s.substr(p, q - p - 1);
        p = q + 3;  // past CR, LF and the next line's opening delimiter
    }
    return texts;
}

Result ReadLanguageScript(Program& p, const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxLanguageScriptBytes);
    if (file.ok()) p.LngTxt = ParseLanguageScript(file.bytes);
    return file.read;
}

std::string FindDefaultLanguageScript(const std::string& exeDir) {
    return FindProgramFile(exeDir, kDefaultLanguageScript);
}

void LoadLanguage(Program& p, Prompt& prompt) {
    if (!FileExists(p.LngFile)) {
        prompt.message(" FILE '\"" + p.LngFile + "\"' IS NOT AVAILABLE", "UNRECOV. DEF.FILE ERROR", Buttons::Ok,
                       Icon::Stop);
        FileRequest request;
        request.title = "SELECT LANGUAGE";
        request.filters = kScriptFilters;
        request.folder = p.WorkDir;
        const std::string chosen = prompt.openFile(request);
        if (chosen.empty()) return;
        if (!FileExists(chosen)) {
            prompt.message("FILE ERROR", "", Buttons::Ok, Icon::Stop);
            return;
        }
        p.LngFile = chosen;
        SaveOptions(p, prompt);
    }
    if (const Result read = ReadLanguageScript(p, p.LngFile); !read)
        prompt.message(read.reason(), "UNRECOV. DEF.FILE ERROR", Buttons::Ok, Icon::Stop);
}

bool ChooseLanguage(Program& p, Prompt& prompt) {
    FileRequest request;
    request.title = "SELECT LANGUAGE";
    request.filters = kScriptFilters;
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
    SaveOptions(p, prompt);
    return true;
}

}  // namespace cam
