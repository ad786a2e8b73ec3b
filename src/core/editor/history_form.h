// The rules of the History window, without the window: the list of entries, the state
// shown on the chart while an entry is picked, Restore and Close.
#pragma once

#include "core/model/program.h"
#include "core/editor/cam_document.h"

#include <string>
#include <vector>

namespace cam {

class HistoryForm {
public:
    // The chart's size and cam at the opening are where Close returns to.
    HistoryForm(Program& p, CamDocument& doc);

    // One row per entry, oldest first: "  12  phase 0100-0200 of cam 3, size 1".
    std::vector<std::string> Rows() const;
    // How far back the history reaches, and what it holds of its budget.
    std::string ReachText() const;
    int presentRow() const { return static_cast<int>(doc_.history().present()); }
    int selectedRow() const { return selected_; }
    bool restoreEnabled() const { return selected_ >= 0 && selected_ != presentRow(); }
    // A Restore changed the tables since the opening.
    bool restored() const { return restored_; }

    // Picking an entry: the tables show the state after it, the chart its size and cam.
    void Select(int row);
    // The state shown becomes the present one, recorded as an entry of its own; the new
    // entry is selected. False when nothing changed.
    bool Restore();
    // Leaving the window: the present state again, on the size and cam shown at the opening
    // (or at the last Restore).
    void Close();

private:
    void Focus(int row);
    Program& p_;
    CamDocument& doc_;
    int selected_ = -1;
    bool restored_ = false;
    int homeSize_, homeCam_;
};

}  // namespace cam
