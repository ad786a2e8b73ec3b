// The functions block of a cam file: labelled lines with the value in the last field.
#include "camfile/functions_block.h"

#include "camfile/cam_file.h"
#include "camfile/line_reader.h"
#include "core/text_format.h"

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
    return static_cast<int>(std::clamp<long>(v, std::numeric_limits<std::int16_t>::min(),
                                             std::numeric_limits<std::int16_t>::max()));
}
long Trailing(const std::string& line) { return ValRounded(LastField(line)); }

}  // namespace

GroupAdvanceSlots GroupAdvanceSlotsFor(int advMsCount) {
    if (advMsCount >= 29) return {{16, 20, 24, 28}};
    return {{8, 12, -1, -1}};
}

void WriteFunctions(const Program& p, std::ostream& out) {
    out << "FUNZIONI " << N(p.NCams) << "-" << N(p.NSizes) << kEol;
    if (p.AdvOn == 1) {
        // The count written is the count of advances that exist, so the file reads back.
        const int count = std::clamp(p.NAdvCams, 0, static_cast<int>(p.AdvMs.size()));
        out << "ANTICIPI " << "ON   " << N(count) << kEol;
        for (int i = 0; i < count; ++i) out << "ANTICIPO CAMS  " << D2(i + 1) << " ms  " << N(p.AdvMs[i]) << kEol;
    } else {
        out << "ANTICIPI " << "OFF" << kEol;
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
            out << "RITARDI " << "ON" << kEol;
            out << "RITARDO CAMS 17-20   ms." << N(p.Delay17_20) << kEol;
            out << "RITARDO CAMS 21-24   ms." << N(p.Delay21_24) << kEol;
        } else {
            out << "RITARDI " << "OFF" << kEol;
        }
        if (p.RatioOn == 1) {
            out << "RAPPORTI " << " ON " << kEol;
            out << "RAPPORTO CAMS 25-32 = " << N(p.Ratio25_32) << kEol;
        } else {
            out << "RAPPORTI " << "OFF" << kEol;
        }
    }
    out << "FORMATO IN USCITA   " << N(p.OutSize) << kEol;
    out << "SFASAMENTO ENCODER  " << N(p.EncShift) << kEol;
    out << "SENSO DI ROTAZIONE  " << N(p.RotDir) << kEol;
    out << "LIMITE DI VELOCITA'  " << N(p.SpeedLimit) << kEol;
}

bool ReadFunctions(Program& p, std::istream& in) {
    std::string& line = p.LineBuf;
    // At end of file LineBuf keeps the last line, which the message then names.
    auto next = [&] { return NextLine(in, line); };
    auto labelled = [&](const char* label) { return next() && Contains(line, label); };

    // Advances
    if (!labelled("ANTICIPI")) return false;
    if (Contains(line, "ON")) {
        const long count = std::max(0L, Trailing(line));
        if (count > p.NCams) return false;
        p.NAdvCams = ToInteger(count);
        for (int i = 0; i < p.NAdvCams; ++i) {
            if (!next()) return false;
            if (i < static_cast<int>(p.AdvMs.size())) p.AdvMs[i] = ToByte(Trailing(line));
        }
        p.AdvOn = 1;
    } else if (Contains(line, "OFF")) {
        p.AdvOn = 0;
    } else {
        return false;
    }

    if (!next()) return false;
    if (Contains(line, "ENC")) {
        const long encoders = ValRounded(line.substr(0, 1));
        const GroupAdvanceSlots slots = GroupAdvanceSlotsFor(static_cast<int>(p.AdvMs.size()));
        for (int g = 0; g < 4; ++g) {
            if (!next()) return false;
            const int i = slots.index[g];
            if (i >= 0 && i < static_cast<int>(p.AdvMs.size())) p.AdvMs[i] = ToByte(Trailing(line));
        }
        if (!labelled("SFASAMENTO")) return false;
        p.EncShift2 = ToInteger(Trailing(line));
        if (!labelled("SENSO")) return false;
        p.RotDir2 = ToByte(Trailing(line));
        if (encoders == 3) {
            if (!labelled("SFASAMENTO")) return false;
            p.EncShift3 = ToInteger(Trailing(line));
            if (!labelled("SENSO")) return false;
            p.RotDir3 = ToByte(Trailing(line));
        }
        p.NEncoders = static_cast<int>(std::clamp(encoders, 0L, 3L));
    } else {
        if (!Contains(line, "RITARDI")) return false;
        if (Contains(line, "ON")) {
            if (!next()) return false;
            p.Delay17_20 = ToByte(Trailing(line));
            if (!next()) return false;
            p.Delay21_24 = ToByte(Trailing(line));
            p.DelayOn = 1;
        } else if (Contains(line, "OFF")) {
            p.DelayOn = 0;
        } else {
            return false;
        }
        if (!labelled("RAPPORTI")) return false;
        if (Contains(line, "ON")) {
            if (!next()) return false;
            p.Ratio25_32 = ToByte(Trailing(line));
            p.RatioOn = 1;
        } else if (Contains(line, "OFF")) {
            p.RatioOn = 0;
        } else {
            return false;
        }
        // Delay and ratio lines are the one-encoder form: the program read has one encoder,
        // whatever the file before it had, so that a save writes back these lines.
        p.NEncoders = 1;
    }

    if (!labelled("FORMATO")) return false;
    p.OutSize = ToByte(Trailing(line));
    if (!labelled("SFASAMENTO")) return false;
    p.EncShift = ToInteger(Trailing(line));
    if (!labelled("SENSO")) return false;
    p.RotDir = ToByte(Trailing(line));
    if (!labelled("LIMITE")) return false;
    p.SpeedLimit = ToInteger(Trailing(line));
    return true;
}

}  // namespace cam
