// The rules of phase editing in the main window, without the window: the ON and OFF
// boxes (key filter, what they show on entry and on leaving), writing the phase when the
// OFF box is left, cam selection and navigation, and the one-level undo.
// The window renders this state and forwards its focus, key and mouse events here.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/editor/cam_document.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace cam {

// What a typed character does in the ON or OFF box.
struct BoxKey {
    enum Kind { Insert, Commit } kind;
    char ch = 0;  // the character to insert (Insert only)
};
// Digits are taken as typed; Enter (13) and Tab (9) commit the box; any other character,
// Backspace included, is typed as "0".
BoxKey FilterBoxKey(int ch);

// Enter or Tab: the box shows its whole-number value in four digits ("" and "x" give 0000).
std::string CommitBoxText(std::string_view text);
// Leaving a box: "000" in front of the text without its leading blanks, the last four kept.
std::string PadBoxText(std::string_view text);
// The leading number of a box text, rounded (0 when there is none).
long BoxNumber(std::string_view text);

// Highest value each box accepts. The OFF box takes 1024 so that a cam ON over the whole
// revolution, listed as "F001 0000 1024", can be entered again as it is listed.
inline constexpr int kMaxOn = 1023;
inline constexpr int kMaxOff = 1024;

enum class NavKey { PageUp, PageDown, Home, End };
// The cam selected by a navigation key; PageUp and PageDown wrap around.
int NavigateCam(NavKey key, long curCam, int nCams);

class PhaseEditor {
public:
    // p is the run (view, texts, undo copy); its program data changes only through doc.
    PhaseEditor(Program& p, CamDocument& doc) : p_(p), doc_(doc) {}

    // Boxes and their heading shown (edit mode) or hidden (browsing).
    bool editMode() const { return editMode_; }
    bool offEnabled() const { return offEnabled_; }
    // Undo applies while the document is as the phase write left it: any other change
    // (a size command, a reception, the history) makes the copy stale.
    bool undoEnabled() const { return undoEnabled_ && undoRevision_ == doc_.revision(); }
    bool onEdited() const { return onEdited_; }
    const std::string& savedOn() const { return savedOn_; }
    const std::string& savedOff() const { return savedOff_; }
    // What the boxes show after the last call.
    const std::string& onText() const { return onText_; }
    const std::string& offText() const { return offText_; }

    void LeaveEditMode() { editMode_ = false; }

    // Left click on cam row i, in two steps so that the window can close the boxes (which
    // writes a phase being entered into the cam it belongs to) in between:
    // AcceptCamClick is false when the click is refused (message through prompt) or is the
    // one swallowed after a right click; SelectCam then leaves edit mode and makes cam i
    // current (the window redraws and moves the focus to the Modify Cam button).
    bool AcceptCamClick(int i, Prompt& prompt);
    void SelectCam(int i);
    // A double click, a remark double click or a navigation key names its cam itself: the
    // click swallowed after a right click is no reason to act on another cam. True when cam i
    // must be selected first (it is not the current one).
    bool PointAt(int i);
    // Right button released on cam row i: selects it; returns true when the current cam
    // changed (the window redraws). The left click that follows is ignored.
    bool CamRightClick(int i);
    // Opens cam i for editing with its first listed phase in the boxes; the focus goes to the ON box.
    void OpenCam(int i);
    // A phase list entry ("F001 0100 0200") picked with a click.
    void PickEntry(std::string_view entry);
    // The same with a double click: also enables the OFF box; the focus goes to the ON box.
    void PickEntryAndEdit(std::string_view entry);

    // Focus and keys of the boxes. The window passes the box text as it is now.
    void OnFocusIn();
    void OffFocusIn();
    void OnKeyTyped() { onEdited_ = true; }
    void OnFocusOut(std::string_view onBox);
    // Writes the phase of the two boxes into the cam it was typed for (the size and cam
    // current when the cam or the entry was opened, or the ON box entered), as an edit of
    // the document; a write that changes the cam keeps an undo copy first. Returns false
    // when that cam is outside the tables (nothing written).
    bool OffFocusOut(std::string_view onBox, std::string_view offBox);

    // Restores the current cam from the undo copy. Returns false when undo is not possible.
    bool Undo();
    // The chart now shows size and cam: showing another cam or another size disables undo,
    // since the copy belongs to one cam of one size.
    void ChartShown(long size, long cam);
    // New tables (New, Open): the undo copy belongs to data that is gone.
    void ForgetUndo() { undoEnabled_ = false; }

    // The cam whose row takes a drag: the cam open for editing while its size is shown
    // (-1 while browsing).
    int dragCam() const;
    // A drag on cam (size, cam) gave the positions dragged with the phase on-off: written as
    // a phase entry (an edit with an undo copy), and the boxes show the phase.
    void WriteDrag(int size, int cam, const std::array<std::uint8_t, kPositions>& dragged, int on, int off);

private:
    Program& p_;
    CamDocument& doc_;
    bool editMode_ = false;
    bool offEnabled_ = false;  // enabled when a cam is opened for editing
    bool undoEnabled_ = false;
    bool onEdited_ = false;
    bool suppressCamClick_ = false;
    std::string savedOn_ = "0000";
    std::string savedOff_ = "0000";
    std::string onText_ = "0000";
    std::string offText_ = "0000";
    long shownSize_ = -1;
    long shownCam_ = -1;
    struct Target {
        long size = 0;
        long cam = -1;
    };
    void AimAtCurrentCam() { target_ = {p_.CurSize, p_.CurCam}; }
    Target target_;      // where the phase in the boxes goes
    Target undoTarget_;  // whose positions the undo copy holds
    long undoRevision_ = -1;
    // Writes the cam (size, cam) as an edit labelled for the phase on-off; the positions
    // before it become the undo copy when it changed them.
    void WritePhase(int size, int cam, int on, int off, const std::function<void(CamData&)>& write);
};

}  // namespace cam
