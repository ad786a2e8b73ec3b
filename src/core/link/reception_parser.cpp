#include "core/link/reception_parser.h"

#include "core/camfile/cam_file.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/model/texts.h"
#include "core/link/functions_wire.h"

#include <algorithm>

namespace cam {

namespace {

// The device's fixed-width fields, read by 1-based character positions, and the values
// brought into the tables' ranges.
class Fields {
public:
    Fields(const Program& p, std::vector<std::string>& corrections) : p_(p), corrections_(corrections) {}

    static long hex(const std::string& line, int from, int to) { return HexVal(Mid(line, from, to - from + 1)); }
    static long dec(const std::string& line, int from, int to) {
        return std::max(0L, ValRounded(Mid(line, from, to - from + 1)));
    }

    // The value, or max when it is larger (noted once per field).
    long limit(BuiltInText what, long value, long max, const std::string& which = "") {
        if (value <= max) return value;
        corrections_.push_back(Fill(Text(p_, what), {which}) + " " + std::to_string(value) + " -> " +
                               std::to_string(max));
        return max;
    }
    std::uint8_t advance(BuiltInText what, long value, const std::string& which = "") {
        return static_cast<std::uint8_t>(limit(what, value, kMaxAdvanceMs, which));
    }

private:
    const Program& p_;
    std::vector<std::string>& corrections_;
};

// The next line, empty after the end (the fields of a missing line read as 0).
bool NextLine(LineSource& in, std::string& line) {
    std::string_view view;
    const bool got = in.next(view);
    line.assign(view);
    return got;
}

// The header names the device's cam count in the two characters before its first "-".
bool AcceptHeader(const std::string& line, int rememberedCams, Prompt& prompt) {
    const std::size_t dash = line.find('-');
    const std::string cams = dash == std::string::npos ? "" : Mid(line, dash >= 2 ? dash - 1 : 1, dash >= 2 ? 2 : dash);
    if (dash != std::string::npos && ValRounded(cams) == rememberedCams) return true;
    prompt.message("WRONG DSP  C." + QuotedLine(cams), "", Buttons::Ok, Icon::None);
    return false;
}

// Line B: the count of advances, then two hex digits per advance.
void ReadAdvances(Program& p, Fields& f, const std::string& b) {
    p.NAdvCams = static_cast<int>(std::min<long>(Fields::hex(b, 1, 2), p.NCams));
    for (int i = 0; i < p.NAdvCams && i < static_cast<int>(p.AdvMs.size()); ++i)
        p.AdvMs[i] = f.advance(txt::kAdvanceOfCam, Fields::hex(b, 2 * i + 3, 2 * i + 4), D2(i + 1));
}

// Line A of a 32-cam device: the switches, or with several encoders the group advances.
void ReadSwitches(Program& p, Fields& f, const std::string& a) {
    p.AdvOn = Fields::hex(a, 1, 2) & 1;
    if (p.NEncoders <= 1) {
        p.DelayOn = Fields::hex(a, 3, 4) & 1;
        p.RatioOn = Fields::hex(a, 5, 6) & 1;
        p.Ratio17On = Fields::hex(a, 7, 8) & 1;
        return;
    }
    p.DelayOn = p.RatioOn = p.Ratio17On = 0;
    const int group[4] = {16, 20, 24, 28};
    for (int g = 0; g < 4; ++g)
        if (group[g] < static_cast<int>(p.AdvMs.size()))
            p.AdvMs[group[g]] = f.advance(txt::kAdvanceOfCam, Fields::hex(a, 3 + 2 * g, 4 + 2 * g), D2(group[g] + 1));
}

// The lines after the header up to line E.
void ReadAdvanceLines(Program& p, Fields& f, LineSource& in, int rememberedCams) {
    std::string line;
    if (rememberedCams != 32) {
        NextLine(in, line);
        ReadAdvances(p, f, line);
        // A 16-cam device sends no switch line: a received count turns the advances on,
        // as the functions window does for these models, so a later save keeps them.
        if (p.NAdvCams > 0) p.AdvOn = 1;
        return;
    }
    NextLine(in, line);
    ReadSwitches(p, f, line);
    if (p.AdvOn) {
        NextLine(in, line);
        ReadAdvances(p, f, line);
    }
    if (p.DelayOn) {
        NextLine(in, line);
        p.Delay17_20 = f.advance(txt::kDelay17, Fields::hex(line, 1, 2));
        p.Delay21_24 = f.advance(txt::kDelay21, Fields::hex(line, 3, 4));
    }
    if (p.RatioOn) {
        NextLine(in, line);
        p.Ratio25_32 = static_cast<std::uint8_t>(f.limit(txt::kRatio, Fields::dec(line, 1, 2), 9));
        if (line.size() > 2)
            p.Ratio17On = static_cast<std::uint8_t>(f.limit(txt::kRatio17Switch, Fields::dec(line, 3, 4), 1));
    }
}

// Line E: output size and the encoders.
void ReadEncoders(Program& p, Fields& f, const std::string& e) {
    p.OutSize = static_cast<std::uint8_t>(f.limit(txt::kOutSize, Fields::dec(e, 1, 2), p.NSizes));
    p.EncShift = static_cast<int>(f.limit(txt::kShift, Fields::hex(e, 3, 6), kPositions, "1"));
    p.RotDir = static_cast<std::uint8_t>(f.limit(txt::kDirection, Fields::hex(e, 7, 8), 1, "1"));
    p.SpeedLimit = static_cast<int>(f.limit(txt::kSpeedLimit, Fields::hex(e, 9, 12), 9999));
    if (p.NEncoders <= 1) return;
    p.EncShift2 = static_cast<int>(f.limit(txt::kShift, Fields::hex(e, 13, 16), kPositions, "2"));
    p.RotDir2 = static_cast<std::uint8_t>(f.limit(txt::kDirection, Fields::hex(e, 17, 18), 1, "2"));
    p.EncShift3 = static_cast<int>(f.limit(txt::kShift, Fields::hex(e, 19, 22), kPositions, "3"));
    p.RotDir3 = static_cast<std::uint8_t>(f.limit(txt::kDirection, Fields::hex(e, 23, 24), 1, "3"));
}

// The size blocks, up to NSizes of them or "END".
void ReadSizes(Program& p, LineSource& in, ReceptionResult& r) {
    p.LineBuf.clear();
    NextLine(in, p.LineBuf);
    for (int round = 0; round < p.NSizes; ++round) {
        if (p.LineBuf.empty() && !NextLine(in, p.LineBuf)) break;
        if (Contains(p.LineBuf, "FORMATO N. ")) {
            const long size = ValRounded(Right(p.LineBuf, 2));
            if (size < 1 || size > p.NSizes) {
                r.stop = Fill(Text(p, txt::kSizeOutside), {std::to_string(size)});
                break;
            }
            if (!ReadSizeBlock(p, static_cast<int>(size), in, &r.stop)) break;
            ++r.sizesRead;
        }
        if (p.LineBuf == "END") break;
    }
}

}  // namespace

ReceptionResult ParseReception(Program& p, LineSource& in, int rememberedCams, Prompt& prompt) {
    ReceptionResult r;
    std::string line;
    NextLine(in, line);
    if (!AcceptHeader(line, rememberedCams, prompt)) return r;
    r.accepted = true;
    ClearAll(p);
    Fields f(p, r.corrections);
    ReadAdvanceLines(p, f, in, rememberedCams);
    NextLine(in, line);
    ReadEncoders(p, f, line);
    ReadSizes(p, in, r);
    return r;
}

std::string CorrectionsMessage(const Program& p, const std::vector<std::string>& corrections) {
    if (corrections.empty()) return "";
    std::string text = Text(p, txt::kCorrected);
    for (const auto& c : corrections) text += "\r" + c;
    return text;
}

}  // namespace cam
