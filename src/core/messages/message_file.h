// The alarm message list in memory and its file (*.Msg): one line per message, CR LF,
// "N. " and the three-digit number, then the text between double quotes when it is not blank.
// The reader takes line k as message k whatever number the line carries.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

inline constexpr int kMaxMsgNumber = 999;  // three digits on the wire and in the file
inline constexpr int kMsgTextLength = 40;  // two display rows of twenty characters
inline constexpr int kMsgRowLength = 20;
inline constexpr const char* kMsgScratchName = "~.~";
// 999 lines of about fifty characters: a larger file is no message file.
inline constexpr std::uintmax_t kMaxMsgFileBytes = 1024 * 1024;

// The messages the list holds: NMsgs within 0..999. AlarmMsg is made large enough for them.
int MsgCount(const Program& p);
void FitMsgTable(Program& p);
// Message k (1-based), "" outside the table.
const std::string& MsgText(const Program& p, int k);

// "N. 007 \"MOTOR OVERLOAD\"" (without the line end); "N. 002" for a blank text.
std::string MsgFileLine(int k, const std::string& text);
// Every line of the list, each ended by CR LF.
std::string MsgFileText(const Program& p);
// The messages 1..count of a message file's bytes (index 0 unused): a line starting with "N"
// gives the characters between its first double quote and its last character, or one blank
// when it has no double quote; any other line, and lines missing at the end, give "".
std::vector<std::string> ParseMsgFile(std::string_view bytes, int count);
// How many lines after the first count lines of a message file hold a message that is not
// blank: what a list of count messages leaves out.
int MsgsBeyond(std::string_view bytes, int count);

// Whether the list holds what it held when it was last read or written (derived, never set:
// a message typed back to its old text is no change; a smaller count that drops a message is).
bool MsgSaved(const Program& p);
// The list now is what a file holds.
void MarkMsgSaved(Program& p);

// Writes the list to MsgFile (durably: a failed write keeps the old file); the list is saved
// after a write that succeeded.
Result WriteMsgFile(Program& p);
// Reads MsgFile into AlarmMsg. Nothing happens for an empty MsgFile; a missing or unreadable
// file shows language text 1 and why, and leaves the list as it was. True when the list was read.
bool LoadReceivedMessages(Program& p, Prompt& prompt);

// Opens a message file chosen by the user into the list (MsgFile is then path): a file that
// does not start with an "N" line is refused as the transmission refuses it ("NAME - wrong
// file format"), and one holding more messages than the list asks first whether to leave
// them out (OK/Cancel). False, with the list, NMsgs and MsgFile as they were, when refused.
bool OpenMsgFile(Program& p, const std::string& path, Prompt& prompt);

// The list entries as the message window shows them: "007 MOTOR OVERLOAD".
std::vector<std::string> MsgList(const Program& p);

// The scratch file of the message transfers: "~.~" in the working folder.
std::string MsgScratchPath(const Program& p);

// With unsaved edits asks "FILE NOT SAVED" / "EXIT ANYWAY ?" (OK/Cancel, Cancel the
// default). True when the list may be closed or replaced.
bool ConfirmMsgDiscard(Program& p, Prompt& prompt);

}  // namespace cam
