// The value editing, the setting fields and the closing of the functions window.
#include "core/camfile/functions_block.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/functions/functions_form.h"
#include "core/link/functions_wire.h"

#include <algorithm>

namespace cam {

namespace {

// The encoder's fields by number (1..3).
int& ShiftOf(Program& p, int encoder) { return encoder == 3 ? p.EncShift3 : encoder == 2 ? p.EncShift2 : p.EncShift; }
std::uint8_t& DirectionOf(Program& p, int encoder) {
    return encoder == 3 ? p.RotDir3 : encoder == 2 ? p.RotDir2 : p.RotDir;
}

// An emptied field gets its zero text, selected; a number above max gets max.
FieldText Corrected(const std::string& text, const std::string& zero, long max, std::string (*form)(long)) {
    if (text.empty()) return {zero, true};
    const long v = ValRounded(text);
    if (v > max) return {form(max), false};
    if (v < 0) return {zero, true};
    return {text, false};
}

}  // namespace

FunctionsBlock FunctionsOf(const CamData& p) {
    FunctionsBlock b;
    b.AdvOn = p.AdvOn;
    b.NAdvCams = p.NAdvCams;
    b.AdvMs = p.AdvMs;
    b.DelayOn = p.DelayOn;
    b.Delay17_20 = p.Delay17_20;
    b.Delay21_24 = p.Delay21_24;
    b.RatioOn = p.RatioOn;
    b.Ratio25_32 = p.Ratio25_32;
    b.Ratio17On = p.Ratio17On;
    b.OutSize = p.OutSize;
    b.EncShift = p.EncShift;
    b.EncShift2 = p.EncShift2;
    b.EncShift3 = p.EncShift3;
    b.RotDir = p.RotDir;
    b.RotDir2 = p.RotDir2;
    b.RotDir3 = p.RotDir3;
    b.SpeedLimit = p.SpeedLimit;
    b.NEncoders = p.NEncoders;
    return b;
}

void PutFunctions(CamData& p, const FunctionsBlock& f) {
    p.AdvOn = static_cast<std::uint8_t>(f.AdvOn);
    p.NAdvCams = f.NAdvCams;
    // The advances keep the length of the tables in place (NCams of the present model).
    const std::size_t n = p.AdvMs.size();
    p.AdvMs = f.AdvMs;
    p.AdvMs.resize(n, 0);
    p.DelayOn = static_cast<std::uint8_t>(f.DelayOn);
    p.Delay17_20 = static_cast<std::uint8_t>(f.Delay17_20);
    p.Delay21_24 = static_cast<std::uint8_t>(f.Delay21_24);
    p.RatioOn = static_cast<std::uint8_t>(f.RatioOn);
    p.Ratio25_32 = static_cast<std::uint8_t>(f.Ratio25_32);
    p.Ratio17On = static_cast<std::uint8_t>(f.Ratio17On);
    p.OutSize = static_cast<std::uint8_t>(f.OutSize);
    p.EncShift = f.EncShift;
    p.EncShift2 = f.EncShift2;
    p.EncShift3 = f.EncShift3;
    p.RotDir = static_cast<std::uint8_t>(f.RotDir);
    p.RotDir2 = static_cast<std::uint8_t>(f.RotDir2);
    p.RotDir3 = static_cast<std::uint8_t>(f.RotDir3);
    p.SpeedLimit = f.SpeedLimit;
    p.NEncoders = f.NEncoders;
}

void FunctionsForm::typeEntry(const std::string& text) {
    entryText_ = text;
    entryTyped_ = true;
}

void FunctionsForm::moveSlider(int value) {
    if (closed_ || !edited_) return;
    sliderValue_ = std::clamp(value, 0, sliderMax());
    entryText_ = CStr(sliderValue_);
    entryTyped_ = false;
    if (std::uint8_t* v = SlotRef(edited_->slot)) *v = static_cast<std::uint8_t>(sliderValue_);
}

void FunctionsForm::enterValue(const std::string& text) {
    if (closed_ || !edited_) return;
    // Above the slot's maximum: the maximum, in the text and in the table.
    const long v = text.empty() ? 0 : ValRounded(text);
    moveSlider(static_cast<int>(std::clamp<long>(v, 0, sliderMax())));
}

FieldText FunctionsForm::changeOutSize(const std::string& text) {
    const long sizes = std::clamp(p_.NSizes, 0, 255);
    FieldText f = Corrected(text, "00", sizes, &D2);
    outText_ = f.text;
    return f;
}

FieldText FunctionsForm::changeSpeedLimit(const std::string& text) {
    FieldText f = Corrected(text, "0000", kMaxSpeedLimit, &D4);
    speedText_ = f.text;
    return f;
}

FieldText FunctionsForm::changeDirection(const std::string& text) {
    FieldText f = Corrected(text, "0", 1, &CStr);
    dirText_ = f.text;
    dirDirty_ = true;
    return f;
}

void FunctionsForm::changeShift(const std::string& text) {
    shiftText_ = text;
    shiftDirty_ = true;
    reportedShift_.clear();
}

void FunctionsForm::focusField(FuncField) { okDefault_ = false; }

void FunctionsForm::leaveField(FuncField f) {
    if (closed_) return;
    switch (f) {
        case FuncField::OutSize:
        case FuncField::SpeedLimit:
            okDefault_ = true;  // their values reach the tables when the window closes
            break;
        case FuncField::Shift:
            StoreShift();
            break;
        case FuncField::Direction:
            StoreDirection();
            break;
        case FuncField::Entry:
            enterValue(entryText_);
            break;
    }
}

// Encoder 1's shift keeps at least three digits; the other encoders show plain numbers.
void FunctionsForm::ShowListed() {
    const int shift = ShiftOf(p_, listed_);
    shiftText_ = listed_ == 1 ? D3(shift) : CStr(shift);
    dirText_ = CStr(DirectionOf(p_, listed_));
    shiftDirty_ = dirDirty_ = false;
    reportedShift_.clear();
}

// A shift above one revolution is refused with a message and the stored one kept; the
// same refused text is told once.
void FunctionsForm::StoreShift() {
    const long v = ValRounded(shiftText_);
    if (v > kMaxEncShift) {
        if (shiftText_ != reportedShift_) {
            reportedShift_ = shiftText_;
            prompt_.message(Text(p_, txt::kPhaseShiftLimit) + CStr(kMaxEncShift), "", Buttons::Ok, Icon::Exclamation);
        }
        return;
    }
    ShiftOf(p_, listed_) = static_cast<int>(std::max(0L, v));
    shiftDirty_ = false;
}

void FunctionsForm::StoreDirection() {
    DirectionOf(p_, listed_) = static_cast<std::uint8_t>(std::clamp(ValRounded(dirText_), 0L, 1L));
    dirDirty_ = false;
}

void FunctionsForm::CommitEncoderFields() {
    if (shiftDirty_) StoreShift();
    if (dirDirty_) StoreDirection();
}

FocusRequest FunctionsForm::takeFocusRequest() {
    const FocusRequest f = focus_;
    focus_ = FocusRequest::None;
    return f;
}

// The block as closing would store it: the switches, output size and speed limit from the
// window, the shift of the listed encoder when its field holds one that can be stored.
FunctionsBlock FunctionsForm::Pending() const {
    FunctionsBlock b = FunctionsOf(p_);
    b.AdvOn = adv_ ? 1 : 0;
    b.DelayOn = delay_ ? 1 : 0;
    b.Ratio17On = ratio17_ ? 1 : 0;
    b.RatioOn = ratio25_ ? 1 : 0;
    b.OutSize =
        static_cast<int>(std::clamp(ValRounded(outText_), 0L, static_cast<long>(std::clamp(p_.NSizes, 0, 255))));
    b.SpeedLimit = static_cast<int>(std::clamp(ValRounded(speedText_), 0L, static_cast<long>(kMaxSpeedLimit)));
    return b;
}

void FunctionsForm::close() {
    if (closed_) return;
    // What the cursor was still in when the window closed is kept, as leaving it would.
    if (entryTyped_) enterValue(entryText_);
    // The listed encoder's fields are stored once more, even when the cursor never left them.
    CommitEncoderFields();
    PutFunctions(p_, Pending());
    closed_ = true;
    // The ratio of cams 17-32 lives in the program only: the user hears so before a save or a
    // transmission drops it.
    std::string lost = Ratio17NotInFile(p_);
    if (const std::string wire = Ratio17NotSent(p_); !wire.empty()) lost += "\r" + wire;
    if (!lost.empty()) prompt_.message(lost, "", Buttons::Ok, Icon::Information);
}

EntrySelection BackspaceSelection(EntrySelection s) {
    if (s.start <= 0) return s;
    return {s.start - 1, s.length + 1};
}

}  // namespace cam
