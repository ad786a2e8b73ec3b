// The text form of one size: cam header lines and phase lines, shared by cam files
// and the device transfer.
#include "core/camfile/cam_file.h"

#include "core/camfile/line_reader.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <cstring>

namespace cam {

namespace {

bool AnyOn(const std::uint8_t* pos) { return std::memchr(pos, 1, kPositions) != nullptr; }

bool HasAnyPhase(const CamData& p, int cam) {
    for (int s = 1; s <= p.CamPos.sizes(); ++s)
        if (AnyOn(p.CamPos.cam(s, cam))) return true;
    return false;
}

// The phases of one cam's positions in listing order: ascending ON, a phase through position 0
// last (from where it starts before 1023). A cam ON over the whole revolution is the one phase
// 0-1024 of a file; the device has no line for it. Returns the number of phases.
// The first position from `from` that holds state, or kPositions: memchr scans a whole
// revolution at the speed of the machine's string instructions.
int NextWith(const std::uint8_t* pos, int from, std::uint8_t state) {
    const void* hit = std::memchr(pos + from, state, static_cast<std::size_t>(kPositions - from));
    return hit ? static_cast<int>(static_cast<const std::uint8_t*>(hit) - pos) : kPositions;
}

template <class Emit>
int ForEachListedPhase(const std::uint8_t* pos, bool device, Emit emit) {
    const int w = pos[kPositions - 1] ? NextWith(pos, 0, 0) : 0;
    if (w == kPositions) {
        if (device) return 0;
        emit(0, kPositions);
        return 1;
    }
    int k = 0;
    for (int n = w; n < kPositions;) {
        const int on = NextWith(pos, n, 1);
        if (on == kPositions) break;
        const int off = NextWith(pos, on, 0);
        if (off == kPositions) {  // runs through 1023 into position 0
            emit(on, w);
            return k + 1;
        }
        emit(on, off);
        ++k;
        n = off;
    }
    return k;
}

// Four digits written where they go, without a temporary string.
void AppendD4(std::string& out, int v) {
    if (v >= 0 && v <= 9999) {
        const char digits[4] = {static_cast<char>('0' + v / 1000), static_cast<char>('0' + v / 100 % 10),
                                static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
        out.append(digits, 4);
    } else {
        out += D4(v);
    }
}

void AppendPhaseLine(std::string& out, int on, int off) {
    out += ' ';
    AppendD4(out, on);
    out += ' ';
    AppendD4(out, off);
}

// The cam header line of a cam with `phases` phases in this size ("" when the cam contributes
// no lines): the remark in every size of a file where the cam has phases, in size 1 only on
// the wire, where a cam without phases in size 1 still sends its header with a blank remark.
std::string CamHeader(const CamData& p, int size, int cam, bool device, int phases) {
    const std::string header = "C " + D2(cam + 1);
    const std::string& remark = cam < static_cast<int>(p.CamRemark.size()) ? p.CamRemark[cam] : std::string();
    const bool hasRemark = !TrimBlanks(remark).empty();
    if (phases >= 1) return hasRemark && (!device || size == 1) ? header + '"' + remark + '"' : header;
    if (device && size == 1) return header + "\"  \"";
    // Otherwise the remark of a cam without phases would be lost on saving.
    if (!device && size == 1 && hasRemark && !HasAnyPhase(p, cam)) return header + '"' + remark + '"';
    return "";
}

}  // namespace

int SizeToText(Program& p, int size, int cam, SizeTextForm form) {
    p.SizeText[0].clear();
    p.SizeText[1].clear();
    if (!p.CamPos.contains(size, cam)) return 0;
    const bool device = form == SizeTextForm::Device;
    int k = 0;
    ForEachListedPhase(p.CamPos.cam(size, cam), device, [&](int on, int off) {
        std::string& line = p.SizeText[++k];
        line.clear();
        AppendPhaseLine(line, on, off);
    });
    p.SizeText[k + 1].clear();
    p.SizeText[0] = CamHeader(p, size, cam, device, k);
    return k;
}

void AppendSize(const CamData& p, int size, std::string& out) {
    out += " FORMATO N. " + D2(size) + "\r\n";
    for (int c = 0; c < p.NCams && p.CamPos.contains(size, c); ++c) {
        const std::uint8_t* pos = p.CamPos.cam(size, c);
        // In a file any ON position makes a phase line, so the header is known before them.
        const std::string header = CamHeader(p, size, c, false, AnyOn(pos) ? 1 : 0);
        if (!header.empty()) out += header + "\r\n";
        ForEachListedPhase(pos, false, [&](int on, int off) {
            AppendPhaseLine(out, on, off);
            out += "\r\n";
        });
    }
}

void WriteSize(Program& p, int size, std::ostream& out) {
    std::string text;
    AppendSize(p, size, text);
    out << text;
}

// Message for a read that must end at a line addressing something outside the tables.
static std::string OutsideMessage(const Program& p, const std::string& line, const std::string& what, long value,
                                  long last) {
    return Fill(Text(p, txt::kReadingStopped),
                {QuotedLine(line), what, CStr(value), what == "POSITION" ? "0" : "1", CStr(last)});
}

namespace {

// " 0100 0200", the form every writer produces: read where it lies, without the general
// number reading. False for any other form, which the general reading takes.
bool FixedPhaseLine(std::string_view line, long& on, long& off) {
    if (line.size() != 10 || line[0] != ' ' || line[5] != ' ') return false;
    auto four = [&](std::size_t at, long& v) {
        v = 0;
        for (std::size_t i = at; i < at + 4; ++i) {
            if (line[i] < '0' || line[i] > '9') return false;
            v = v * 10 + (line[i] - '0');
        }
        return true;
    };
    return four(1, on) && four(6, off);
}

}  // namespace

bool ReadSizeBlock(Program& p, int size, LineSource& in, std::string* stop) {
    int c = 0;
    std::string& line = p.LineBuf;
    while (NextLine(in, line)) {
        if (line.empty()) continue;
        long on = 0, off = 0;
        const bool fixed = FixedPhaseLine(line, on, off);
        if (!fixed && line[0] == 'C') {
            const long number = ValRounded(Mid(line, 3, 2));
            if (number < 1 || number > p.CamPos.cams() || number > static_cast<long>(p.CamRemark.size())) {
                if (stop) *stop = OutsideMessage(p, line, "CAM", number, p.CamPos.cams());
                return false;
            }
            c = static_cast<int>(number - 1);
            const std::size_t quote = line.find('"');
            if (quote != std::string::npos) {
                // The text after the first quote, without the closing quote.
                const std::size_t start = quote + 1;
                p.CamRemark[c] = line.size() > start ? line.substr(start, line.size() - start - 1) : std::string();
            }
            continue;
        }
        if (!fixed && (line == "END" || Contains(line, "FORMATO N. "))) return true;
        if (line[0] != ' ') continue;
        if (!fixed) {
            on = ValRounded(std::string_view(line).substr(0, 5));
            off = ValRounded(Right(line, 5));
        }
        if (!p.CamPos.contains(size, c)) {
            if (stop) *stop = OutsideMessage(p, line, "SIZE", size, p.CamPos.sizes());
            return false;
        }
        if (on < 0 || on >= kPositions || off < 0 || off > kPositions) {
            const bool badOn = on < 0 || on >= kPositions;
            if (stop)
                *stop = OutsideMessage(p, line, "POSITION", badOn ? on : off, badOn ? kPositions - 1 : kPositions);
            return false;
        }
        SetPhase(p, size, c, static_cast<int>(on), static_cast<int>(off));
    }
    return true;
}

}  // namespace cam
