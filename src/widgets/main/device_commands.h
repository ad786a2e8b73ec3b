// The serial port of a camdesk run and the main window's commands that use it:
// identification at start-up and from AutoSelect, the connection status, the port window,
// Size Transmit, Size Receive, Compare with Device, Update FLASH, the message window and the alarm message transfers.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

namespace cam {

class MainWindow;
class QtLinePort;

void ConnectDevice(MainWindow& window, Program& p, Prompt& prompt, QtLinePort& port);

}  // namespace cam
