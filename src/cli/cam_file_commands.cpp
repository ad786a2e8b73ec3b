// camctl phases / convert: read a cam file as camdesk reads it, then list or rewrite it.
#include "camfile/cam_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "core/scripted_prompt.h"
#include "core/text_format.h"
#include "core/text_lines.h"
#include "editor/phase_list.h"
#include "qt/cp1252.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace cam::cli {

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
    if (const Result written = WriteCamFile(p, o->files[1]); !written) {
        std::cerr << "camctl: " << written.reason() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace cam::cli
