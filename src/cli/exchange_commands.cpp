// camctl export / import: a cam file as a CSV table or as JSON for other tools, and a CSV table
// back into a cam file.
#include "camfile/atomic_write.h"
#include "camfile/cam_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "core/file_io.h"
#include "exchange/cam_csv.h"
#include "exchange/cam_json.h"

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
    if (const int status = ReadForCommand(p, *o, o->files[0]); status != 0) return status;
    const std::string text = args.has("csv") ? CamCsvText(p) : CamJsonText(p);
    const std::string& out = o->files[1];
    if (out == "-") {
        std::cout << text << std::flush;
        return std::cout ? 0 : 1;
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
    if (CheckReadable(in) != 0) return 1;
    const std::optional<std::string> bytes = ReadFileBytes(in);
    if (!bytes) {
        std::cerr << "camctl import: " << in << ": cannot be read\n";
        return 1;
    }
    Program p;
    LoadDefaultTexts(p);
    std::optional<ModelCounts> model;
    if (o->cams) model = ModelCounts{*o->cams, *o->sizes};
    const CsvImport r = ImportCamCsv(p, *bytes, model);
    for (const std::string& refusal : r.refusals) std::cerr << ConsoleText(refusal) << '\n';
    if (!r.ok()) {
        std::cerr << "camctl import: " << r.refusals.size() << (r.refusals.size() == 1 ? " row" : " rows")
                  << " refused; nothing was written\n";
        return 1;
    }
    for (const std::string& note : r.notes) std::cerr << ConsoleText(note) << '\n';
    if (const Result written = WriteCamFile(p, out); !written) {
        std::cerr << "camctl import: " << out << ": " << written.reason() << '\n';
        return 1;
    }
    std::cout << "imported " << r.phases << (r.phases == 1 ? " phase" : " phases") << " (" << p.NCams << " cams, "
              << p.NSizes << " sizes) from " << in << " into " << out << '\n';
    return 0;
}

}  // namespace cam::cli
