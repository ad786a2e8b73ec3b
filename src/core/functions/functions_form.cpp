// The switch, count, encoder and row rules of the functions window.
#include "core/functions/functions_form.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <utility>

namespace cam {

// A block of rows drawn as one cell: an advance group (several encoders), the delay blocks
// or a ratio block (one encoder, 32 cams).
struct FunctionsForm::Block {
    int first = 0;
    int span = 4;
    int lastSelectable = 0;  // rows first..lastSelectable can be clicked
    ValueSlot slot;
    int currentDivisor = 0;  // current when CurCam \ d * d = first; 0: when CurCam = first
};

// Which cam becomes current, which slot is edited and how the row is named, for a click.
struct FunctionsForm::Selection {
    int cam = 0;
    ValueSlot slot;
    std::string label;
};

FunctionsForm::FunctionsForm(Program& p, Prompt& prompt) : p_(p), prompt_(prompt) {
    rows_ = std::clamp(std::min(p.NCams, static_cast<int>(p.AdvMs.size())), 0, kMaxCams);
    cams32_ = p.NCams == 32;
    // The fields are filled as a change of their text fills them, corrections included.
    changeOutSize(D2(p.OutSize));
    changeSpeedLimit(D4(p.SpeedLimit));
    shiftText_ = D3(p.EncShift);
    changeDirection(CStr(p.RotDir));
    dirDirty_ = false;
}

void FunctionsForm::Activate() {
    const int n = p_.NEncoders;
    const int option = n <= 1 ? 1 : std::min(n, 3);
    // An encoder count can be lowered here but raised only by the programmer window.
    for (int k = 0; k < 3; ++k) optionEnabled_[k] = k < option;
    clickEncoders(option);
    if (cams32_) {
        clickAdvances(p_.AdvOn != 0);
        // Delays and ratios exist with one encoder only; a table that holds them with several
        // encoders does not turn them on over the advance groups.
        if (encoders_ == 1) {
            if (p_.DelayOn != 0) SetDelays(true);
            if (p_.Ratio17On != 0) {
                SetRatio17(true);
            } else if (p_.RatioOn != 0) {
                SetRatio25(true);
            }
        }
    } else {
        clickAdvances(p_.NAdvCams > 0 || p_.AdvOn != 0);
        delay_ = ratio17_ = ratio25_ = false;
    }
    changeCount(CStr(p_.NAdvCams));
    focus_ = FocusRequest::None;
}

bool FunctionsForm::encoderOptionEnabled(int count) const {
    return count >= 1 && count <= 3 && optionEnabled_[count - 1];
}

void FunctionsForm::clickEncoders(int count) {
    if (closed_ || !encoderOptionEnabled(count)) return;
    CommitEncoderFields();  // what was typed belongs to the encoder it was typed for
    encoders_ = count;
    p_.NEncoders = count;
    if (count > 1) {
        if (delay_) SetDelays(false);
        if (ratio17_) SetRatio17(false);
        if (ratio25_) SetRatio25(false);
    }
    listed_ = 1;
    ShowListed();
    // The count rules of the new encoder count: several encoders take at most 16 advances,
    // and one encoder takes delays and ratios only below their counts.
    ApplyCount(p_.NAdvCams);
    ApplyMaxAdvRow();
    AfterChange();
}

void FunctionsForm::chooseListedEncoder(int encoder) {
    if (closed_ || encoder < 1 || encoder > listCount()) return;
    CommitEncoderFields();
    listed_ = encoder;
    ShowListed();
}

bool FunctionsForm::OneEncoder32() const { return encoders_ == 1 && cams32_ && rows_ == 32; }

// Delays and ratio 17-32 both cover cams 17-24, ratio 17-32 and ratio 25-32 both cams 25-32:
// a switch is offered only while the other one is off and the advances leave its cams free.
SwitchView FunctionsForm::delays() const { return {delay_, OneEncoder32() && p_.NAdvCams <= 16 && !ratio17_}; }
SwitchView FunctionsForm::ratio17() const {
    return {ratio17_, OneEncoder32() && p_.NAdvCams <= 16 && !delay_ && !ratio25_};
}
SwitchView FunctionsForm::ratio25() const { return {ratio25_, OneEncoder32() && p_.NAdvCams <= 24 && !ratio17_}; }

void FunctionsForm::clickAdvances(bool on) {
    if (closed_) return;
    adv_ = on;
    if (on) {
        focus_ = FocusRequest::Count;
    } else {
        changeCount("0");
    }
    // After the rows: the rows were rebuilt with the highest advance row of before the click.
    ApplyMaxAdvRow();
    AfterChange();
}

void FunctionsForm::clickDelays(bool on) {
    if (closed_ || (on && !delays().enabled)) return;
    delay_ = on;
    ApplyMaxAdvRow();
    SetDelays(on);
    AfterChange();
}

void FunctionsForm::clickRatio17(bool on) {
    if (closed_ || (on && !ratio17().enabled)) return;
    SetRatio17(on);
    ApplyMaxAdvRow();
    AfterChange();
}

void FunctionsForm::clickRatio25(bool on) {
    if (closed_ || (on && !ratio25().enabled)) return;
    SetRatio25(on);
    ApplyMaxAdvRow();
    AfterChange();
}

void FunctionsForm::SetDelays(bool on) {
    delay_ = on;
    if (on) ratio17_ = false;
    ApplyMaxAdvRow();
}

void FunctionsForm::SetRatio17(bool on) {
    ratio17_ = on;
    p_.Ratio17On = on ? 1 : 0;  // at once, unlike the other switches
    if (on) ratio25_ = delay_ = false;
    ApplyMaxAdvRow();
}

void FunctionsForm::SetRatio25(bool on) {
    ratio25_ = on;
    if (on && ratio17_) SetRatio17(false);
    ApplyMaxAdvRow();
}

void FunctionsForm::ApplyMaxAdvRow() {
    if (encoders_ == 1) {
        maxAdvRow_ = !adv_ ? 0 : (delay_ || ratio17_) ? 15 : ratio25_ ? 23 : rows_ - 1;
    } else if (encoders_ == 2 && !cams32_) {
        maxAdvRow_ = 7;
    }
}

void FunctionsForm::changeCount(const std::string& text) {
    if (closed_) return;
    long count = 0;
    if (text.size() == 1 || text.size() == 2) {
        countText_ = text;
        count = ValRounded(text);
    } else {
        countText_ = "0";
    }
    // Above the cam count: no advances, the typed text stays.
    if (count < 0 || count > rows_) count = 0;
    ApplyCount(static_cast<int>(count));
    AfterChange();
}

void FunctionsForm::ApplyCount(int count) {
    if (encoders_ > 1 && count > 16) count = 0;
    p_.NAdvCams = count;
    if (encoders_ == 1) {
        if (count > 24 && ratio25_) SetRatio25(false);
        if (count > 16 && ratio17_) SetRatio17(false);
        if (count > 16 && delay_) SetDelays(false);
    }
}

std::optional<FunctionsForm::Block> FunctionsForm::BlockOf(int i) const {
    if (i < 0 || i >= rows_) return std::nullopt;
    auto group = [](int first) { return Block{first, 4, first + 3, {SlotKind::Advance, first}, 0}; };
    if (encoders_ > 1) {
        if (cams32_ && rows_ == 32 && i >= 16) return group(i / 4 * 4);
        if (!cams32_ && encoders_ == 2 && i >= 8 && i < 16) return group(i / 4 * 4);
        return std::nullopt;
    }
    if (!OneEncoder32() || i < 16) return std::nullopt;
    // Ratio 17-32 covers cams 17-32 and is reached from cams 17-24.
    if (ratio17_) return Block{16, 16, 23, {SlotKind::Ratio, 0}, 16};
    if (delay_ && i < 24) {
        const int first = i / 4 * 4;
        return Block{first, 4, first + 3, {SlotKind::Delay, first == 16 ? 0 : 1}, 4};
    }
    if (ratio25_ && i >= 24) return Block{24, 8, 31, {SlotKind::Ratio, 0}, 8};
    return std::nullopt;
}

RowView FunctionsForm::row(int i) const {
    RowView r;
    if (i < 0 || i >= rows_) return r;
    if (const std::optional<Block> b = BlockOf(i)) {
        r.selectable = i <= b->lastSelectable;
        if (i == b->first) {
            r.cell = true;
            r.span = b->span;
            r.value = SlotValue(b->slot);
            r.fullScale = b->slot.kind == SlotKind::Ratio ? kMaxRatio : kMaxFunctionMs;
            const int d = b->currentDivisor;
            r.current = d == 0 ? p_.CurCam == b->first : p_.CurCam >= 0 && p_.CurCam / d * d == b->first;
        }
        return r;
    }
    if (adv_ && i < p_.NAdvCams) {
        r.selectable = r.cell = true;
        r.value = p_.AdvMs[i];
        r.current = i == p_.CurCam;
    }
    return r;
}

std::string FunctionsForm::rowLabel(int i) const { return CStr(i + 1); }

std::string FunctionsForm::remark(int i) const {
    return i >= 0 && i < static_cast<int>(p_.CamRemark.size()) ? p_.CamRemark[i] : std::string();
}

FunctionsForm::Selection FunctionsForm::SelectionOf(int i) const {
    Selection s{i, {SlotKind::Advance, i}, CStr(i + 1)};
    if (encoders_ > 1) {
        // Beyond the single advances every row stands for its group of four.
        if (i > (cams32_ ? 15 : 7)) {
            s.cam = i / 4 * 4;
            s.slot.index = s.cam;
            s.label = CStr(s.cam + 1) + " - " + CStr(s.cam + 4);
        }
        return s;
    }
    if (i >= 16 && i < 24 && delay_) return {i, {SlotKind::Delay, i < 20 ? 0 : 1}, i < 20 ? "17 - 20" : "21 - 24"};
    if (i >= 16 && i < 24 && ratio17_) return {i, {SlotKind::Ratio, 0}, "17 - 24"};
    if (i >= 24 && ratio25_) return {i, {SlotKind::Ratio, 0}, "25 - 32"};
    return s;
}

namespace {

// The table element a slot names, for a program and for a read-only one; none when outside AdvMs.
template <class P>
auto SlotIn(P& p, const ValueSlot& s) -> decltype(&p.Ratio25_32) {
    switch (s.kind) {
        case SlotKind::Advance:
            return s.index >= 0 && s.index < static_cast<int>(p.AdvMs.size()) ? &p.AdvMs[s.index] : nullptr;
        case SlotKind::Delay:
            return s.index == 0 ? &p.Delay17_20 : &p.Delay21_24;
        case SlotKind::Ratio:
            return &p.Ratio25_32;
    }
    return nullptr;
}

}  // namespace

std::uint8_t* FunctionsForm::SlotRef(const ValueSlot& s) { return SlotIn(p_, s); }

int FunctionsForm::SlotValue(const ValueSlot& s) const {
    const std::uint8_t* v = SlotIn(std::as_const(p_), s);
    return v ? *v : 0;
}

bool FunctionsForm::selectRow(int i) {
    if (closed_ || !row(i).selectable) return false;
    const Selection s = SelectionOf(i);
    p_.CurCam = s.cam;
    edited_ = Edited{i, s.slot, s.label};
    // A value from a file or the device beyond the slot's range is brought into it here,
    // before the slider shows it.
    std::uint8_t* v = SlotRef(s.slot);
    const int max = sliderMax();
    if (v && *v > max) *v = static_cast<std::uint8_t>(max);
    sliderValue_ = v ? *v : 0;
    entryText_ = CStr(sliderValue_);
    entryTyped_ = false;
    focus_ = FocusRequest::Entry;
    return true;
}

bool FunctionsForm::selectNeighbour(int step) {
    if (closed_ || (step != 1 && step != -1)) return false;
    const int from = edited_ ? edited_->row : step > 0 ? -1 : rows_;
    for (int i = from + step; i >= 0 && i < rows_; i += step) {
        if (!row(i).selectable) continue;
        const Selection s = SelectionOf(i);
        if (edited_ && s.slot == edited_->slot && s.label == edited_->label) continue;  // same block
        return selectRow(i);
    }
    return false;
}

// A selected row whose label can no longer be clicked leaves the editing area; one whose
// slot changed is selected again.
void FunctionsForm::AfterChange() {
    if (!edited_) return;
    const int i = edited_->row;
    if (!row(i).selectable) {
        edited_.reset();
        sliderValue_ = 0;
        entryText_ = "000";
        entryTyped_ = false;
        return;
    }
    const Selection s = SelectionOf(i);
    if (!(s.slot == edited_->slot) || s.label != edited_->label) {
        const FocusRequest keep = focus_;
        selectRow(i);
        focus_ = keep;
    }
}

std::optional<ValueSlot> FunctionsForm::editedSlot() const {
    if (!edited_) return std::nullopt;
    return edited_->slot;
}

std::string FunctionsForm::kindCaption() const {
    if (!edited_) return Text(p_, txt::kFuncEditedValue);
    switch (edited_->slot.kind) {
        case SlotKind::Delay:
            return Text(p_, txt::kDelayKind);
        case SlotKind::Ratio:
            return Text(p_, txt::kRatioKind);
        case SlotKind::Advance:
            break;
    }
    return Text(p_, txt::kAdvanceKind);
}

std::string FunctionsForm::rowCaption() const { return edited_ ? edited_->label : "00"; }

std::string FunctionsForm::unit() const {
    if (!edited_) return "mSec.";
    return edited_->slot.kind == SlotKind::Ratio ? "1 /" : "msec.";
}

int FunctionsForm::sliderMax() const {
    return edited_ && edited_->slot.kind == SlotKind::Ratio ? kMaxRatio : kMaxFunctionMs;
}

int FunctionsForm::largeStep() const { return edited_ && edited_->slot.kind == SlotKind::Ratio ? 2 : 25; }

}  // namespace cam
