// The Sizes menu and the remark edit: each command asks through the prompt, changes the
// program data as an edit of the document (recorded in the history) and tells the window
// what to redraw.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/editor/cam_document.h"

namespace cam {

struct CommandResult {
    enum Redraw { None, Row, Chart };
    Redraw redraw = None;
    int row = -1;              // cam index of the row to redraw (Redraw::Row)
    bool changed = false;      // positions or a remark changed
    bool sizeChanged = false;  // CurSize changed: the window disables Undo
};

// The size spinner: one size up (+1) or down (-1), stopping at 1 and at NSizes (no wrap).
// True when CurSize changed.
bool StepSize(Program& p, int step);

// Asks for a size 1..NSizes and makes it current.
CommandResult SelectSize(Program& p, CamDocument& doc, Prompt& prompt);
// Copies every cam of the current size onto another size (asked again after a refused number;
// the source stays the size shown).
CommandResult CopySize(Program& p, CamDocument& doc, Prompt& prompt);
// Clears the current size after a Yes.
CommandResult EraseSize(Program& p, CamDocument& doc, Prompt& prompt);
// Copies the current cam onto another cam of the current size.
CommandResult CopyCam(Program& p, CamDocument& doc, Prompt& prompt);
// Rotates the current cam by an asked number of positions (negative: towards lower positions).
CommandResult ShiftCam(Program& p, CamDocument& doc, Prompt& prompt);
// Clears the current cam of the current size after a Yes; the remark stays.
CommandResult EraseCam(Program& p, CamDocument& doc, Prompt& prompt);
// Edits the remark of CurCam: at most 20 characters, confirmation before clearing one.
CommandResult EditRemark(Program& p, CamDocument& doc, Prompt& prompt);

// Rotation of one cam's 1024 positions by k (any whole number): used by ShiftCam.
void RotatePositions(std::uint8_t* positions, long k);

}  // namespace cam
