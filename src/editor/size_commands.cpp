#include "editor/size_commands.h"

#include "core/text_format.h"
#include "core/texts.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace cam {

namespace {

constexpr std::size_t kRemarkLength = 20;

bool AnyOn(const std::uint8_t* positions) {
    return std::any_of(positions, positions + kPositions, [](std::uint8_t b) { return b != 0; });
}

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

CommandResult SelectSize(Program& p, Prompt& prompt) {
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

CommandResult CopySize(Program& p, Prompt& prompt) {
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
            ChangeBuilder noted;
            noted.NoteSize(p, static_cast<int>(n));
            bool changed = false;
            for (int c = 0; c < p.CamPos.cams(); ++c)
                changed |=
                    CopyPositions(p.CamPos.cam(static_cast<int>(source), c), p.CamPos.cam(static_cast<int>(n), c));
            if (changed) p.FileSaved = false;
            CommandResult r;  // the target is not the size shown: nothing to redraw
            r.changed = changed;
            r.change = noted.Finish(p, Fill(Text(p, txt::kHistCopySize), {CStr(source), CStr(n)}));
            return r;
        }
        prompt.message(p.Text(21) + *answer, p.Text(20), Buttons::Ok, Icon::Exclamation);
        // The source stays the size shown; only the offered target is the refused number.
        defaultText = CStr(n);
    }
}

CommandResult EraseSize(Program& p, Prompt& prompt) {
    if (prompt.message(p.Text(2) + Str(p.CurSize) + "'?", p.Text(3), Buttons::YesNo, Icon::Question) != Answer::Yes)
        return {};
    const int size = p.CurSize;
    bool changed = false;
    for (int c = 0; c < p.CamPos.cams() && p.CamPos.contains(size, c); ++c) changed |= AnyOn(p.CamPos.cam(size, c));
    ChangeBuilder noted;
    noted.NoteSize(p, size);
    ClearSize(p, size);
    if (changed) p.FileSaved = false;
    CommandResult r;
    r.redraw = CommandResult::Chart;
    r.changed = changed;
    r.change = noted.Finish(p, Fill(Text(p, txt::kHistEraseSize), {CStr(size)}));
    return r;
}

CommandResult CopyCam(Program& p, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    auto answer = prompt.input(p.Text(24) + CStr(p.CurCam + 1) + p.Text(25) + CStr(p.NCams) + "]", p.Text(24), "");
    if (!answer || answer->empty()) return {};
    const long t = RoundHalfEven(Val(*answer) - 1);
    if (t < 0 || t > p.NCams - 1 || t >= p.CamPos.cams()) {
        prompt.message(Str(t + 1) + p.Text(26), p.Text(24), Buttons::Ok, Icon::None);
        return {};
    }
    const int size = p.CurSize;
    ChangeBuilder noted;
    noted.NoteCam(p, size, static_cast<int>(t));
    const bool changed = CopyPositions(p.CamPos.cam(size, p.CurCam), p.CamPos.cam(size, static_cast<int>(t)));
    if (changed) p.FileSaved = false;
    CommandResult r = RowResult(static_cast<int>(t), changed);
    r.change = noted.Finish(p, Fill(Text(p, txt::kHistCopyCam), {CStr(p.CurCam + 1), CStr(t + 1), CStr(size)}));
    return r;
}

CommandResult ShiftCam(Program& p, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    auto answer = prompt.input(p.Text(27) + Str(p.CurCam + 1), p.Text(28), "");
    const long k = answer ? ValRounded(*answer) : 0;
    std::uint8_t* positions = p.CamPos.cam(p.CurSize, p.CurCam);
    std::array<std::uint8_t, kPositions> before;
    std::memcpy(before.data(), positions, kPositions);
    ChangeBuilder noted;
    noted.NoteCam(p, p.CurSize, p.CurCam);
    RotatePositions(positions, k);
    const bool changed = !std::equal(before.begin(), before.end(), positions);
    if (changed) p.FileSaved = false;
    CommandResult r = RowResult(p.CurCam, changed);
    r.change = noted.Finish(p, Fill(Text(p, txt::kHistShiftCam), {CStr(p.CurCam + 1), CStr(k)}));
    return r;
}

CommandResult EraseCam(Program& p, Prompt& prompt) {
    if (!CurrentCamValid(p)) return {};
    if (prompt.message(p.Text(15) + Str(p.CurCam + 1) + "'?", p.Text(3), Buttons::YesNo, Icon::Question) != Answer::Yes)
        return {};
    std::uint8_t* positions = p.CamPos.cam(p.CurSize, p.CurCam);
    const bool changed = AnyOn(positions);
    ChangeBuilder noted;
    noted.NoteCam(p, p.CurSize, p.CurCam);
    std::fill_n(positions, kPositions, 0);
    if (changed) p.FileSaved = false;
    CommandResult r = RowResult(p.CurCam, changed);
    r.change = noted.Finish(p, Fill(Text(p, txt::kHistEraseCam), {CStr(p.CurCam + 1), CStr(p.CurSize)}));
    return r;
}

CommandResult EditRemark(Program& p, Prompt& prompt) {
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
    const bool changed = s != old;
    ChangeBuilder noted;
    noted.NoteRemark(p, p.CurCam);
    p.CamRemark[p.CurCam] = s;
    if (changed) p.FileSaved = false;
    CommandResult r = RowResult(p.CurCam, changed);
    r.change = noted.Finish(p, Fill(Text(p, txt::kHistRemark), {CStr(p.CurCam + 1)}));
    return r;
}

}  // namespace cam
