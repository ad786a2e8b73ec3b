// camctl export / import: a cam file as a CSV table or as JSON for other tools, and a CSV table
// back into a cam file.
#include "core/camfile/atomic_write.h"
#include "core/camfile/cam_file.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/exchange/cam_csv.h"
#include "core/exchange/cam_json.h"

#include <iostream>

namespace cam::cli {

int ExportCommand(const ParsedArgs& args) {
    const auto o = FileOptionsOf(args);
    if (!o) return 2;
    if (args.has("csv") == args.has("json")) {
        std::cerr << "camctl export: give one of --csv or --json\n";
        return 2;
    }
    Program p;
    if (OutputIsInput("export", o->files[0], o->files[1])) return 1;
    if (const int status = ReadForCommand(p, *o, o->files[0]); status != 0) return status;
    const std::string text = args.has("csv") ? CamCsvText(p) : CamJsonText(p);
    const std::string& out = o->files[1];
    if (out == "-") {
        std::cout << text;  // a failed write is told when the command ends
        return 0;
    }
    if (const Result written = WriteFileDurably(out, text); !written) {
        std::cerr << "camctl export: " << out << ": " << written.reason() << '\n';
        return 1;
    }
    return 0;
}

int ImportCommand(const ParsedArgs& args) {
    const auto o = FileOptionsOf(args);
    if (!o) return 2;
    const std::string& in = o->files[0];
    const std::string& out = o->files[1];
    if (OutputIsInput("import", in, out)) return 1;
    const FileBytes file = ReadFileBytes(in, kMaxCsvBytes);
    if (!file.ok()) {
        std::cerr << "camctl import: " << file.read.reason() << '\n';
        return 1;
    }
    Program p;
    LoadDefaultTexts(p);
    std::optional<ModelCounts> model;
    if (o->cams) model = ModelCounts{*o->cams, *o->sizes};
    const CsvImport r = ImportCamCsv(p, file.bytes, model);
    auto list = [&](const std::vector<std::string>& lines, std::size_t unlisted) {
        for (const std::string& line : lines) std::cerr << ConsoleText(line) << '\n';
        if (unlisted > 0)
            std::cerr << ConsoleText(Fill(Text(p, txt::kCsvMore), {CStr(static_cast<long>(unlisted))})) << '\n';
    };
    list(r.refusals, r.unlistedRefusals);
    if (!r.ok()) {
        const std::size_t refused = r.refusals.size() + r.unlistedRefusals;
        std::cerr << "camctl import: " << refused << (refused == 1 ? " row" : " rows")
                  << " refused; nothing was written\n";
        return 1;
    }
    list(r.notes, r.unlistedNotes);
    if (const Result written = WriteCamFile(p, out); !written) {
        std::cerr << "camctl import: " << out << ": " << written.reason() << '\n';
        return 1;
    }
    std::cout << "imported " << r.phases << (r.phases == 1 ? " phase" : " phases") << " (" << p.NCams << " cams, "
              << p.NSizes << " sizes) from " << in << " into " << out << '\n';
    return 0;
}

}  // namespace cam::cli
