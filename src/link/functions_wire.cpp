#include "link/functions_wire.h"

#include "camfile/cam_file.h"
#include "core/text_format.h"
#include "editor/phase_list.h"

#include <algorithm>

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
        if (p.NEncoders > 1) blocks.push_back(Hex2(Adv(p, 16)) + Hex2(Adv(p, 20)) + Hex2(Adv(p, 24)) + Hex2(Adv(p, 28)));
        if (oneEncoder && (p.DelayOn & 1)) blocks.push_back(Hex2(p.Delay17_20) + Hex2(p.Delay21_24));
        if (oneEncoder && (p.RatioOn & 1)) blocks.push_back(Dec(p.Ratio25_32, 2) + Dec(p.Ratio17On, 2));
    } else {
        blocks.push_back(AdvanceBlock(p));
        if (p.NEncoders > 1) blocks.push_back(Hex2(Adv(p, 8)) + Hex2(Adv(p, 12)));
    }
    blocks.push_back(Dec(p.OutSize, 2) + Dec(p.EncShift, 3) + Bit(p.RotDir) + Dec(p.SpeedLimit, 4));
    if (p.NEncoders > 1)
        blocks.push_back(Dec(p.EncShift2, 3) + Bit(p.RotDir2) + Dec(p.EncShift3, 3) + Bit(p.RotDir3));
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

std::vector<std::string> TransmitLosses(Program& p, int sizes) {
    std::vector<std::string> out;
    for (int c = 0; c < p.NCams; ++c) {
        std::string many, allOn;
        for (int s = 1; s <= sizes; ++s) {
            if (!p.CamPos.contains(s, c)) continue;
            const ChartPhases ph = ChartPhasesOf(p, s, c);
            const int count = static_cast<int>(ph.inner.size()) + (ph.hasEdgePhase() ? 1 : 0);
            if (ph.lead == kPositions) allOn += " " + D2(s);
            else if (count > kDevicePhaseLimit) many += " " + D2(s) + " (" + std::to_string(count) + ")";
        }
        if (!many.empty())
            out.push_back("Cam " + D2(c + 1) + ": only the first 181 phases are sent in size" + many);
        // The device takes a cam's remark with its phases of size 1 only.
        const bool remarked = c < static_cast<int>(p.CamRemark.size()) && !TrimBlanks(p.CamRemark[c]).empty();
        if (remarked && p.CamPos.contains(1, c) && ChartPhasesOf(p, 1, c).inner.empty() &&
            !ChartPhasesOf(p, 1, c).hasEdgePhase())
            out.push_back("Cam " + D2(c + 1) + ": no phase in size 1, its remark \"" + p.CamRemark[c] + "\" is not sent");
        if (!allOn.empty())
            out.push_back("Cam " + D2(c + 1) + ": always ON, sent without phases in size" + allOn);
    }
    auto field = [&](const char* what, long value, long widest) {
        if (value > widest || value < 0)
            out.push_back(std::string(what) + " " + std::to_string(value) + " does not fit its field: sent as " +
                          Right(std::to_string(value), std::to_string(widest).size()));
    };
    field("Output size", p.OutSize, 99);
    field("Phase shift of encoder 1", p.EncShift, 999);
    field("Speed limit", p.SpeedLimit, 9999);
    if (p.NEncoders > 1) {
        field("Phase shift of encoder 2", p.EncShift2, 999);
        field("Phase shift of encoder 3", p.EncShift3, 999);
    }
    if (p.NCams == 32 && (p.RatioOn & 1) && p.NEncoders == 1) field("Ratio", p.Ratio25_32, 99);
    if ((p.NCams != 32 || (p.AdvOn & 1))) field("Number of advances", p.NAdvCams, 99);
    return out;
}

}  // namespace cam
