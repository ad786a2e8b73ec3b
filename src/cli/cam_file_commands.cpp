// camctl phases / convert: read a cam file as camdesk reads it, then list or rewrite it.
#include "camfile/cam_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "core/scripted_prompt.h"
#include "core/text_lines.h"
#include "core/text_format.h"
#include "editor/phase_list.h"
#include "qt/cp1252.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace cam::cli {

namespace {

// The model is the one asked for, else the one the file's header names, else 32x7.
void ChooseModel(Program& p, const FileOptions& o, const std::string& path) {
    p.NCams = 32;
    p.NSizes = 7;
    if (o.cams) {
        p.NCams = *o.cams;
        p.NSizes = *o.sizes;
    } else {
        std::ifstream in(path, std::ios::binary);
        std::string header;
        if (ReadTextLine(in, header) && Contains(header, "FUNZIONI"))
            if (const auto counts = HeaderCounts(header))
                if ((counts->cams == 16 || counts->cams == 32) && counts->sizes >= 1 && counts->sizes <= kMaxSizes) {
                    p.NCams = static_cast<int>(counts->cams);
                    p.NSizes = static_cast<int>(counts->sizes);
                }
    }
    ResizeTables(p);
    ClearAll(p);
}

// Reads the file as the program's Open does. Returns the exit status: 0 read, 1 failed.
int ReadForCommand(Program& p, const FileOptions& o, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        std::cerr << "camctl: " << path << ": no such file\n";
        return 1;
    }
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::cerr << "camctl: " << path << ": not a file\n";
        return 1;
    }
    if (!std::ifstream(path, std::ios::binary)) {
        std::cerr << "camctl: " << path << ": cannot be read\n";
        return 1;
    }
    LoadDefaultTexts(p);
    ChooseModel(p, o, path);
    // Messages carry the file's and the script's Windows-1252 text: shown in the
    // terminal's own encoding, one line each.
    std::ostringstream shown;
    ScriptedPrompt prompt(o.yes, &shown);
    ReadCamFile(p, path, prompt);
    std::cerr << FromCp1252(shown.str()).toLocal8Bit().toStdString() << std::flush;
    return p.ReadError ? 1 : 0;
}

}  // namespace

int PhasesCommand(const std::vector<std::string>& args) {
    const auto o = ParseFileOptions(args);
    if (!o || o->files.size() != 1) {
        if (o) std::cerr << "usage: camctl phases [--model CxS] [--yes] FILE.Cam\n";
        return 2;
    }
    Program p;
    const int status = ReadForCommand(p, *o, o->files[0]);
    if (status != 0) return status;
    for (int s = 1; s <= p.CamPos.sizes(); ++s)
        for (int c = 0; c < p.CamPos.cams(); ++c)
            for (const std::string& entry : PhaseListEntries(p, s, c))
                std::cout << D2(s) << ' ' << D2(c + 1) << ' ' << entry << '\n';
    return 0;
}

int ConvertCommand(const std::vector<std::string>& args) {
    const auto o = ParseFileOptions(args);
    if (!o || o->files.size() != 2) {
        if (o) std::cerr << "usage: camctl convert [--model CxS] [--yes] IN.Cam OUT.Cam\n";
        return 2;
    }
    Program p;
    const int status = ReadForCommand(p, *o, o->files[0]);
    if (status != 0) return status;
    if (const std::string why = WriteCamFile(p, o->files[1]); !why.empty()) {
        std::cerr << "camctl: " << why << '\n';
        return 1;
    }
    return 0;
}

}  // namespace cam::cli
