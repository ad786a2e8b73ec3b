// The four alarm message transfer commands as camdesk runs them: the transfer window over a
// worker thread (LinkRunner), the list replaced on the screen's thread afterwards.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

class QWidget;

namespace cam {

class QtLinePort;

// "Transmit MSG" of the message window: the list goes to the device. True when sent.
bool RunMsgListTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);
// "Receive MSG" of the message window: after the unsaved-edits question, the device's list
// replaces it (MsgFile stays the list's file). True when the list was replaced.
bool RunMsgListReceive(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);
// "&Alarm Msg Transmit" of the main window: the device's identification line, then a message
// file chosen by the user goes to the device. Cancelling the choice, or a missing file, ends
// the command with the port closed. True when sent.
bool RunMsgFileTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);
// "Alarm &Msg Receive" of the main window: after the unsaved-edits question, the device is
// identified and its list replaces the program's (NMsgs the device's, MsgFile the scratch
// file). True when the list was replaced.
bool RunMsgReceive(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);

}  // namespace cam
