// The commands of camctl. Each takes its command line, split and checked against the
// options and arguments of its entry in the command table (main.cpp), and returns the exit
// status: 0 done, 1 failed (the reason is on standard error), 2 wrong usage.
#pragma once

#include "core/model/command_options.h"

namespace cam::cli {

int PhasesCommand(const ParsedArgs& args);
int ConvertCommand(const ParsedArgs& args);
int IdentifyCommand(const ParsedArgs& args);
int SendCommand(const ParsedArgs& args);
int ReceiveCommand(const ParsedArgs& args);
int VerifyHexCommand(const ParsedArgs& args);
int FlashCommand(const ParsedArgs& args);
int AdvanceCommand(const ParsedArgs& args);
int MsgListCommand(const ParsedArgs& args);
int MsgConvertCommand(const ParsedArgs& args);
int MsgSendCommand(const ParsedArgs& args);
int MsgReceiveCommand(const ParsedArgs& args);
int PrintCommand(const ParsedArgs& args);
int DiffCommand(const ParsedArgs& args);
int ExportCommand(const ParsedArgs& args);
int ImportCommand(const ParsedArgs& args);
int PortsCommand(const ParsedArgs& args);
int BackupCommand(const ParsedArgs& args);
int RestoreCommand(const ParsedArgs& args);

}  // namespace cam::cli
