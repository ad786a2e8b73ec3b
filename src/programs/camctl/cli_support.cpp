#include "programs/camctl/cli_support.h"

#include "core/camfile/cam_file.h"
#include "core/model/file_io.h"
#include "core/model/language.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/link/port_name.h"
#include "qt/cp1252.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
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

std::optional<FileOptions> FileOptionsOf(const ParsedArgs& args) {
    FileOptions o;
    o.yes = args.has("yes");
    o.files = args.arguments;
    if (!args.has("model")) return o;
    int c = 0, s = 0;
    if (!ParseModel(args.value("model"), c, s)) {
        std::cerr << "camctl: bad model '" << args.value("model") << "': cams 16 or 32, sizes 1..60, e.g. 32x7\n";
        return std::nullopt;
    }
    o.cams = c;
    o.sizes = s;
    return o;
}

bool PortOptionsOf(const ParsedArgs& args, Program& p) {
    if (args.has("port") && !SetPortName(p, args.value("port"))) {
        std::cerr << "camctl: bad port name '" << args.value("port")
                  << "': a device path such as /dev/ttyUSB0, or COMn\n";
        return false;
    }
    return !args.has("baud") || ParseSpeed(args.value("baud"), p.ComSpeed);
}

bool LoadDefaultTexts(Program& p) {
    const std::string dir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string script = FindDefaultLanguageScript(dir);
    if (script.empty()) {
        std::cerr << "camctl: the language script " << kDefaultLanguageScript
                  << " was not found; messages are shown without their texts\n";
        return false;
    }
    if (const Result read = ReadLanguageScript(p, script); !read) {
        std::cerr << "camctl: the language script cannot be read: " << read.reason()
                  << "; messages are shown without their texts\n";
        return false;
    }
    p.LngFile = script;
    return true;
}

int FinishOutput(int status) {
    errno = 0;
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed) return status;
    std::cerr << "camctl: standard output: " << (errno != 0 ? std::strerror(errno) : "cannot be written") << '\n';
    return status != 0 ? status : 1;
}

bool OutputIsInput(const std::string& command, const std::string& in, const std::string& out) {
    if (!SameFile(in, out)) return false;
    std::cerr << "camctl " << command << ": " << out << " is the input file " << in
              << ": the output would replace it; nothing was written\n";
    return true;
}

bool ParseSpeed(const std::string& text, long& speed) {
    int value = 0;
    if (!ParseCount(text, value) || value <= 0 || value > 4'000'000) {
        std::cerr << "camctl: bad speed '" << text << "'\n";
        return false;
    }
    speed = value;
    return true;
}

std::string ConsoleText(const std::string& text) {
    std::string out = FromCp1252(text).toLocal8Bit().toStdString();
    for (char& c : out)
        if (c == '\r') c = '\n';
    return out;
}

Answer ConsolePrompt::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    std::cerr << ConsoleText(text) << std::endl;
    return ScriptedPrompt::message(text, title, buttons, icon);
}

namespace {

// The model is the one asked for, else the one the file's header names, else 32x7.
void ChooseModel(Program& p, const FileOptions& o, const std::string& path) {
    p.NCams = 32;
    p.NSizes = 7;
    if (o.cams) {
        p.NCams = *o.cams;
        p.NSizes = *o.sizes;
    } else if (const auto model = HeaderModel(path)) {
        p.NCams = model->NCams;
        p.NSizes = model->NSizes;
    }
    ResizeTables(p);
    ClearAll(p);
}

}  // namespace

int ReadForCommand(Program& p, const FileOptions& o, const std::string& path) {
    if (const Result usable = CheckInputFile(path, kMaxCamFileBytes); !usable) {
        std::cerr << "camctl: " << usable.reason() << '\n';
        return 1;
    }
    LoadDefaultTexts(p);
    ChooseModel(p, o, path);
    ConsolePrompt prompt(o.yes);
    const CamFileRead read = ReadCamFile(p, path, prompt);
    if (read == CamFileRead::Failed || p.ReadError) return 1;
    // The rest of the file was not read: going on would lose it, unless the user says so.
    if (read == CamFileRead::StoppedEarly && !o.yes) {
        std::cerr << "camctl: the reading of " << path
                  << " stopped before the end of the file; nothing was done (--yes goes on with what was read)\n";
        return 1;
    }
    return 0;
}

}  // namespace cam::cli
