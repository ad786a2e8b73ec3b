// camctl print: the listing or the chart of one size or of every size, as a PDF, with the
// pages camdesk prints.
#include "camfile/file_commands.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "printing/printout_painter.h"

#include <charconv>
#include <iostream>

namespace cam::cli {

namespace {

constexpr const char* kUsage =
    "usage: camctl print [--model CxS] [--yes] FILE.Cam --pdf OUT.pdf [--size N | --all] [--text | --chart]\n";

struct PrintOptions {
    std::string pdf;
    std::optional<int> size;
    bool all = false;
    std::optional<PrintMode> mode;
    std::vector<std::string> rest;  // for ParseFileOptions
};

// Takes the print options out of args; nullopt (after a line on standard error) when one is
// wrong, missing its value or given twice in contradiction.
std::optional<PrintOptions> ParsePrintOptions(const std::vector<std::string>& args) {
    PrintOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 < args.size()) return args[++i];
            std::cerr << "camctl: " << name << " needs a value\n";
            return std::nullopt;
        };
        auto setMode = [&](PrintMode m) {
            if (o.mode && *o.mode != m) return false;
            o.mode = m;
            return true;
        };
        if (a == "--pdf") {
            const auto v = value("--pdf");
            if (!v || v->empty()) return std::nullopt;
            o.pdf = *v;
        } else if (a == "--size") {
            const auto v = value("--size");
            if (!v) return std::nullopt;
            int n = 0;
            const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), n);
            if (ec != std::errc() || end != v->data() + v->size()) {
                std::cerr << "camctl: bad size '" << *v << "'\n";
                return std::nullopt;
            }
            o.size = n;
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--text" || a == "--chart") {
            if (!setMode(a == "--text" ? PrintMode::Listing : PrintMode::Chart)) {
                std::cerr << "camctl: --text and --chart exclude each other\n";
                return std::nullopt;
            }
        } else {
            o.rest.push_back(a);
        }
    }
    if (o.all && o.size) {
        std::cerr << "camctl: --size and --all exclude each other\n";
        return std::nullopt;
    }
    return o;
}

}  // namespace

int PrintCommand(const std::vector<std::string>& args) {
    const auto po = ParsePrintOptions(args);
    const auto o = po ? ParseFileOptions(po->rest) : std::nullopt;
    if (!po || !o || o->files.size() != 1 || po->pdf.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    Program p;
    const std::string& file = o->files[0];
    if (OutputIsInput("print", file, po->pdf)) return 1;
    if (const int status = ReadForCommand(p, *o, file); status != 0) return status;
    p.CamFileTitle = FileTitle(file);
    const int size = po->size.value_or(1);
    if (size < 1 || size > p.NSizes) {
        std::cerr << "camctl: size " << size << " is outside the sizes 1.." << p.NSizes << " of the model\n" << kUsage;
        return 2;
    }
    std::vector<int> sizes;
    if (po->all)
        for (int n = 1; n <= p.NSizes; ++n) sizes.push_back(n);
    else
        sizes.push_back(size);
    if (const Result written = WriteSizesPdf(p, po->mode.value_or(PrintMode::Listing), sizes, po->pdf); !written) {
        std::cerr << "camctl: " << ConsoleText(written.reason()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace cam::cli
