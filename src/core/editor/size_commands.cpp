#include "core/editor/size_commands.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace cam {

namespace {

constexpr std::size_t kRemarkLength = 20;

// Copies one cam's positions; true when the target changed.
bool CopyPositions(const std::uint8_t* from, std::uint8_t* to) {
    if (from == to || std::equal(from, from + kPositions, to)) return false;
    std::memcpy(to, from, kPositions);
    return true;
}

bool CurrentCamValid(const Program& p) { return p.CamPos.contains(p.CurSize, p.CurCam); }

CommandResult RowResult(int row, bool changed) {
    CommandResult r;
    r.redraw = CommandResult::Row;
    r.row = row;
    r.changed = changed;
    return r;
}

}  // namespace

void RotatePositions(std::uint8_t* positions, long k) {
    if (std::abs(k) > kPositions - 1) k %= kPositions;  // keeps the sign of k
    if (k < 0) k += kPositions;
    if (k == 0) return;
    std::array<std::uint8_t, kPositions> old;
    std::memcpy(old.data(), positions, kPositions);
    for (int pos = 0; pos < kPositions; ++pos) {
        long j = pos - k;
        if (j < 0) j += kPositions;
        positions[pos] = old[j];
    }
}

bool StepSize(Program& p, int step) {
    const long next = p.CurSize + (step > 0 ? 1 : -1);
    if (next < 1 || next > p.NSizes) return false;
    p.CurSize = next;
    return true;
}

CommandResult SelectSize(Program& p, CamDocument& /*doc*/, Prompt& prompt) {
    long n = p.CurSize == 0 ? 1 : p.CurSize;
    auto answer = prompt.input(p.Text(20) + " 1-" + Str(p.NSizes), p.CamFile, Str(n));
    if (!answer || answer->empty()) return {};
    n = ValRounded(*answer);
    if (n > p.NSizes || n < 1) {
        prompt.message(p.Text(21) + *answer, p.Text(20), Buttons::Ok, Icon::Exclamation);
        n = 1;
    }
    CommandResult r;
    if (n != p.CurSize) {
        p.CurSize = n;
        r.redraw = CommandResult::Chart;
        r.sizeChanged = true;
    }
    return r;
}

CommandResult CopySize(Program& p, CamDocument& doc, Prompt& prompt) {
    const long source = p.CurSize == 0 ? 1 : p.CurSize;
    if (source < 1 || source > p.CamPos.sizes()) return {};
    std::string defaultText = CStr(source);
    for (;;) {
        auto answer = prompt.input(p.Text(125) + Str(source) + " " + p.Text(126) + " 1 -" + CStr(p.NSizes), p.CamFile,
                                   defaultText);
        if (!answer || answer->empty()) return {};
        const long n = ValRounded(*answer);
        if (n == source) return {};
        if (n >= 1 && n <= p.NSizes && n <= p.CamPos.sizes()) {
            const int from = static_cast<int>(source), to = static_cast<int>(n);
            CommandResult r;  // the target is not the size shown: nothing to redraw
            r.changed = doc.Edit(EditScope::Size(to), Fill(Text(p, txt::kHistCopySize), {CStr(source), CStr(n)}),
                                 [&](CamData& d) {
                                     for (int c = 0; c < d.CamPos.cams(); ++c)
                                         CopyPositions(d.CamPos.cam(from, c), d.CamPos.cam(to, c));
                                 });
            return r;
        }
        prompt.message(p.Text(21) + *answer, p.Text(20), Buttons::Ok, Icon::Exclamation);
        // The source stays the size shown; only the offered target is the refused number.
        defaultText = CStr(n);
    }
}

CommandResult EraseSize(Program& p, CamDocument& doc, Prompt& prompt) {
    if (prompt.message(p.Text(2) + Str(p.CurSize) + "'?", p.Text(3), Buttons::YesNo, Icon::Question) != Answer::Yes)
        return {};
    const int size = p.CurSize;
    CommandResult r;
    r.redraw = CommandResult::Chart;
    r.changed = doc.Edit(EditScope::Size(size), Fill(Text(p, txt::kHistEraseSize), {CStr(size)}),
                         [&](CamData& d) { ClearSize(d, size); });
    return r;
}

CommandResult CopyCam(Program& p, CamDocument& doc, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    auto answer = prompt.input(p.Text(24) + CStr(p.CurCam + 1) + p.Text(25) + CStr(p.NCams) + "]", p.Text(24), "");
    if (!answer || answer->empty()) return {};
    const long t = RoundHalfEven(Val(*answer) - 1);
    if (t < 0 || t > p.NCams - 1 || t >= p.CamPos.cams()) {
        prompt.message(Str(t + 1) + p.Text(26), p.Text(24), Buttons::Ok, Icon::None);
        return {};
    }
    const int size = p.CurSize, from = p.CurCam, to = static_cast<int>(t);
    const bool changed =
        doc.Edit(EditScope::Cam(size, to), Fill(Text(p, txt::kHistCopyCam), {CStr(from + 1), CStr(to + 1), CStr(size)}),
                 [&](CamData& d) { CopyPositions(d.CamPos.cam(size, from), d.CamPos.cam(size, to)); });
    return RowResult(to, changed);
}

CommandResult ShiftCam(Program& p, CamDocument& doc, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    auto answer = prompt.input(p.Text(27) + Str(p.CurCam + 1), p.Text(28), "");
    const long k = answer ? ValRounded(*answer) : 0;
    const int size = p.CurSize, cam = p.CurCam;
    const bool changed = doc.Edit(EditScope::Cam(size, cam), Fill(Text(p, txt::kHistShiftCam), {CStr(cam + 1), CStr(k)}),
                                  [&](CamData& d) { RotatePositions(d.CamPos.cam(size, cam), k); });
    return RowResult(cam, changed);
}

CommandResult EraseCam(Program& p, CamDocument& doc, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    if (prompt.message(p.Text(15) + Str(p.CurCam + 1) + "'?", p.Text(3), Buttons::YesNo, Icon::Question) != Answer::Yes)
        return {};
    const int size = p.CurSize, cam = p.CurCam;
    const bool changed = doc.Edit(EditScope::Cam(size, cam), Fill(Text(p, txt::kHistEraseCam), {CStr(cam + 1), CStr(size)}),
                                  [&](CamData& d) { std::fill_n(d.CamPos.cam(size, cam), kPositions, 0); });
    return RowResult(cam, changed);
}

CommandResult EditRemark(Program& p, CamDocument& doc, Prompt& prompt) {
    if (p.CurCam < 0 || p.CurCam >= static_cast<long>(p.CamRemark.size()) || p.CurCam >= p.NCams) return {};
    const std::string old = p.CamRemark[p.CurCam];
    const std::string title = p.Text(132) + " N." + CStr(p.CurCam + 1);
    std::string s = old;
    for (;;) {
        auto answer = prompt.input(s, title, s);
        // Cancel keeps the remark as it was; only an emptied box clears it.
        if (!answer) return {};
        s = *answer;
        if (s.size() <= kRemarkLength) break;
        prompt.message(p.Text(30), p.Text(132), Buttons::Ok, Icon::Exclamation);
        s.resize(kRemarkLength);
    }
    if (!old.empty() && s.empty() && prompt.message(p.Text(3), "", Buttons::OkCancel, Icon::Question) != Answer::Ok)
        return {};
    const int cam = p.CurCam;
    const bool changed = doc.Edit(EditScope::Remark(cam), Fill(Text(p, txt::kHistRemark), {CStr(cam + 1)}),
                                  [&](CamData& d) { d.CamRemark[cam] = s; });
    return RowResult(cam, changed);
}

}  // namespace cam
