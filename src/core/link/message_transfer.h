// Alarm message transfer: the message list to the device ("?AW": one unframed line a
// message, "END" at the end) and from it ("?AR": one framed block a message until "END").
// Both pass through a message file: transmission reads one line by line, reception writes
// the received lines into one that the list is then read from. Sequential code over the
// link, run by the transfer window on its worker thread and by camctl.
#pragma once

#include "core/model/program.h"
#include "core/link/serial_link.h"
#include "core/link/size_transfer.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cam {

// "N007\"ALARM\"" CR: message n on the wire to the device. Line ends inside the text would
// end the line early on the device, so they go as blanks.
std::string MsgWireLine(int n, std::string_view text);

// A message file line read for sending: the number read from character 3 on (the reading
// stops at the first double quote), and the text between the first double quote and the
// last character ("" without a double quote).
struct MsgSendLine {
    int number = 0;
    std::string text;
};
MsgSendLine ReadMsgSendLine(std::string_view line);

// The progress of a line during transmission (of 255 whatever the model) and of a received
// block ("N 007..." of count); both 0..100.
int MsgSendProgress(int number);
std::optional<int> MsgReceiveProgress(std::string_view block, int count);

// The "?M" reply as the transfer window shows it during a transmission: without its last
// three characters, or as it is when it is shorter.
std::string DeviceLineLabel(std::string_view reply);

// The "?AW" branch: sends the message file at path. A file whose first line does not start
// with "N" (an empty one included) is refused with language text 10 and nothing is sent.
// deviceLine is shown during the transfer. True when every line and "END" went out.
bool TransmitMsgBranch(Program& p, Link& link, TransferView& view, const std::string& path,
                       const std::string& deviceLine = "");

// The "?AR" branch: every received block becomes one line of the file at path until "END".
// A block with a bad checksum is written as an empty line (that message stays empty) and
// counted. Silence, a lost port or a stream without frame ends stop the reception with
// "TIMEOUT SERIAL PORT " and the port closed.
struct MsgReception {
    bool identified = false;   // the device answered "?M" (when it was asked)
    bool complete = false;     // "END" arrived
    std::vector<int> damaged;  // lines (message numbers) whose block arrived damaged
    ProgrammerModel model;     // the model the device reported
};
MsgReception ReceiveMsgBranch(Program& p, Link& link, TransferView& view, const std::string& path);

// "Transmit MSG": the list is written to the scratch file "~.~" (that is no save: the list is
// in no file of the user's), then sent; the port is closed at the end.
bool TransmitMsgList(Program& p, Link& link, TransferView& view);
// The transmission of a message file chosen by the user; the port is closed at the end. A
// file with more messages than NMsgs (the device's) asks first whether to send without them.
bool TransmitMsgFile(Program& p, Link& link, TransferView& view, const std::string& path,
                     const std::string& deviceLine);
// "?M" asked for the main window's transmission: the reply as the transfer window shows it,
// nullopt when the port is unusable or the device silent (nothing more is said).
std::optional<std::string> AskDeviceLine(Program& p, Link& link);

// The device side of a reception into path: the device identified first when identify is
// set (p.NMsgs then takes the device's count), then the "?AR" branch; the port is closed.
MsgReception ReceiveMsgs(Program& p, Link& link, TransferView& view, const std::string& path, bool identify);

// The list's side of a reception: only a complete one is taken; when blocks arrived damaged
// the user is asked first. The list is read from path for msgs messages (NMsgs takes that
// count; MsgFile is then path). True when the list was replaced (it then counts as saved: it
// is the device's). Otherwise the list, NMsgs and MsgFile stay as they were.
bool ApplyMsgReception(Program& p, const MsgReception& r, const std::string& path, int msgs, Prompt& prompt);

}  // namespace cam
