// camctl print: the listing or the chart of one size or of every size, as a PDF, with the
// pages camdesk prints.
#include "core/camfile/file_commands.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/console_view.h"
#include "paint/printout_painter.h"

#include <charconv>
#include <iostream>

namespace cam::cli {

namespace {

struct PrintOptions {
    std::optional<int> size;
    bool all = false;
    PrintMode mode = PrintMode::Listing;
};

// --size, --all, --text and --chart; nullopt (after a line on standard error) when they
// contradict each other or the size is no number.
std::optional<PrintOptions> PrintOptionsOf(const ParsedArgs& args) {
    PrintOptions o;
    o.all = args.has("all");
    if (args.has("text") && args.has("chart")) {
        std::cerr << "camctl print: --text and --chart exclude each other\n";
        return std::nullopt;
    }
    if (args.has("chart")) o.mode = PrintMode::Chart;
    if (args.has("size")) {
        const std::string v = args.value("size");
        int n = 0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec != std::errc() || end != v.data() + v.size()) {
            std::cerr << "camctl print: bad size '" << v << "'\n";
            return std::nullopt;
        }
        o.size = n;
    }
    if (o.all && o.size) {
        std::cerr << "camctl print: --size and --all exclude each other\n";
        return std::nullopt;
    }
    return o;
}

}  // namespace

int PrintCommand(const ParsedArgs& args) {
    const auto po = PrintOptionsOf(args);
    const auto o = po ? FileOptionsOf(args) : std::nullopt;
    if (!o) return 2;
    const std::string pdf = args.value("pdf");
    Program p;
    const std::string& file = o->files[0];
    if (OutputIsInput("print", file, pdf)) return 1;
    if (const int status = ReadForCommand(p, *o, file); status != 0) return status;
    p.CamFileTitle = FileTitle(file);
    const int size = po->size.value_or(1);
    if (size < 1 || size > p.NSizes) {
        std::cerr << "camctl print: size " << size << " is outside the sizes 1.." << p.NSizes << " of the model\n";
        return 2;
    }
    std::vector<int> sizes;
    if (po->all)
        for (int n = 1; n <= p.NSizes; ++n) sizes.push_back(n);
    else
        sizes.push_back(size);
    ConsoleBar bar;
    int drawnPercent = -1;
    const auto progress = [&](int done, int total) {
        if (const int percent = done * 100 / total; percent != drawnPercent) {
            drawnPercent = percent;
            bar.draw("PRINT", percent, std::to_string(done) + " of " + std::to_string(total) + " pages");
        }
        return true;
    };
    const Result written = WriteSizesPdf(p, po->mode, sizes, pdf, progress);
    bar.end();
    if (!written) {
        std::cerr << "camctl: " << ConsoleText(written.reason()) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace cam::cli
