// The change history of the tables: every change of the cam positions, the remarks or the
// functions block is kept as what it changed (the cams, remarks and functions block before
// and after), so that any earlier state can be shown and made the present one again.
// It sits beside the one-level Undo of phase entry and never touches its copy.
//
// An entry costs what it changed: one cam is 256 bytes, whatever the number of sizes; a
// reception or a size command costs the cams it changed. The oldest entries go when the
// history holds more than kBudget bytes (never the last kKeptAtLeast), and the tables can be
// walked to the state after any entry still kept.
#pragma once

#include "core/model/program.h"
#include "core/functions/functions_form.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace cam {

// One cam's 1024 positions, one bit each.
using PackedCam = std::bitset<kPositions>;
PackedCam PackCam(const std::uint8_t* positions);
void UnpackCam(const PackedCam& packed, std::uint8_t* positions);

// What one change did, in both directions.
struct Change {
    struct Cam {
        int size, cam;
        PackedCam before, after;
    };
    struct Remark {
        int cam;
        std::string before, after;
    };
    std::string label;  // in the user's words: "phase 0100-0200 of cam 3, size 1"
    std::vector<Cam> cams;
    std::vector<Remark> remarks;
    std::optional<FunctionsBlock> functionsBefore, functionsAfter;
    // The size and cam the change is about, shown when the entry is looked at (0 / -1: none).
    int size = 0;
    int cam = -1;

    bool empty() const { return cams.empty() && remarks.empty() && !functionsBefore; }
    std::size_t bytes() const;  // memory it holds, roughly
};

// Takes the "before" of what a command may change, then, once it ran, keeps what did change.
class ChangeBuilder {
public:
    void NoteCam(const CamData& p, int size, int cam);  // outside the tables: ignored
    void NoteSize(const CamData& p, int size);          // every cam of that size
    void NoteRemark(const CamData& p, int cam);
    void NoteFunctions(const CamData& p);
    void NoteAll(const CamData& p);  // every cam of every size, the remarks, the functions block
    // The tables were dimensioned anew since NoteAll (a device of another model): the before
    // state does not fit them.
    bool Redimensioned(const CamData& p) const;
    Change Finish(const CamData& p, std::string label) const;

private:
    struct NotedCam {
        int size, cam;
        PackedCam before;
    };
    std::vector<NotedCam> cams_;
    std::set<long> camKeys_;
    std::vector<std::pair<int, std::string>> remarks_;
    std::optional<FunctionsBlock> functions_;
    int sizes_ = -1, camsPerSize_ = -1;
};

class ChangeHistory {
public:
    static constexpr std::size_t kBudget = 32u << 20;  // bytes the entries may hold
    static constexpr std::size_t kKeptAtLeast = 16;    // entries kept whatever they hold

    struct Entry {
        int number;  // 1, 2, ... within this history; never reused
        Change change;
    };

    // A new history whose first entry is the present state (file opened, new file...).
    void Start(std::string label);
    // Records a change made to the tables in their present state. An empty change is not
    // recorded (false).
    bool Record(Change change);

    std::size_t count() const { return entries_.size(); }
    const Entry& entry(std::size_t i) const { return entries_.at(i); }
    std::size_t present() const { return entries_.empty() ? 0 : entries_.size() - 1; }
    std::size_t shown() const { return shown_; }
    std::size_t bytes() const { return bytes_; }
    // Entries that went for the budget since the history began.
    int dropped() const { return entries_.empty() ? 0 : entries_.front().number - 1; }

    // Puts the tables in the state after entry i by walking the changes in between; the
    // cost is that of the changes walked. This only shows: the caller returns to the present.
    void Show(CamData& p, std::size_t i);
    // Makes the state after entry i the present one and records that as an entry of its
    // own (labelled by the caller), so that it can be reverted in turn. False when the
    // state after i already is the present one (nothing changes, nothing recorded).
    bool Restore(CamData& p, std::size_t i, std::string label);

private:
    static void Apply(CamData& p, const Change& c, bool forward);
    void DropOldest();
    std::deque<Entry> entries_;
    std::size_t bytes_ = 0;  // what the entries hold
    std::size_t shown_ = 0;
    int next_ = 1;
};

}  // namespace cam
