#include "cli/cli_support.h"

#include "core/language.h"

#include <QCoreApplication>
#include <QFile>

#include <charconv>
#include <iostream>

namespace cam::cli {

static bool ParseCount(std::string_view text, int& value) {
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseModel(const std::string& text, int& cams, int& sizes) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int c = 0, s = 0;
    if (!ParseCount(std::string_view(text).substr(0, x), c) || !ParseCount(std::string_view(text).substr(x + 1), s))
        return false;
    if ((c != 16 && c != 32) || s < 1 || s > kMaxSizes) return false;
    cams = c;
    sizes = s;
    return true;
}

std::optional<FileOptions> ParseFileOptions(const std::vector<std::string>& args) {
    FileOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--yes") {
            o.yes = true;
        } else if (a == "--model" || a.rfind("--model=", 0) == 0) {
            std::string value;
            if (a == "--model") {
                if (i + 1 >= args.size()) {
                    std::cerr << "camctl: --model needs a value such as 32x7\n";
                    return std::nullopt;
                }
                value = args[++i];
            } else {
                value = a.substr(8);
            }
            int c = 0, s = 0;
            if (!ParseModel(value, c, s)) {
                std::cerr << "camctl: bad model '" << value << "': cams 16 or 32, sizes 1..60, e.g. 32x7\n";
                return std::nullopt;
            }
            o.cams = c;
            o.sizes = s;
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            std::cerr << "camctl: unknown option '" << a << "'\n";
            return std::nullopt;
        } else {
            o.files.push_back(a);
        }
    }
    return o;
}

bool LoadDefaultTexts(Program& p) {
    const std::string dir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string script = FindDefaultLanguageScript(dir);
    if (!script.empty() && ReadLanguageScript(p, script)) {
        p.LngFile = script;
        return true;
    }
    std::cerr << "camctl: the language script " << kDefaultLanguageScript
              << " was not found; messages are shown without their texts\n";
    return false;
}

}  // namespace cam::cli
