// Form model of the functions window (FuncSel): the four switches and the advance count,
// the encoder choice, which rows show a value of their own or belong to a block cell, the
// value slot every row edits, the editing area, the field corrections, and what reaches the
// program data at once and what only when the window closes.
//
// Row states follow from the switches, the count and the encoders each time they are asked
// for, so no order of clicks can leave a row showing a value that no switch gives it.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

#include <optional>
#include <string>
#include <vector>

namespace cam {

inline constexpr int kMaxFunctionMs = 210;  // advances and delays
inline constexpr int kMaxRatio = 9;         // ratio 1/n
inline constexpr int kMaxEncShift = 1024;   // one revolution
inline constexpr int kMaxSpeedLimit = 9999;

// The value a row, or the block it belongs to, shows and edits.
enum class SlotKind { Advance, Delay, Ratio };
struct ValueSlot {
    SlotKind kind = SlotKind::Advance;
    int index = 0;  // advance: the AdvMs element; delay: 0 = Delay17_20, 1 = Delay21_24
    bool operator==(const ValueSlot&) const = default;
};

// What the row of cam i+1 shows.
struct RowView {
    bool selectable = false;  // its label can be clicked
    bool cell = false;        // value and bar cell shown: a single row, or the first row of a block
    int span = 1;             // rows its cell covers
    int value = 0;
    int fullScale = kMaxFunctionMs;  // the value that fills the cell: 210, or 9 for the ratio
    bool current = false;            // yellow cell with a blue bar
};

struct SwitchView {
    bool checked = false;
    bool enabled = false;
};

// A field's text after a change; selectAll when a correction put a replacement in.
struct FieldText {
    std::string text;
    bool selectAll = false;
};

// The text fields whose focus matters: the typed entry and the four setting fields.
enum class FuncField { Entry, OutSize, SpeedLimit, Shift, Direction };
// Where the window moves the focus after a rule asked for it.
enum class FocusRequest { None, Count, Entry };

// The functions block as it is stored: compared before and after the window to tell a change.
struct FunctionsBlock {
    int AdvOn = 0, NAdvCams = 0;
    std::vector<std::uint8_t> AdvMs;
    int DelayOn = 0, Delay17_20 = 0, Delay21_24 = 0, RatioOn = 0, Ratio25_32 = 0, Ratio17On = 0, OutSize = 0;
    int EncShift = 0, EncShift2 = 0, EncShift3 = 0, RotDir = 0, RotDir2 = 0, RotDir3 = 0;
    int SpeedLimit = 0, NEncoders = 0;
    bool operator==(const FunctionsBlock&) const = default;
};
FunctionsBlock FunctionsOf(const CamData& p);
// Puts a functions block (as FunctionsOf took it) back into the tables.
void PutFunctions(CamData& p, const FunctionsBlock& f);

class FunctionsForm {
public:
    // Loading: the setting fields in their text forms (output size "07", speed limit "0450",
    // shift of encoder 1 "007", direction "1"), corrected as a change of the field corrects them.
    FunctionsForm(Program& p, Prompt& prompt);

    // Activation: the encoder option from NEncoders (0 counts as 1), the switches from the
    // table (32 cams) or advances only (16 cams), then the count. What the window shows
    // afterwards is what the window starts from.
    void Activate();

    // Encoder options "1E", "2E", "3E" and the encoder list.
    int encoders() const { return encoders_; }
    bool encoderOptionEnabled(int count) const;
    void clickEncoders(int count);
    int listCount() const { return encoders_; }
    bool listEnabled() const { return encoders_ > 1; }
    int listedEncoder() const { return listed_; }
    void chooseListedEncoder(int encoder);

    // The four switches; a refused click (switch disabled) changes nothing.
    SwitchView advances() const { return {adv_, true}; }
    SwitchView delays() const;
    SwitchView ratio17() const;
    SwitchView ratio25() const;
    void clickAdvances(bool on);
    void clickDelays(bool on);
    void clickRatio17(bool on);
    void clickRatio25(bool on);
    int MaxAdvRow() const { return maxAdvRow_; }

    // The advance count box.
    const std::string& countText() const { return countText_; }
    bool countEnabled() const { return adv_; }
    void changeCount(const std::string& text);

    // The rows.
    int rows() const { return rows_; }
    RowView row(int i) const;
    std::string rowLabel(int i) const;  // "1".."32"
    std::string remark(int i) const;
    bool selectRow(int i);  // a click on the row's label; false when it is not selectable
    // The next (step 1) or previous (step -1) row that can be clicked and edits another value
    // than the selected one, selected as a click would: keyboard access to the rows.
    bool selectNeighbour(int step);

    // The editing area: inactive until a row is selected.
    bool editing() const { return edited_.has_value(); }
    std::optional<ValueSlot> editedSlot() const;
    std::string kindCaption() const;  // language text 84, 89 or 92 (149 before a selection)
    std::string rowCaption() const;   // "5", "21 - 24", "17 - 20", "25 - 32"; "00" before
    std::string unit() const;         // "msec.", or "1 /" for the ratio
    int sliderMax() const;
    int largeStep() const;
    int sliderValue() const { return sliderValue_; }
    const std::string& entryText() const { return entryText_; }
    void moveSlider(int value);
    void typeEntry(const std::string& text);   // keys only; applied by enterValue or closing
    void enterValue(const std::string& text);  // Enter, or leaving the entry

    // The setting fields.
    const std::string& outSizeText() const { return outText_; }
    const std::string& speedLimitText() const { return speedText_; }
    const std::string& shiftText() const { return shiftText_; }
    const std::string& directionText() const { return dirText_; }
    FieldText changeOutSize(const std::string& text);
    FieldText changeSpeedLimit(const std::string& text);
    FieldText changeDirection(const std::string& text);
    void changeShift(const std::string& text);
    void focusField(FuncField f);
    void leaveField(FuncField f);
    bool okDefault() const { return okDefault_; }

    // The focus a rule asks for since the last call.
    FocusRequest takeFocusRequest();

    // Closing by any means, once: a value still being typed applied, switches, output size and
    // speed limit stored, the shift and direction fields stored into the listed encoder.
    void close();
    bool closed() const { return closed_; }

private:
    struct Block;
    struct Selection;
    std::optional<Block> BlockOf(int i) const;
    Selection SelectionOf(int i) const;
    bool OneEncoder32() const;
    std::uint8_t* SlotRef(const ValueSlot& s);
    int SlotValue(const ValueSlot& s) const;
    void SetDelays(bool on);
    void SetRatio17(bool on);
    void SetRatio25(bool on);
    void ApplyCount(int count);
    void ApplyMaxAdvRow();
    void AfterChange();
    void ShowListed();
    void StoreShift();
    void StoreDirection();
    void CommitEncoderFields();
    FunctionsBlock Pending() const;

    struct Edited {
        int row;
        ValueSlot slot;
        std::string label;
    };

    Program& p_;
    Prompt& prompt_;
    int rows_ = 0;
    bool cams32_ = true;
    int encoders_ = 1;
    bool optionEnabled_[3] = {true, true, true};
    int listed_ = 1;
    bool adv_ = false, delay_ = false, ratio17_ = false, ratio25_ = false;
    std::string countText_ = "00";
    int maxAdvRow_ = 0;
    std::optional<Edited> edited_;
    int sliderValue_ = 0;
    std::string entryText_ = "000";
    bool entryTyped_ = false;  // typed and not applied yet
    std::string outText_, speedText_, shiftText_, dirText_;
    bool shiftDirty_ = false, dirDirty_ = false;
    std::string reportedShift_;  // a refused shift already told, until the field changes
    bool okDefault_ = true;
    FocusRequest focus_ = FocusRequest::None;
    bool closed_ = false;
};

// Backspace in the typed entry does not delete: the selection grows one character to the
// left, so that the next digit overwrites it (nothing happens at the start of the text).
struct EntrySelection {
    int start = 0;
    int length = 0;
};
EntrySelection BackspaceSelection(EntrySelection s);

}  // namespace cam
