#include "link/reception_parser.h"

#include "camfile/cam_file.h"
#include "core/text_format.h"
#include "core/text_lines.h"

#include <algorithm>

namespace cam {

namespace {

class Fields {
public:
    Fields(std::vector<std::string>& corrections) : corrections_(corrections) {}

    // hex(line a-b), 1-based positions
    static long hex(const std::string& line, int from, int to) { return HexVal(Mid(line, from, to - from + 1)); }
    static long dec(const std::string& line, int from, int to) {
        return std::max(0L, ValRounded(Mid(line, from, to - from + 1)));
    }

    // The value, or max when it is larger (noted once per field).
    long limit(const char* what, long value, long max) {
        if (value <= max) return value;
        corrections_.push_back(std::string(what) + " " + std::to_string(value) + " -> " + std::to_string(max));
        return max;
    }

private:
    std::vector<std::string>& corrections_;
};

bool NextLine(std::istream& in, std::string& line) {
    line.clear();
    return ReadTextLine(in, line);
}

}  // namespace

ReceptionResult ParseReception(Program& p, std::istream& in, int rememberedCams, Prompt& prompt) {
    ReceptionResult r;
    Fields f(r.corrections);
    std::string line;
    NextLine(in, line);
    const std::size_t dash = line.find('-');
    const std::string cams = dash == std::string::npos ? "" : Mid(line, dash >= 2 ? dash - 1 : 1, dash >= 2 ? 2 : dash);
    if (dash == std::string::npos || ValRounded(cams) != rememberedCams) {
        prompt.message("WRONG DSP  C." + QuotedLine(cams), "", Buttons::Ok, Icon::None);
        return r;
    }
    r.accepted = true;
    ClearAll(p);

    auto advances = [&](const std::string& b) {
        p.NAdvCams = static_cast<int>(std::min<long>(Fields::hex(b, 1, 2), p.NCams));
        for (int i = 0; i < p.NAdvCams && i < static_cast<int>(p.AdvMs.size()); ++i)
            p.AdvMs[i] = static_cast<std::uint8_t>(f.limit("Advance", Fields::hex(b, 2 * i + 3, 2 * i + 4), 210));
    };
    if (rememberedCams == 32) {
        NextLine(in, line);
        const std::string a = line;
        p.AdvOn = Fields::hex(a, 1, 2) & 1;
        if (p.NEncoders <= 1) {
            p.DelayOn = Fields::hex(a, 3, 4) & 1;
            p.RatioOn = Fields::hex(a, 5, 6) & 1;
            p.Ratio17On = Fields::hex(a, 7, 8) & 1;
        } else {
            p.DelayOn = p.RatioOn = p.Ratio17On = 0;
            const int group[4] = {16, 20, 24, 28};
            for (int g = 0; g < 4; ++g)
                if (group[g] < static_cast<int>(p.AdvMs.size()))
                    p.AdvMs[group[g]] = static_cast<std::uint8_t>(
                        f.limit("Group advance", Fields::hex(a, 3 + 2 * g, 4 + 2 * g), 210));
        }
        if (p.AdvOn) {
            NextLine(in, line);
            advances(line);
        }
        if (p.DelayOn) {
            NextLine(in, line);
            p.Delay17_20 = static_cast<std::uint8_t>(f.limit("Delay of cams 17-20", Fields::hex(line, 1, 2), 210));
            p.Delay21_24 = static_cast<std::uint8_t>(f.limit("Delay of cams 21-24", Fields::hex(line, 3, 4), 210));
        }
        if (p.RatioOn) {
            NextLine(in, line);
            p.Ratio25_32 = static_cast<std::uint8_t>(f.limit("Ratio", Fields::dec(line, 1, 2), 9));
            if (line.size() > 2) p.Ratio17On = static_cast<std::uint8_t>(f.limit("Ratio 17-32 switch", Fields::dec(line, 3, 4), 1));
        }
    } else {
        NextLine(in, line);
        advances(line);
        // A 16-cam device sends no switch line: a received count turns the advances on,
        // as the functions window does for these models, so a later save keeps them.
        if (p.NAdvCams > 0) p.AdvOn = 1;
    }

    NextLine(in, line);
    const std::string e = line;
    p.OutSize = static_cast<std::uint8_t>(f.limit("Output size", Fields::dec(e, 1, 2), p.NSizes));
    p.EncShift = static_cast<int>(f.limit("Phase shift of encoder 1", Fields::hex(e, 3, 6), 1024));
    p.RotDir = static_cast<std::uint8_t>(f.limit("Direction of encoder 1", Fields::hex(e, 7, 8), 1));
    p.SpeedLimit = static_cast<int>(f.limit("Speed limit", Fields::hex(e, 9, 12), 9999));
    if (p.NEncoders > 1) {
        p.EncShift2 = static_cast<int>(f.limit("Phase shift of encoder 2", Fields::hex(e, 13, 16), 1024));
        p.RotDir2 = static_cast<std::uint8_t>(f.limit("Direction of encoder 2", Fields::hex(e, 17, 18), 1));
        p.EncShift3 = static_cast<int>(f.limit("Phase shift of encoder 3", Fields::hex(e, 19, 22), 1024));
        p.RotDir3 = static_cast<std::uint8_t>(f.limit("Direction of encoder 3", Fields::hex(e, 23, 24), 1));
    }

    p.LineBuf.clear();
    NextLine(in, p.LineBuf);
    for (int round = 0; round < p.NSizes; ++round) {
        if (p.LineBuf.empty() && !NextLine(in, p.LineBuf)) break;
        if (Contains(p.LineBuf, "FORMATO N. ")) {
            const long size = ValRounded(Right(p.LineBuf, 2));
            if (size < 1 || size > p.NSizes) {
                r.corrections.push_back("Size " + std::to_string(size) + " is outside the sizes of the device model; "
                                        "the reception was read up to it");
                break;
            }
            std::string stop;
            if (!ReadSizeBlock(p, static_cast<int>(size), in, &stop)) {
                r.corrections.push_back(stop);
                break;
            }
            ++r.sizesRead;
        }
        if (p.LineBuf == "END") break;
    }
    p.FileSaved = false;
    p.CurSize = 1;
    return r;
}

std::string CorrectionsMessage(const std::vector<std::string>& corrections) {
    if (corrections.empty()) return "";
    std::string text = "Some received values were outside the ranges of the program and were corrected:";
    for (const auto& c : corrections) text += "\r" + c;
    return text;
}

}  // namespace cam
