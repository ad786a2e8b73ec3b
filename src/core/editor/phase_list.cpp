#include "core/editor/phase_list.h"

#include "core/model/text_format.h"

namespace cam {

ChartPhases ChartPhasesOf(const std::uint8_t* pos) {
    ChartPhases r;
    if (pos[0]) {
        r.lead = kPositions;
        for (int q = 0; q < kPositions; ++q)
            if (!pos[q]) {
                r.lead = q;
                break;
            }
    }
    if (pos[kPositions - 1]) {
        int q = kPositions - 1;
        while (q >= 0 && pos[q]) --q;
        r.trail = q + 1;
    }
    const int end = r.trail != 0 ? r.trail : kPositions - 1;
    bool on = false;
    int start = 0;
    for (int q = r.lead + 1; q <= end - 1; ++q) {
        if (!on && pos[q]) {
            on = true;
            start = q;
        } else if (on && !pos[q]) {
            on = false;
            r.inner.push_back({start, q});
        }
    }
    if (on) r.inner.push_back({start, end});
    return r;
}

ChartPhases ChartPhasesOf(const CamData& p, int size, int cam) {
    if (!p.CamPos.contains(size, cam)) return {};
    return ChartPhasesOf(p.CamPos.cam(size, cam));
}

std::string PhaseListEntry(int number, int on, int off) { return "F" + D3(number) + " " + D4(on) + " " + D4(off); }

std::vector<std::string> PhaseListEntries(const ChartPhases& phases) {
    std::vector<std::string> out;
    if (phases.hasEdgePhase()) out.push_back(PhaseListEntry(1, phases.trail, phases.lead));
    for (const Phase& ph : phases.inner) out.push_back(PhaseListEntry(static_cast<int>(out.size()) + 1, ph.on, ph.off));
    return out;
}

std::vector<std::string> PhaseListEntries(const CamData& p, int size, int cam) {
    return PhaseListEntries(ChartPhasesOf(p, size, cam));
}

}  // namespace cam
