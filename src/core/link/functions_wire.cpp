#include "core/link/functions_wire.h"

#include "core/camfile/cam_file.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/phase_list.h"

#include <algorithm>
#include <sstream>

namespace cam {

namespace {

int Adv(const Program& p, int i) { return i >= 0 && i < static_cast<int>(p.AdvMs.size()) ? p.AdvMs[i] : 0; }

std::string AdvanceBlock(const Program& p) {
    std::string b = Dec(p.NAdvCams, 2);
    for (int i = 0; i < p.NAdvCams; ++i) b += Hex2(Adv(p, i));
    return b;
}

}  // namespace

std::vector<std::string> FunctionBlocks(const Program& p) {
    std::vector<std::string> blocks;
    const bool oneEncoder = p.NEncoders == 1;
    if (p.NCams == 32) {
        blocks.push_back(Bit(p.AdvOn) + Bit(p.DelayOn) + Bit(p.RatioOn) + Bit(p.Ratio17On));
        if (p.AdvOn & 1) blocks.push_back(AdvanceBlock(p));
        if (p.NEncoders > 1)
            blocks.push_back(Hex2(Adv(p, 16)) + Hex2(Adv(p, 20)) + Hex2(Adv(p, 24)) + Hex2(Adv(p, 28)));
        if (oneEncoder && (p.DelayOn & 1)) blocks.push_back(Hex2(p.Delay17_20) + Hex2(p.Delay21_24));
        if (oneEncoder && (p.RatioOn & 1)) blocks.push_back(Dec(p.Ratio25_32, 2) + Dec(p.Ratio17On, 2));
    } else {
        blocks.push_back(AdvanceBlock(p));
        if (p.NEncoders > 1) blocks.push_back(Hex2(Adv(p, 8)) + Hex2(Adv(p, 12)));
    }
    blocks.push_back(Dec(p.OutSize, 2) + Dec(p.EncShift, 3) + Bit(p.RotDir) + Dec(p.SpeedLimit, 4));
    if (p.NEncoders > 1) blocks.push_back(Dec(p.EncShift2, 3) + Bit(p.RotDir2) + Dec(p.EncShift3, 3) + Bit(p.RotDir3));
    return blocks;
}

std::vector<std::string> SizeBlocks(Program& p, int size) {
    std::vector<std::string> blocks{"F" + Dec(size, 2)};
    for (int c = 0; c < p.NCams; ++c) {
        SizeToText(p, size, c, SizeTextForm::Device);
        for (int k = 0; k <= kDevicePhaseLimit && !p.SizeText[k].empty(); ++k) blocks.push_back(p.SizeText[k]);
    }
    return blocks;
}

std::string Ratio17NotSent(const Program& p) {
    const bool ratioBlockSent = p.NEncoders == 1 && (p.RatioOn & 1);
    if (p.NCams != 32 || !(p.Ratio17On & 1) || ratioBlockSent) return "";
    return Fill(Text(p, txt::kRatio17NotSent), {CStr(p.Ratio25_32)});
}

std::vector<std::string> TransmitLosses(Program& p, int sizes) {
    std::vector<std::string> out;
    for (int c = 0; c < p.NCams; ++c) {
        std::string many, allOn;
        for (int s = 1; s <= sizes; ++s) {
            if (!p.CamPos.contains(s, c)) continue;
            const ChartPhases ph = ChartPhasesOf(p, s, c);
            const int count = static_cast<int>(ph.inner.size()) + (ph.hasEdgePhase() ? 1 : 0);
            if (ph.lead == kPositions)
                allOn += " " + D2(s);
            else if (count > kDevicePhaseLimit)
                many += " " + D2(s) + " (" + std::to_string(count) + ")";
        }
        if (!many.empty()) out.push_back(Fill(Text(p, txt::kPhasesCut), {D2(c + 1), many}));
        // The device takes a cam's remark with its phases of size 1 only.
        const bool remarked = c < static_cast<int>(p.CamRemark.size()) && !TrimBlanks(p.CamRemark[c]).empty();
        const bool sentInSizeOne = p.CamPos.contains(1, c) && [&] {
            const ChartPhases first = ChartPhasesOf(p, 1, c);
            return first.lead != kPositions && (!first.inner.empty() || first.hasEdgePhase());
        }();
        if (remarked && p.CamPos.contains(1, c) && !sentInSizeOne)
            out.push_back(Fill(Text(p, txt::kRemarkNotSent), {D2(c + 1), p.CamRemark[c]}));
        if (!allOn.empty()) out.push_back(Fill(Text(p, txt::kAlwaysOn), {D2(c + 1), allOn}));
    }
    const std::vector<std::string> fields = FitFunctionsToWire(p, false);
    out.insert(out.end(), fields.begin(), fields.end());
    if (const std::string ratio = Ratio17NotSent(p); !ratio.empty()) out.push_back(ratio);
    return out;
}

namespace {

// One value and the range its wire field (and the device) can carry.
template <class T>
void Fit(const Program& p, std::vector<std::string>& notes, bool apply, const std::string& what, T& value, long lowest,
         long highest) {
    const long v = value;
    const long fitted = std::clamp(v, lowest, highest);
    if (fitted == v) return;
    notes.push_back(Fill(Text(p, txt::kDoesNotFit), {what, std::to_string(v), std::to_string(fitted)}));
    if (apply) value = static_cast<T>(fitted);
}

}  // namespace

std::vector<std::string> FitFunctionsToWire(Program& p, bool apply) {
    std::vector<std::string> notes;
    auto fit = [&](BuiltInText what, auto& value, long lowest, long highest, const std::string& which = "") {
        Fit(p, notes, apply, Fill(Text(p, what), {which}), value, lowest, highest);
    };
    auto flag = [&](BuiltInText what, std::uint8_t& value) { fit(what, value, 0, 1); };
    // One turn of the encoder is no shift at all: 1024 goes as 0, which the field carries.
    auto shift = [&](int& value, const char* which) {
        if (value == kPositions) {
            if (apply) value = 0;
            return;
        }
        fit(txt::kShift, value, 0, 999, which);
    };
    flag(txt::kAdvancesSwitch, p.AdvOn);
    flag(txt::kDelaysSwitch, p.DelayOn);
    flag(txt::kRatioSwitch, p.RatioOn);
    flag(txt::kRatio17Switch, p.Ratio17On);
    const bool advancesSent = p.NCams != 32 || (p.AdvOn & 1);
    if (advancesSent) fit(txt::kAdvanceCount, p.NAdvCams, 0, std::min<long>(99, static_cast<long>(p.AdvMs.size())));
    // The advances that go out: the listed ones and, with several encoders, the group ones.
    std::vector<bool> sent(p.AdvMs.size(), false);
    if (advancesSent)
        for (int i = 0; i < p.NAdvCams && i < static_cast<int>(sent.size()); ++i) sent[i] = true;
    if (p.NEncoders > 1)
        for (int i : p.NCams == 32 ? std::vector<int>{16, 20, 24, 28} : std::vector<int>{8, 12})
            if (i < static_cast<int>(sent.size())) sent[i] = true;
    for (std::size_t i = 0; i < sent.size(); ++i)
        if (sent[i]) fit(txt::kAdvanceOfCam, p.AdvMs[i], 0, kMaxAdvanceMs, D2(static_cast<long>(i) + 1));
    if (p.NEncoders == 1) {
        fit(txt::kDelay17, p.Delay17_20, 0, kMaxAdvanceMs);
        fit(txt::kDelay21, p.Delay21_24, 0, kMaxAdvanceMs);
        if (p.NCams == 32) fit(txt::kRatio, p.Ratio25_32, 0, 9);
    }
    fit(txt::kOutSize, p.OutSize, 0, 99);
    shift(p.EncShift, "1");
    fit(txt::kDirection, p.RotDir, 0, 1, "1");
    fit(txt::kSpeedLimit, p.SpeedLimit, 0, 9999);
    if (p.NEncoders > 1) {
        shift(p.EncShift2, "2");
        fit(txt::kDirection, p.RotDir2, 0, 1, "2");
        shift(p.EncShift3, "3");
        fit(txt::kDirection, p.RotDir3, 0, 1, "3");
    }
    return notes;
}

Program ExpectedOnDevice(Program& p, int sizes, int deviceEncoders) {
    Program e = p;
    FitFunctionsToWire(e, true);
    e.NEncoders = deviceEncoders;
    // A 16-cam device has no advances switch: a count turns its advances on.
    if (e.NCams != 32) e.AdvOn = e.NAdvCams > 0 ? 1 : 0;
    // The sizes as the device gets them, read back the way a reception reads them.
    ClearAllSizes(e);
    ClearRemarks(e);
    for (int s = 1; s <= sizes; ++s) {
        const std::vector<std::string> blocks = SizeBlocks(p, s);
        std::string lines;
        for (std::size_t b = 1; b < blocks.size(); ++b) lines += blocks[b] + "\r\n";
        LineSource in(lines);
        if (!ReadSizeBlock(e, s, in)) break;
    }
    return e;
}

std::string HeldText(Program& p, int sizes) {
    std::ostringstream functions;
    WriteFunctions(p, functions);
    std::string text = std::move(functions).str();
    text.erase(0, text.find('\n') + 1);  // the header names the model's size count
    for (int s = 1; s <= sizes; ++s) AppendSize(p, s, text);
    return text;
}

}  // namespace cam
