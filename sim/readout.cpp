#include "readout.h"

#include <cstdio>

namespace camsim {

namespace {

// v in the given number of upper-case hexadecimal or decimal digits, leading zeros kept.
std::string Hex(int v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, static_cast<unsigned>(v));
    return buf;
}

std::string Dec(int v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", digits, v);
    return buf;
}

std::string AdvancesLine(const Functions& f) {
    std::string b = Hex(static_cast<int>(f.advances.size()), 2);
    for (int a : f.advances) b += Hex(a, 2);
    return b;
}

}  // namespace

std::vector<std::string> Readout(const Model& model, const DeviceMemory& mem) {
    const Functions& f = mem.functions;
    const bool one = model.encoders <= 1;
    std::vector<std::string> lines;
    // The cam count stands right before the first "-".
    lines.push_back("FUNZIONI " + Dec(model.cams, 2) + "-" + Dec(model.sizes, 2));
    if (model.cams == 32) {
        // Line A: the advance switch, then the other switches (one encoder) or the group advances.
        std::string a = Hex(f.advOn, 2);
        if (one) {
            a += Hex(f.delayOn, 2) + Hex(f.ratioOn, 2) + Hex(f.ratio17On, 2);
        } else {
            for (int g : f.group) a += Hex(g, 2);
        }
        lines.push_back(a);
        if (f.advOn) lines.push_back(AdvancesLine(f));                                       // B
        if (one && f.delayOn) lines.push_back(Hex(f.delay17_20, 2) + Hex(f.delay21_24, 2));  // C
        if (one && f.ratioOn) lines.push_back(Dec(f.ratio25_32, 2) + Dec(f.ratio17On, 2));   // D
    } else {
        lines.push_back(AdvancesLine(f));  // B: a 16-cam device always sends its advances
    }
    // Line E: output size, then shift and direction of each encoder and the speed limit.
    std::string e = Dec(f.outSize, 2) + Hex(f.shift[0], 4) + Hex(f.dir[0], 2) + Hex(f.speedLimit, 4);
    if (!one) e += Hex(f.shift[1], 4) + Hex(f.dir[1], 2) + Hex(f.shift[2], 4) + Hex(f.dir[2], 2);
    lines.push_back(e);

    for (std::size_t s = 0; s < mem.sizes.size(); ++s) {
        lines.push_back(" FORMATO N. " + Dec(static_cast<int>(s + 1), 2));
        for (const CamProgram& c : mem.sizes[s]) {
            lines.push_back("C " + Dec(c.cam, 2) + (c.hasRemark ? "\"" + c.remark + "\"" : ""));
            for (auto [on, off] : c.phases) lines.push_back(" " + Dec(on, 4) + " " + Dec(off, 4));
        }
    }
    lines.push_back("END");
    return lines;
}

std::vector<std::string> MessageReadout(const DeviceMemory& mem) {
    std::vector<std::string> lines;
    for (std::size_t n = 0; n < mem.messages.size(); ++n)
        lines.push_back("N " + Dec(static_cast<int>(n + 1), 3) + "\"" + mem.messages[n] + "\"");
    lines.push_back("END");
    return lines;
}

}  // namespace camsim
