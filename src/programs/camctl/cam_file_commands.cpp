// camctl phases / convert: read a cam file as camdesk reads it, then list or rewrite it.
#include "core/camfile/cam_file.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "core/model/scripted_prompt.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/editor/phase_list.h"
#include "qt/cp1252.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace cam::cli {

int PhasesCommand(const ParsedArgs& args) {
    const auto o = FileOptionsOf(args);
    if (!o) return 2;
    Program p;
    const int status = ReadForCommand(p, *o, o->files[0]);
    if (status != 0) return status;
    for (int s = 1; s <= p.CamPos.sizes(); ++s)
        for (int c = 0; c < p.CamPos.cams(); ++c)
            for (const std::string& entry : PhaseListEntries(p, s, c))
                std::cout << D2(s) << ' ' << D2(c + 1) << ' ' << entry << '\n';
    return 0;
}

int ConvertCommand(const ParsedArgs& args) {
    const auto o = FileOptionsOf(args);
    if (!o) return 2;
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
