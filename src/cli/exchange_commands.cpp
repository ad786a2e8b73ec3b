// camctl export / import: a cam file as a CSV table or as JSON for other tools, and a CSV table
// back into a cam file.
#include "camfile/atomic_write.h"
#include "camfile/cam_file.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "core/file_io.h"
#include "core/text_format.h"
#include "core/texts.h"
#include "exchange/cam_csv.h"
#include "exchange/cam_json.h"

#include <iostream>

namespace cam::cli {

namespace {

// Takes the format options out of args: the ones named in formats, at most one of them.
std::optional<std::string> TakeFormat(std::vector<std::string>& args, std::initializer_list<const char*> formats) {
    std::optional<std::string> format;
    std::vector<std::string> rest;
    for (const std::string& a : args) {
        bool taken = false;
        for (const char* f : formats)
            if (a == f) {
                if (format && *format != a) return std::nullopt;
                format = a;
                taken = true;
            }
        if (!taken) rest.push_back(a);
    }
    args = rest;
    return format;
}

}  // namespace

int ExportCommand(const std::vector<std::string>& arguments) {
    const char* usage = "usage: camctl export (--csv | --json) [--model CxS] [--yes] FILE.Cam OUT\n";
    std::vector<std::string> args = arguments;
    const auto format = TakeFormat(args, {"--csv", "--json"});
    const auto o = ParseFileOptions(args);
    if (!o || !format || o->files.size() != 2) {
        if (o) std::cerr << usage;
        return 2;
    }
    Program p;
    if (OutputIsInput("export", o->files[0], o->files[1])) return 1;
    if (const int status = ReadForCommand(p, *o, o->files[0]); status != 0) return status;
    const std::string text = *format == "--csv" ? CamCsvText(p) : CamJsonText(p);
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

int ImportCommand(const std::vector<std::string>& arguments) {
    const char* usage = "usage: camctl import --csv [--model CxS] IN.csv OUT.Cam\n";
    std::vector<std::string> args = arguments;
    const auto format = TakeFormat(args, {"--csv"});
    const auto o = ParseFileOptions(args);
    if (!o || !format || o->files.size() != 2 || o->yes) {
        if (o) std::cerr << usage;
        return 2;
    }
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
