// The export of a program as a CSV table.
#include "core/exchange/cam_csv.h"

#include "core/camfile/functions_block.h"
#include "core/model/text_format.h"
#include "core/editor/phase_list.h"
#include "core/exchange/csv.h"
#include "core/exchange/utf8_text.h"

#include <algorithm>
#include <cstring>

namespace cam {

namespace {

// A remark as a cam file keeps it: one of blanks only is none.
std::string RemarkOf(const CamData& p, int cam) {
    if (cam >= static_cast<int>(p.CamRemark.size())) return "";
    const std::string& r = p.CamRemark[cam];
    return TrimBlanks(r).empty() ? std::string() : Cp1252ToUtf8(r);
}

bool HasAnyPhase(const CamData& p, int cam) {
    for (int s = 1; s <= p.CamPos.sizes(); ++s)
        if (p.CamPos.contains(s, cam) && std::memchr(p.CamPos.cam(s, cam), 1, kPositions)) return true;
    return false;
}

std::string OnOff(std::uint8_t v) { return v == 1 ? "on" : "off"; }

// The functions block, one row for each value the cam file writes, in the file's order.
void AppendSettings(const CamData& p, std::string& out) {
    using namespace csvname;
    auto row = [&](const std::string& name, const std::string& value) {
        out += CsvRow({"", "", "", "", "", name, value});
    };
    row(kCams, CStr(p.NCams));
    row(kSizes, CStr(p.NSizes));
    row(kEncoders, CStr(p.NEncoders));
    row(kAdvances, OnOff(p.AdvOn));
    if (p.AdvOn == 1) {
        const int count = std::clamp(p.NAdvCams, 0, static_cast<int>(p.AdvMs.size()));
        for (int i = 0; i < count; ++i) row(kAdvanceCam + CStr(i + 1), CStr(p.AdvMs[i]));
    }
    if (p.NEncoders != 1) {
        const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
        for (int g = 0; g < 4; ++g) {
            const int i = slots.index[g];
            row(kGroupAdvance[g], CStr(i >= 0 && i < static_cast<int>(p.AdvMs.size()) ? p.AdvMs[i] : 0));
        }
        row(kShift[1], CStr(p.EncShift2));
        row(kDirection[1], CStr(p.RotDir2));
        if (p.NEncoders == 3) {
            row(kShift[2], CStr(p.EncShift3));
            row(kDirection[2], CStr(p.RotDir3));
        }
    } else {
        row(kDelays, OnOff(p.DelayOn));
        if (p.DelayOn == 1) {
            row(kDelay17, CStr(p.Delay17_20));
            row(kDelay21, CStr(p.Delay21_24));
        }
        row(kRatio, OnOff(p.RatioOn));
        if (p.RatioOn == 1) row(kRatio25, CStr(p.Ratio25_32));
    }
    row(kOutSize, CStr(p.OutSize));
    row(kShift[0], CStr(p.EncShift));
    row(kDirection[0], CStr(p.RotDir));
    row(kSpeedLimit, CStr(p.SpeedLimit));
}

bool StartsAFormula(const std::string& text) {
    const std::size_t first = text.find_first_not_of('\'');
    return first != std::string::npos && std::string_view("=+-@\t\r").find(text[first]) != std::string_view::npos;
}

}  // namespace

std::string RemarkForSheet(const std::string& remark) { return StartsAFormula(remark) ? "'" + remark : remark; }

std::string RemarkFromSheet(const std::string& field) {
    return !field.empty() && field[0] == '\'' && StartsAFormula(field) ? field.substr(1) : field;
}

std::string CamCsvText(const CamData& p) {
    std::string out = CsvRow({"size", "cam", "remark", "on", "off", "setting", "value"});
    const int cams = std::min(p.NCams, p.CamPos.cams());
    std::vector<std::string> remarks(cams);
    std::vector<bool> phaseless(cams);
    for (int c = 0; c < cams; ++c) {
        remarks[c] = RemarkForSheet(RemarkOf(p, c));
        phaseless[c] = !HasAnyPhase(p, c);
    }
    for (int s = 1; s <= std::min(p.NSizes, p.CamPos.sizes()); ++s)
        for (int c = 0; c < cams; ++c) {
            const std::string size = CStr(s), cam = CStr(c + 1);
            // As in a cam file, the remark of a cam without phases has its place in size 1.
            auto row = [&](const std::string& on, const std::string& off) {
                out += CsvRow({size, cam, remarks[c], on, off, "", ""});
            };
            if (s == 1 && phaseless[c] && !remarks[c].empty()) row("", "");
            const ChartPhases phases = ChartPhasesOf(p, s, c);
            if (phases.hasEdgePhase()) row(CStr(phases.trail), CStr(phases.lead));
            for (const Phase& ph : phases.inner) row(CStr(ph.on), CStr(ph.off));
        }
    AppendSettings(p, out);
    return out;
}

}  // namespace cam
