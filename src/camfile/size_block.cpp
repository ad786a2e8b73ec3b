// The text form of one size: cam header lines and phase lines, shared by cam files
// and the device transfer.
#include "camfile/cam_file.h"

#include "camfile/line_reader.h"
#include "core/text_format.h"
#include "core/texts.h"

#include <algorithm>

namespace cam {

static std::string PhaseLine(int on, int off) { return " " + D4(on) + " " + D4(off); }

static bool HasAnyPhase(const Program& p, int cam) {
    for (int s = 1; s <= p.CamPos.sizes(); ++s) {
        const std::uint8_t* pos = p.CamPos.cam(s, cam);
        if (std::find(pos, pos + kPositions, 1) != pos + kPositions) return true;
    }
    return false;
}

int SizeToText(Program& p, int size, int cam, SizeTextForm form) {
    p.SizeText[0].clear();
    p.SizeText[1].clear();
    if (!p.CamPos.contains(size, cam)) return 0;
    const std::uint8_t* pos = p.CamPos.cam(size, cam);
    const bool device = form == SizeTextForm::Device;

    // A phase through position 0 is listed last, from where it starts before 1023.
    int w = 0;
    if (pos[kPositions - 1]) {
        w = kPositions;
        for (int n = 0; n < kPositions; ++n)
            if (!pos[n]) {
                w = n;
                break;
            }
    }
    int k = 0;
    if (w == kPositions) {
        // ON over the whole revolution: the device has no line for it, a file keeps it.
        if (!device) p.SizeText[++k] = PhaseLine(0, kPositions);
    } else {
        bool lookingForOn = true;
        int on = 0;
        for (int n = w; n < kPositions; ++n) {
            if (lookingForOn && pos[n]) {
                on = n;
                lookingForOn = false;
            } else if (!lookingForOn && !pos[n]) {
                p.SizeText[++k] = PhaseLine(on, n);
                lookingForOn = true;
            }
        }
        if (pos[kPositions - 1] && !lookingForOn) p.SizeText[++k] = PhaseLine(on, w);
    }
    p.SizeText[k + 1].clear();

    const std::string header = "C " + D2(cam + 1);
    const std::string& remark = cam < static_cast<int>(p.CamRemark.size()) ? p.CamRemark[cam] : std::string();
    const bool hasRemark = !TrimBlanks(remark).empty();
    if (k >= 1) {
        p.SizeText[0] = header;
        if (hasRemark && (!device || size == 1)) p.SizeText[0] += '"' + remark + '"';
    } else if (device && size == 1) {
        p.SizeText[0] = header + "\"  \"";
    } else if (!device && size == 1 && hasRemark && !HasAnyPhase(p, cam)) {
        // Otherwise the remark of a cam without phases would be lost on saving.
        p.SizeText[0] = header + '"' + remark + '"';
    }
    return k;
}

void AppendSize(Program& p, int size, std::string& out) {
    out += " FORMATO N. " + D2(size) + "\r\n";
    for (int c = 0; c < p.NCams; ++c) {
        SizeToText(p, size, c, SizeTextForm::File);
        for (int i = 0; i < kSizeTextLines && !p.SizeText[i].empty(); ++i) {
            out += p.SizeText[i];
            out += "\r\n";
        }
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
