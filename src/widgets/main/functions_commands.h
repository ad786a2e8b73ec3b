// The main window's commands of the functions configuration and the tools that need no
// device: Functions and Advance Demo.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

namespace cam {

class MainWindow;

void ConnectFunctions(MainWindow& window, Program& p, Prompt& prompt);

}  // namespace cam
