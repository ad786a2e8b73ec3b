#include "core/exchange/cam_json.h"

#include "core/camfile/functions_block.h"
#include "core/model/text_format.h"
#include "core/editor/phase_list.h"
#include "core/exchange/utf8_text.h"

#include <algorithm>

namespace cam {

std::string JsonString(std::string_view cp1252) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (char c : Cp1252ToUtf8(cp1252)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}

namespace {

std::string Bool(std::uint8_t v) { return v == 1 ? "true" : "false"; }
std::string Num(long v) { return CStr(v); }

std::string Functions(const CamData& p) {
    const int count = std::clamp(p.NAdvCams, 0, static_cast<int>(p.AdvMs.size()));
    std::string advances;
    for (int i = 0; i < count; ++i) advances += (i ? ", " : "") + Num(p.AdvMs[i]);
    std::string groups;
    static const char* const kGroups[4] = {"17-20", "21-24", "25-28", "29-32"};
    const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
    for (int g = 0; g < 4; ++g) {
        const int i = slots.index[g];
        if (i < 0 || i >= static_cast<int>(p.AdvMs.size())) continue;
        groups += std::string(groups.empty() ? "" : ", ") + "\"" + kGroups[g] + "\": " + Num(p.AdvMs[i]);
    }
    std::string out = "  \"functions\": {\n";
    out += "    \"advances\": {\"on\": " + Bool(p.AdvOn) + ", \"ms\": [" + advances + "]},\n";
    out += "    \"group_advances_ms\": {" + groups + "},\n";
    out += "    \"delays\": {\"on\": " + Bool(p.DelayOn) + ", \"17-20\": " + Num(p.Delay17_20) +
           ", \"21-24\": " + Num(p.Delay21_24) + "},\n";
    out += "    \"ratio\": {\"on\": " + Bool(p.RatioOn) + ", \"25-32\": " + Num(p.Ratio25_32) +
           ", \"17-32_on\": " + Bool(p.Ratio17On) + "},\n";
    out += "    \"output_size\": " + Num(p.OutSize) + ",\n";
    out += "    \"encoders\": [{\"shift\": " + Num(p.EncShift) + ", \"direction\": " + Num(p.RotDir) +
           "}, {\"shift\": " + Num(p.EncShift2) + ", \"direction\": " + Num(p.RotDir2) +
           "}, {\"shift\": " + Num(p.EncShift3) + ", \"direction\": " + Num(p.RotDir3) + "}],\n";
    out += "    \"speed_limit\": " + Num(p.SpeedLimit) + "\n  },\n";
    return out;
}

std::string Remark(const CamData& p, int cam) {
    return cam < static_cast<int>(p.CamRemark.size()) ? p.CamRemark[cam] : std::string();
}

std::string Size(const CamData& p, int s, int cams) {
    std::string out = "    {\"size\": " + Num(s) + ", \"cams\": [";
    bool first = true;
    for (int c = 0; c < cams; ++c) {
        const ChartPhases ph = ChartPhasesOf(p, s, c);
        if (!ph.hasEdgePhase() && ph.inner.empty()) continue;
        std::string pairs;
        auto pair = [&](int on, int off) { pairs += (pairs.empty() ? "[" : ", [") + Num(on) + ", " + Num(off) + "]"; };
        if (ph.hasEdgePhase()) pair(ph.trail, ph.lead);
        for (const Phase& inner : ph.inner) pair(inner.on, inner.off);
        out += std::string(first ? "\n" : ",\n") + "      {\"cam\": " + Num(c + 1) +
               ", \"remark\": " + JsonString(Remark(p, c)) + ", \"phases\": [" + pairs + "]}";
        first = false;
    }
    return out + (first ? "]}" : "\n    ]}");
}

}  // namespace

std::string CamJsonText(const CamData& p) {
    const int cams = std::min(p.NCams, p.CamPos.cams());
    std::string out = "{\n  \"format\": \"camdesk program\",\n  \"version\": 1,\n";
    out += "  \"model\": {\"cams\": " + Num(p.NCams) + ", \"sizes\": " + Num(p.NSizes) +
           ", \"encoders\": " + Num(p.NEncoders) + "},\n";
    out += Functions(p);
    out += "  \"remarks\": [";
    for (int c = 0; c < cams; ++c) out += (c ? ", " : "") + JsonString(Remark(p, c));
    out += "],\n  \"sizes\": [\n";
    const int sizes = std::min(p.NSizes, p.CamPos.sizes());
    for (int s = 1; s <= sizes; ++s) out += Size(p, s, cams) + (s < sizes ? ",\n" : "\n");
    out += "  ]\n}\n";
    return out;
}

}  // namespace cam
