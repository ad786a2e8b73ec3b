// Shaping a cam with the mouse on its chart row: a drag on an empty stretch draws a new
// phase, a drag on an end of a phase moves that end, a drag on its middle moves the whole
// phase round the revolution. Whatever the drag gives is written with SetPhase, as a phase
// typed into the boxes is, so the bars, the phase list and the file always agree. While the
// mouse moves the row shows the drag; the release writes it as an edit of the document.
#pragma once

#include "core/model/program.h"

#include <array>
#include <cstdint>
#include <optional>

namespace cam {

// What a press takes hold of.
struct DragGrip {
    enum Kind { NewPhase, OnEnd, OffEnd, Whole };
    Kind kind = NewPhase;
    int on = 0;      // the phase held: its first ON position...
    int length = 0;  // ...and its number of positions, 1..1024 (it may run through position 0)
};

// The grip at position pos (0..1023) of a cam's positions: an end of a phase within reach
// positions of it (inside a short phase only its outer quarters are ends), else the middle
// of a phase, else an empty stretch.
DragGrip GripAt(const std::uint8_t* positions, int pos, int reach);

// A phase in the form SetPhase takes and the boxes show: ON 0..1023, OFF 0..1024 (0 when it
// ends at 1023, 1024 only for the whole revolution).
struct DraggedPhase {
    bool none = true;  // no phase: a new phase not drawn yet (press and mouse on one position)
    int on = 0;
    int off = 0;
};

// x rounded to the nearest multiple of step (step 1: x itself).
int SnapTo(int x, int step);

// The phase a drag gives with the press at from and the mouse now at to (both 0..1024).
// Moved ends and the moved phase's ON snap to multiples of snap; an end never passes the
// other one, and a phase moved past either end of the revolution wraps through position 0.
DraggedPhase DragPhase(const DragGrip& grip, int from, int to, int snap);

// One drag on one cam, from the press to the release (or Esc).
class CamDrag {
public:
    // Takes hold at position from of the cam (size, cam); false outside the tables.
    bool Begin(const CamData& p, int size, int cam, int from, int reach);
    // The mouse at to: the cam shows its positions before the press with the phase held
    // taken away and the dragged phase written by SetPhase. Returns that phase.
    DraggedPhase Move(CamData& p, int to, int snap);
    // Esc: the cam as it was at the press; the drag ends.
    void Cancel(CamData& p);
    // Release: the drag ends and the cam is put back as it was at the press. Returns the
    // positions the drag gives, to be written as an edit, when they differ from those.
    std::optional<std::array<std::uint8_t, kPositions>> Finish(CamData& p);

    bool active() const { return active_; }
    int size() const { return size_; }
    int cam() const { return cam_; }
    const DragGrip& grip() const { return grip_; }
    const DraggedPhase& phase() const { return phase_; }
    const std::array<std::uint8_t, kPositions>& before() const { return before_; }

private:
    bool active_ = false;
    int size_ = 0, cam_ = -1, from_ = 0;
    DragGrip grip_;
    DraggedPhase phase_;
    std::array<std::uint8_t, kPositions> before_{};
};

}  // namespace cam
