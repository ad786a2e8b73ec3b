#include "core/printing/size_listing.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/phase_list.h"

#include <algorithm>

namespace cam {

std::string PrintHeaderLine(const Program& p, int size) {
    return Text(p, txt::kProgrammerTitle) + "1024" + " " + CStr(p.NCams) + "    " + " FORMATO N. " + D2(size) +
           std::string(20, ' ') + "File:" + p.CamFileTitle;
}

std::string ContinuedHeaderLine(const Program& p, int size, int page) {
    return PrintHeaderLine(p, size) + "   - " + CStr(page) + " -";
}

std::string ListingCamLine(const Program& p, int cam) {
    std::string line = "C " + D2(cam + 1);
    const std::string remark = cam < static_cast<int>(p.CamRemark.size()) ? p.CamRemark[cam] : std::string();
    // Quoted, so that a remark's own blanks stay visible on paper.
    if (!remark.empty()) line += "  \"" + remark + "\"";
    return line;
}

namespace {

std::vector<Phase> PhasesInChartOrder(const Program& p, int size, int cam) {
    const ChartPhases ph = ChartPhasesOf(p, size, cam);
    std::vector<Phase> out;
    if (ph.hasEdgePhase()) out.push_back({ph.trail, ph.lead});
    out.insert(out.end(), ph.inner.begin(), ph.inner.end());
    return out;
}

}  // namespace

std::vector<std::string> ListingPhaseLines(const Program& p, int size, int cam, const TextWidth& width, double margin) {
    std::vector<std::string> lines;
    for (const Phase& ph : PhasesInChartOrder(p, size, cam)) {
        const std::string phase = D4(ph.on) + " " + D4(ph.off);
        // A phase that would pass the margin starts the next line; a line always takes one.
        if (!lines.empty() && width(lines.back() + " - " + phase) <= margin)
            lines.back() += " - " + phase;
        else
            lines.push_back("   " + phase);
    }
    return lines;
}

std::vector<ListingLine> ListingLines(const Program& p, int size, const TextWidth& width, double margin) {
    std::vector<ListingLine> out;
    if (size < 1 || size > p.CamPos.sizes()) return out;
    out.push_back({"", false});
    out.push_back({PrintHeaderLine(p, size), true});
    for (int c = 0; c < std::min(p.NCams, p.CamPos.cams()); ++c) {
        out.push_back({ListingCamLine(p, c), false});
        for (std::string& line : ListingPhaseLines(p, size, c, width, margin)) out.push_back({std::move(line), false});
    }
    return out;
}

}  // namespace cam
