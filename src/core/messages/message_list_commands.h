// The message window's File menu (New, Open, Save, Save as) and its editing and search
// rules: the modify window's label and preview rows, search by number and by text, and the
// lines of the printed list. Every question goes through the prompt; the window renders.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cam {

inline constexpr const char* kMsgWindowCaption = "MESSAGES";
inline constexpr const char* kMsgModifyCaption = "ALARM MESSAGE MODIFY";
inline constexpr const char* kMsgModifyLabel = "MOIDFY  N. 000";
inline constexpr const char* kMsgSearchTitle = "MESSAGGI ALLARME";

// The message window's title after a file was opened or saved under a new name.
std::string MsgOpenedTitle(const std::string& path);

// New: every message emptied (after the unsaved-edits question). False when cancelled.
bool MsgNew(Program& p, Prompt& prompt);
// Open: the unsaved-edits question, the open dialog, then the file read into the list with
// the checks of OpenMsgFile. True when a file was read (MsgFile is then its path; the list is
// the file's).
bool MsgOpen(Program& p, Prompt& prompt);
// Save: asks before overwriting MsgFile; without a file of its own (none, gone, or the
// transfer's scratch file) it is Save as. True when the list was written.
bool MsgSave(Program& p, Prompt& prompt);
// Save as: the save dialog; ".Msg" added to a name without one. True when written (MsgFile
// is then the new path). A failed write says why and changes nothing.
bool MsgSaveAs(Program& p, Prompt& prompt);

// The modify window: "MOIDFY  N. 007" for list index 6, and the two preview rows of a text.
std::string MsgModifyLabel(const std::string& caption, int index);
std::pair<std::string, std::string> MsgPreviewRows(const std::string& text);
// Step 1 of a modification: EditMsgNum and EditMsgText from the selected list entry.
void BeginMsgEdit(Program& p, int index, const std::string& entry);
// The end of a modification: the typed text with OK, nullopt with Clear. The message takes
// EditMsgText (the list's one edit). Returns the new list entry.
std::string EndMsgEdit(Program& p, const std::optional<std::string>& typed);

// Search by number: the list index to select, nullopt when nothing is to be selected (an
// empty, cancelled or non-numeric answer ends silently; a number outside 1..NMsgs is said).
std::optional<int> SearchMsgNumber(const Program& p, Prompt& prompt);
// Search by text (find next) over the list entries, ignoring case, from MsgSearchPos. A
// miss says "TESTO NON TROVATO" and starts the next search at the top.
std::optional<int> SearchMsgText(Program& p, Prompt& prompt, const std::vector<std::string>& entries);
// Windows-1252 text in capitals (accented letters included), for case-insensitive search.
std::string MsgUpper(std::string text);

// The printed list: heading "MESSAGES: ...", "N.007TEXT" for every message that is not
// blank, a line of 30 asterisks.
std::vector<std::string> MsgPrintLines(const Program& p);

}  // namespace cam
