#include "core/compare/program_diff.h"

#include "core/camfile/cam_file.h"
#include "core/camfile/functions_block.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/phase_list.h"
#include "core/link/functions_wire.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <optional>

namespace cam {

namespace {

struct Listed {
    int on, off;
    int order;  // chart order: the phase through position 0 first, then by ON
};

std::vector<Listed> ListedPhases(const std::uint8_t* pos) {
    std::vector<Listed> out;
    if (!pos) return out;
    const ChartPhases ph = ChartPhasesOf(pos);
    if (ph.hasEdgePhase()) out.push_back({ph.trail, ph.lead, -1});
    for (const Phase& inner : ph.inner) out.push_back({inner.on, inner.off, inner.on});
    return out;
}

// Calls f for every position of the phase, from its ON onwards; f returns false to stop.
template <class F>
void ForEachPosition(const Listed& ph, F f) {
    const int end = ph.on < ph.off ? ph.off : kPositions + ph.off;
    for (int q = ph.on; q < end; ++q)
        if (!f(q % kPositions)) return;
}

}  // namespace

std::vector<PhaseChange> ComparePhases(const std::uint8_t* a, const std::uint8_t* b) {
    const std::vector<Listed> la = ListedPhases(a), lb = ListedPhases(b);
    std::vector<int> pairOfA(la.size(), -1), pairOfB(lb.size(), -1);
    std::vector<bool> sameA(la.size(), false), sameB(lb.size(), false);
    // Phases that are in both, as they are. Both lists are in chart order, which no two
    // phases of one cam share.
    for (std::size_t i = 0, j = 0; i < la.size() && j < lb.size();) {
        if (la[i].order < lb[j].order) {
            ++i;
        } else if (lb[j].order < la[i].order) {
            ++j;
        } else {
            sameA[i] = sameB[j] = la[i].on == lb[j].on && la[i].off == lb[j].off;
            ++i, ++j;
        }
    }
    // A phase of A and one of B that share a position are one phase changed.
    std::array<int, kPositions> ownerB;
    ownerB.fill(-1);
    for (std::size_t j = 0; j < lb.size(); ++j)
        if (!sameB[j])
            ForEachPosition(lb[j], [&](int q) {
                ownerB[q] = static_cast<int>(j);
                return true;
            });
    for (std::size_t i = 0; i < la.size(); ++i) {
        if (sameA[i]) continue;
        ForEachPosition(la[i], [&](int q) {
            const int j = ownerB[q];
            if (j < 0 || pairOfB[j] >= 0) return true;
            pairOfA[i] = j;
            pairOfB[j] = static_cast<int>(i);
            return false;
        });
    }
    std::vector<std::pair<int, PhaseChange>> changes;  // chart order, change
    for (std::size_t i = 0; i < la.size(); ++i) {
        if (sameA[i]) continue;
        if (pairOfA[i] < 0) {
            changes.push_back({la[i].order, {PhaseChange::OnlyInA, la[i].on, la[i].off, 0, 0}});
        } else {
            const Listed& other = lb[pairOfA[i]];
            changes.push_back({la[i].order, {PhaseChange::Changed, la[i].on, la[i].off, other.on, other.off}});
        }
    }
    for (std::size_t j = 0; j < lb.size(); ++j)
        if (!sameB[j] && pairOfB[j] < 0)
            changes.push_back({lb[j].order, {PhaseChange::OnlyInB, 0, 0, lb[j].on, lb[j].off}});
    std::stable_sort(changes.begin(), changes.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<PhaseChange> out;
    for (auto& c : changes) out.push_back(c.second);
    return out;
}

namespace {

struct Options {
    bool ratio17 = false;  // the ratio 17-32 switch counts (a device holds it, a cam file does not)
    int encodersOfA = -1;  // the encoder count shown for A when it is not the one compared
};

// One value of the functions block as a cam file keeps it, with its place in the file's order.
struct Field {
    std::string label;
    int cam = -1;
    std::string value;
};
using Fields = std::map<int, Field>;

Fields FunctionFields(const Program& p, const Program& t, bool ratio17) {
    Fields f;
    const std::string on = Text(t, txt::kDiffOn), off = Text(t, txt::kDiffOff);
    auto sw = [&](std::uint8_t v) { return v == 1 ? on : off; };
    auto advance = [&](int i) { return i < static_cast<int>(p.AdvMs.size()) ? CStr(p.AdvMs[i]) : CStr(0); };
    f[200] = {Text(t, txt::kAdvancesSwitch), -1, sw(p.AdvOn)};
    if (p.AdvOn == 1) {
        const int count = std::clamp(p.NAdvCams, 0, static_cast<int>(p.AdvMs.size()));
        f[201] = {Text(t, txt::kAdvanceCount), -1, CStr(count)};
        for (int i = 0; i < count; ++i) f[300 + i] = {Fill(Text(t, txt::kAdvanceOfCam), {D2(i + 1)}), i, advance(i)};
    }
    if (p.NEncoders != 1) {
        static const char* const kGroups[4] = {"17-20", "21-24", "25-28", "29-32"};
        const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
        for (int g = 0; g < 4; ++g)
            if (slots.index[g] >= 0)
                f[400 + g] = {Fill(Text(t, txt::kAdvanceOfCam), {kGroups[g]}), -1, advance(slots.index[g])};
        f[450] = {Fill(Text(t, txt::kShift), {"2"}), -1, CStr(p.EncShift2)};
        f[451] = {Fill(Text(t, txt::kDirection), {"2"}), -1, CStr(p.RotDir2)};
        if (p.NEncoders == 3) {
            f[452] = {Fill(Text(t, txt::kShift), {"3"}), -1, CStr(p.EncShift3)};
            f[453] = {Fill(Text(t, txt::kDirection), {"3"}), -1, CStr(p.RotDir3)};
        }
    } else {
        f[500] = {Text(t, txt::kDelaysSwitch), -1, sw(p.DelayOn)};
        if (p.DelayOn == 1) {
            f[501] = {Text(t, txt::kDelay17), -1, CStr(p.Delay17_20)};
            f[502] = {Text(t, txt::kDelay21), -1, CStr(p.Delay21_24)};
        }
        f[600] = {Text(t, txt::kRatioSwitch), -1, sw(p.RatioOn)};
        if (p.RatioOn == 1) f[601] = {Text(t, txt::kRatio), -1, CStr(p.Ratio25_32)};
        if (ratio17) f[602] = {Text(t, txt::kRatio17Switch), -1, sw(p.Ratio17On)};
    }
    f[700] = {Text(t, txt::kOutSize), -1, CStr(p.OutSize)};
    f[800] = {Fill(Text(t, txt::kShift), {"1"}), -1, CStr(p.EncShift)};
    f[801] = {Fill(Text(t, txt::kDirection), {"1"}), -1, CStr(p.RotDir)};
    f[900] = {Text(t, txt::kSpeedLimit), -1, CStr(p.SpeedLimit)};
    return f;
}

// A remark as a file keeps it: one of blanks only is no remark.
std::string RemarkOf(const Program& p, int cam) {
    if (cam >= p.NCams || cam >= static_cast<int>(p.CamRemark.size())) return "";
    const std::string& r = p.CamRemark[cam];
    return TrimBlanks(r).empty() ? std::string() : r;
}

class Differ {
public:
    Differ(const Program& a, const Program& b, const Program& t, const CompareNames& n)
        : a_(a), b_(b), t_(t), n_(n), none_(Text(t, txt::kDiffNone)) {}

    void value(const std::string& what, const std::optional<std::string>& va, const std::optional<std::string>& vb,
               int cam = -1) {
        if (va == vb) return;
        out.push_back(
            {0, cam, Fill(Text(t_, txt::kDiffValue), {what, va.value_or(none_), n_.a, vb.value_or(none_), n_.b})});
    }

    void model(const Options& o) {
        value(Text(t_, txt::kDiffCams), CStr(a_.NCams), CStr(b_.NCams));
        value(Text(t_, txt::kDiffSizes), CStr(a_.NSizes), CStr(b_.NSizes));
        value(Text(t_, txt::kDiffEncoders), CStr(o.encodersOfA >= 0 ? o.encodersOfA : a_.NEncoders),
              CStr(b_.NEncoders));
    }

    void functions(const Options& o) {
        const Fields fa = FunctionFields(a_, t_, o.ratio17), fb = FunctionFields(b_, t_, o.ratio17);
        std::map<int, bool> keys;
        for (const auto& [k, v] : fa) keys[k] = true;
        for (const auto& [k, v] : fb) keys[k] = true;
        for (const auto& [k, unused] : keys) {
            const auto ia = fa.find(k), ib = fb.find(k);
            const Field& any = ia != fa.end() ? ia->second : ib->second;
            value(any.label, ia != fa.end() ? std::optional(ia->second.value) : std::nullopt,
                  ib != fb.end() ? std::optional(ib->second.value) : std::nullopt, any.cam);
        }
    }

    void remarks() {
        for (int c = 0; c < std::max(a_.NCams, b_.NCams); ++c) {
            const std::string ra = RemarkOf(a_, c), rb = RemarkOf(b_, c);
            auto shown = [&](const std::string& r) { return r.empty() ? none_ : '"' + r + '"'; };
            if (ra != rb) value(Fill(Text(t_, txt::kDiffRemark), {CStr(c + 1)}), shown(ra), shown(rb), c);
        }
    }

    void sizes() {
        for (int s = 1; s <= std::max(a_.NSizes, b_.NSizes); ++s)
            for (int c = 0; c < std::max(a_.NCams, b_.NCams); ++c) {
                const std::uint8_t* pa = a_.CamPos.contains(s, c) ? a_.CamPos.cam(s, c) : nullptr;
                const std::uint8_t* pb = b_.CamPos.contains(s, c) ? b_.CamPos.cam(s, c) : nullptr;
                if (!pa && !pb) continue;
                if (pa && pb && std::memcmp(pa, pb, kPositions) == 0) continue;
                for (const PhaseChange& ch : ComparePhases(pa, pb)) out.push_back({s, c, phaseText(s, c, ch)});
            }
    }

    std::vector<ProgramDifference> out;

private:
    std::string phaseText(int s, int c, const PhaseChange& ch) const {
        const std::string size = CStr(s), cam = CStr(c + 1);
        switch (ch.kind) {
            case PhaseChange::OnlyInA:
                return Fill(Text(t_, txt::kDiffPhaseOnlyIn), {size, cam, D4(ch.aOn), D4(ch.aOff), n_.a});
            case PhaseChange::OnlyInB:
                return Fill(Text(t_, txt::kDiffPhaseOnlyIn), {size, cam, D4(ch.bOn), D4(ch.bOff), n_.b});
            case PhaseChange::Changed:
                break;
        }
        return Fill(Text(t_, txt::kDiffPhaseChanged),
                    {size, cam, D4(ch.aOn), D4(ch.aOff), n_.a, D4(ch.bOn), D4(ch.bOff), n_.b});
    }

    const Program& a_;
    const Program& b_;
    const Program& t_;
    const CompareNames& n_;
    std::string none_;
};

std::vector<ProgramDifference> Compare(const Program& a, const Program& b, const Program& texts,
                                       const CompareNames& names, const Options& o) {
    Differ c(a, b, texts, names);
    c.model(o);
    c.functions(o);
    c.remarks();
    c.sizes();
    return std::move(c.out);
}

}  // namespace

std::vector<ProgramDifference> ComparePrograms(const Program& a, const Program& b, const Program& texts,
                                               const CompareNames& names) {
    return Compare(a, b, texts, names, {});
}

Comparison CompareWithDevice(const Program& tables, const Program& device, const CompareNames& names) {
    Comparison r;
    r.names = names;
    if (tables.NCams != device.NCams) {
        // Nothing of the tables would go to such a device: they are compared as they are.
        r.differences = Compare(tables, device, tables, names, {});
        return r;
    }
    Program t = tables;
    const int sizes = std::min(t.NSizes, device.NSizes);
    r.notes = TransmitLosses(t, sizes);
    const Program expected = ExpectedOnDevice(t, sizes, device.NEncoders);
    Options o;
    o.ratio17 = true;
    o.encodersOfA = tables.NEncoders != 0 ? tables.NEncoders : device.NEncoders;
    r.differences = Compare(expected, device, tables, names, o);
    return r;
}

std::optional<Program> ReadProgramToCompare(const Program& texts, const std::string& path, Prompt& prompt) {
    Program b;
    b.LngTxt = texts.LngTxt;
    b.Model() = texts.Model();
    if (const auto model = HeaderModel(path)) {
        b.NCams = model->NCams;
        b.NSizes = model->NSizes;
    }
    ResizeTables(b);
    ClearAll(b);
    switch (ReadCamFile(b, path, prompt)) {
        case CamFileRead::NoFile:
            prompt.message(Text(b, txt::kFileNotFound) + ":\r" + path, "", Buttons::Ok, Icon::Exclamation);
            return std::nullopt;
        case CamFileRead::Failed:
            return std::nullopt;
        case CamFileRead::Complete:
        case CamFileRead::StoppedEarly:
            break;
    }
    if (b.ReadError) return std::nullopt;
    return b;
}

}  // namespace cam
