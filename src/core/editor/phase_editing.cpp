#include "core/editor/phase_editing.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/phase_list.h"

#include <algorithm>

namespace cam {

BoxKey FilterBoxKey(int ch) {
    if (ch >= '0' && ch <= '9') return {BoxKey::Insert, static_cast<char>(ch)};
    if (ch == 13 || ch == 9) return {BoxKey::Commit, 0};
    return {BoxKey::Insert, '0'};
}

std::string CommitBoxText(std::string_view text) { return D4(std::max(0L, BoxNumber(text))); }

std::string PadBoxText(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    std::string_view rest = first == std::string_view::npos ? std::string_view{} : text.substr(first);
    return Right("000" + std::string(rest), 4);
}

long BoxNumber(std::string_view text) { return ValRounded(text); }

int NavigateCam(NavKey key, long curCam, int nCams) {
    if (nCams <= 0) return 0;
    switch (key) {
        case NavKey::PageUp:
            return curCam <= 0 || curCam > nCams - 1 ? nCams - 1 : static_cast<int>(curCam - 1);
        case NavKey::PageDown:
            return curCam >= nCams - 1 || curCam < 0 ? 0 : static_cast<int>(curCam + 1);
        case NavKey::Home:
            return 0;
        case NavKey::End:
            return nCams - 1;
    }
    return 0;
}

bool PhaseEditor::AcceptCamClick(int i, Prompt& prompt) {
    if (i < 0 || i >= p_.NCams) {
        prompt.message(p_.Text(71), "", Buttons::Ok, Icon::Stop);
        return false;
    }
    if (suppressCamClick_) {
        suppressCamClick_ = false;
        return false;
    }
    return true;
}

void PhaseEditor::SelectCam(int i) {
    LeaveEditMode();
    if (i >= 0 && i < p_.NCams) p_.CurCam = i;
}

bool PhaseEditor::PointAt(int i) {
    suppressCamClick_ = false;
    return i >= 0 && i < p_.NCams && i != p_.CurCam;
}

bool PhaseEditor::CamRightClick(int i) {
    if (i < 0 || i >= p_.NCams) return false;
    const bool changed = p_.CurCam != i;
    p_.CurCam = i;
    suppressCamClick_ = true;
    return changed;
}

void PhaseEditor::OpenCam(int i) {
    if (i >= 0 && i < p_.NCams && i != p_.CurCam) {
        p_.CurCam = i;
        undoEnabled_ = false;  // the copy belongs to the cam that was current
    }
    AimAtCurrentCam();
    editMode_ = true;
    offEnabled_ = true;
    const auto entries = PhaseListEntries(p_, p_.CurSize, p_.CurCam);
    if (!entries.empty()) {
        savedOn_ = Mid(entries.front(), 6, 4);
        savedOff_ = Mid(entries.front(), 11, 4);
    } else {
        savedOn_ = savedOff_ = "0000";
    }
}

void PhaseEditor::PickEntry(std::string_view entry) {
    AimAtCurrentCam();
    editMode_ = true;
    savedOn_ = Mid(entry, 6, 4);
    savedOff_ = Mid(entry, 11, 4);
    onText_ = savedOn_;
    offText_ = savedOff_;
}

void PhaseEditor::PickEntryAndEdit(std::string_view entry) {
    PickEntry(entry);
    offEnabled_ = true;
}

void PhaseEditor::OnFocusIn() {
    AimAtCurrentCam();
    onText_ = savedOn_;
    offText_ = savedOff_;
    onEdited_ = false;
}

void PhaseEditor::OffFocusIn() { offText_ = savedOff_; }

void PhaseEditor::OnFocusOut(std::string_view onBox) {
    onText_ = onEdited_ ? PadBoxText(onBox) : savedOn_;
    savedOn_ = onText_;
    if (BoxNumber(onText_) > kMaxOn) onText_ = D4(kMaxOn);
}

bool PhaseEditor::OffFocusOut(std::string_view onBox, std::string_view offBox) {
    offText_ = PadBoxText(offBox);
    if (BoxNumber(offText_) > kMaxOff) offText_ = D4(kMaxOff);
    savedOff_ = offText_;
    const int size = static_cast<int>(target_.size);
    const int cam = static_cast<int>(target_.cam);
    if (!p_.CamPos.contains(size, cam)) return false;
    // The ON box was limited when it was left; limit again in case it never had the focus.
    const int on = static_cast<int>(std::clamp(BoxNumber(onBox), 0L, static_cast<long>(kMaxOn)));
    const int off = static_cast<int>(std::clamp(BoxNumber(offText_), 0L, static_cast<long>(kMaxOff)));
    WritePhase(size, cam, on, off, [&](CamData& d) { SetPhase(d, size, cam, on, off); });
    return true;
}

void PhaseEditor::WritePhase(int size, int cam, int on, int off, const std::function<void(CamData&)>& write) {
    std::array<std::uint8_t, kPositions> before;
    std::copy_n(p_.CamPos.cam(size, cam), kPositions, before.begin());
    const std::string label = on == off
                                  ? Fill(Text(p_, txt::kHistPhaseRemoved), {D4(on), CStr(cam + 1), CStr(size)})
                                  : Fill(Text(p_, txt::kHistPhase), {D4(on), D4(off), CStr(cam + 1), CStr(size)});
    // A write that changes nothing leaves the undo copy of the last one that did.
    if (!doc_.Edit(EditScope::Cam(size, cam), label, write)) return;
    p_.UndoPos = before;
    undoTarget_ = {size, cam};
    undoEnabled_ = true;
    undoRevision_ = doc_.revision();
}

int PhaseEditor::dragCam() const {
    if (!editMode_ || target_.size != p_.CurSize || !p_.CamPos.contains(p_.CurSize, static_cast<int>(target_.cam)))
        return -1;
    return static_cast<int>(target_.cam);
}

void PhaseEditor::WriteDrag(int size, int cam, const std::array<std::uint8_t, kPositions>& dragged, int on,
                            int off) {
    if (!p_.CamPos.contains(size, cam)) return;
    WritePhase(size, cam, on, off, [&](CamData& d) { std::copy(dragged.begin(), dragged.end(), d.CamPos.cam(size, cam)); });
    savedOn_ = onText_ = D4(on);
    savedOff_ = offText_ = D4(off);
}

bool PhaseEditor::Undo() {
    const int size = p_.CurSize;
    const int cam = p_.CurCam;
    // The copy goes back only into the cam it was taken from, and only while nothing else
    // changed the document since.
    if (!undoEnabled() || undoTarget_.size != size || undoTarget_.cam != cam || !p_.CamPos.contains(size, cam))
        return false;
    undoEnabled_ = false;
    doc_.Edit(EditScope::Cam(size, cam), Fill(Text(p_, txt::kHistUndo), {CStr(cam + 1), CStr(size)}),
              [&](CamData& d) { std::copy(p_.UndoPos.begin(), p_.UndoPos.end(), d.CamPos.cam(size, cam)); });
    return true;
}

void PhaseEditor::ChartShown(long size, long cam) {
    if (size != shownSize_ || cam != shownCam_) undoEnabled_ = false;
    shownSize_ = size;
    shownCam_ = cam;
}

}  // namespace cam
