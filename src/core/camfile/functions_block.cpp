// The functions block of a cam file: labelled lines with the value in the last field.
#include "core/camfile/functions_block.h"

#include "core/camfile/cam_file.h"
#include "core/camfile/line_reader.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace cam {

namespace {

constexpr const char* kEol = "\r\n";

std::string N(long v) { return PrintNumber(v); }

// Values are brought into the range of the field they go to, never wrapped.
std::uint8_t ToByte(long v) { return static_cast<std::uint8_t>(std::clamp(v, 0L, 255L)); }
int ToInteger(long v) {
    return static_cast<int>(
        std::clamp<long>(v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}
long Trailing(const std::string& line) { return ValRounded(LastField(line)); }

}  // namespace

GroupAdvanceSlots GroupAdvanceSlotsFor(int advMsCount) {
    if (advMsCount >= 29) return {{16, 20, 24, 28}};
    return {{8, 12, -1, -1}};
}

void WriteFunctions(const CamData& p, std::ostream& out) {
    out << "FUNZIONI " << N(p.NCams) << "-" << N(p.NSizes) << kEol;
    if (p.AdvOn == 1) {
        // The count written is the count of advances that exist, so the file reads back.
        const int count = std::clamp(p.NAdvCams, 0, static_cast<int>(p.AdvMs.size()));
        out << "ANTICIPI "
            << "ON   " << N(count) << kEol;
        for (int i = 0; i < count; ++i) out << "ANTICIPO CAMS  " << D2(i + 1) << " ms  " << N(p.AdvMs[i]) << kEol;
    } else {
        out << "ANTICIPI "
            << "OFF" << kEol;
    }
    if (p.NEncoders != 1) {
        out << CStr(p.NEncoders) << "ENC" << kEol;
        static const char* const kGroups[4] = {"17-20", "21-24", "25-28", "29-32"};
        const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
        for (int g = 0; g < 4; ++g) {
            const int i = slots.index[g];
            const long v = (i >= 0 && i < static_cast<int>(p.AdvMs.size())) ? p.AdvMs[i] : 0;
            out << "ANTICIPO CAMS " << kGroups[g] << "   ms " << N(v) << kEol;
        }
        out << "SFASAMENTO ENCODER  " << N(p.EncShift2) << kEol;
        out << "SENSO DI ROTAZIONE  " << N(p.RotDir2) << kEol;
        if (p.NEncoders == 3) {
            out << "SFASAMENTO ENCODER  " << N(p.EncShift3) << kEol;
            out << "SENSO DI ROTAZIONE  " << N(p.RotDir3) << kEol;
        }
    } else {
        if (p.DelayOn == 1) {
            out << "RITARDI "
                << "ON" << kEol;
            out << "RITARDO CAMS 17-20   ms." << N(p.Delay17_20) << kEol;
            out << "RITARDO CAMS 21-24   ms." << N(p.Delay21_24) << kEol;
        } else {
            out << "RITARDI "
                << "OFF" << kEol;
        }
        if (p.RatioOn == 1) {
            out << "RAPPORTI "
                << " ON " << kEol;
            out << "RAPPORTO CAMS 25-32 = " << N(p.Ratio25_32) << kEol;
        } else {
            out << "RAPPORTI "
                << "OFF" << kEol;
        }
    }
    out << "FORMATO IN USCITA   " << N(p.OutSize) << kEol;
    out << "SFASAMENTO ENCODER  " << N(p.EncShift) << kEol;
    out << "SENSO DI ROTAZIONE  " << N(p.RotDir) << kEol;
    out << "LIMITE DI VELOCITA'  " << N(p.SpeedLimit) << kEol;
}

namespace {

// Reads the lines of the functions block in order; at end of file LineBuf keeps the last
// line, which the format error then names.
class FunctionLines {
public:
    FunctionLines(Program& p, LineSource& in) : in_(in), line_(p.LineBuf) {}
    bool next() { return NextLine(in_, line_); }
    // The next line, which must carry label.
    bool labelled(const char* label) { return next() && Contains(line_, label); }
    const std::string& line() const { return line_; }
    long trailing() const { return Trailing(line_); }

private:
    LineSource& in_;
    std::string& line_;
};

// "ANTICIPI ON  n" and n advance lines, or "ANTICIPI OFF".
bool ReadAdvances(Program& p, FunctionLines& lines) {
    if (!lines.labelled("ANTICIPI")) return false;
    if (Contains(lines.line(), "ON")) {
        const long count = std::max(0L, lines.trailing());
        if (count > p.NCams) return false;
        p.NAdvCams = ToInteger(count);
        for (int i = 0; i < p.NAdvCams; ++i) {
            if (!lines.next()) return false;
            if (i < static_cast<int>(p.AdvMs.size())) p.AdvMs[i] = ToByte(lines.trailing());
        }
        p.AdvOn = 1;
        return true;
    }
    if (!Contains(lines.line(), "OFF")) return false;
    p.AdvOn = 0;
    return true;
}

// After "nENC": the four group advances, then the shift and direction of encoders 2 (and 3).
bool ReadSeveralEncoders(Program& p, FunctionLines& lines) {
    const long encoders = ValRounded(lines.line().substr(0, 1));
    const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
    for (int g = 0; g < 4; ++g) {
        if (!lines.next()) return false;
        const int i = slots.index[g];
        if (i >= 0 && i < static_cast<int>(p.AdvMs.size())) p.AdvMs[i] = ToByte(lines.trailing());
    }
    if (!lines.labelled("SFASAMENTO")) return false;
    p.EncShift2 = ToInteger(lines.trailing());
    if (!lines.labelled("SENSO")) return false;
    p.RotDir2 = ToByte(lines.trailing());
    if (encoders == 3) {
        if (!lines.labelled("SFASAMENTO")) return false;
        p.EncShift3 = ToInteger(lines.trailing());
        if (!lines.labelled("SENSO")) return false;
        p.RotDir3 = ToByte(lines.trailing());
    }
    p.NEncoders = static_cast<int>(std::clamp(encoders, 0L, 3L));
    return true;
}

// The one-encoder form: "RITARDI" with its two delays, "RAPPORTI" with its ratio.
bool ReadDelaysAndRatio(Program& p, FunctionLines& lines) {
    if (!Contains(lines.line(), "RITARDI")) return false;
    if (Contains(lines.line(), "ON")) {
        if (!lines.next()) return false;
        p.Delay17_20 = ToByte(lines.trailing());
        if (!lines.next()) return false;
        p.Delay21_24 = ToByte(lines.trailing());
        p.DelayOn = 1;
    } else if (Contains(lines.line(), "OFF")) {
        p.DelayOn = 0;
    } else {
        return false;
    }
    if (!lines.labelled("RAPPORTI")) return false;
    if (Contains(lines.line(), "ON")) {
        if (!lines.next()) return false;
        p.Ratio25_32 = ToByte(lines.trailing());
        p.RatioOn = 1;
    } else if (Contains(lines.line(), "OFF")) {
        p.RatioOn = 0;
    } else {
        return false;
    }
    // Delay and ratio lines are the one-encoder form: the program read has one encoder,
    // whatever the file before it had, so that a save writes back these lines.
    p.NEncoders = 1;
    return true;
}

// Output size, encoder 1 and the speed limit.
bool ReadLastLines(Program& p, FunctionLines& lines) {
    if (!lines.labelled("FORMATO")) return false;
    p.OutSize = ToByte(lines.trailing());
    if (!lines.labelled("SFASAMENTO")) return false;
    p.EncShift = ToInteger(lines.trailing());
    if (!lines.labelled("SENSO")) return false;
    p.RotDir = ToByte(lines.trailing());
    if (!lines.labelled("LIMITE")) return false;
    p.SpeedLimit = ToInteger(lines.trailing());
    return true;
}

}  // namespace

std::string Ratio17NotInFile(const Program& p) {
    return (p.Ratio17On & 1) ? Fill(Text(p, txt::kRatio17NotInFile), {CStr(p.Ratio25_32)}) : "";
}

bool ReadFunctions(Program& p, LineSource& in) {
    FunctionLines lines(p, in);
    if (!ReadAdvances(p, lines) || !lines.next()) return false;
    const bool encoders = Contains(lines.line(), "ENC") ? ReadSeveralEncoders(p, lines) : ReadDelaysAndRatio(p, lines);
    return encoders && ReadLastLines(p, lines);
}

}  // namespace cam
