// The commands of camctl. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 failed (the reason is on standard error), 2 wrong usage.
#pragma once

#include <string>
#include <vector>

namespace cam::cli {

int PhasesCommand(const std::vector<std::string>& args);
int ConvertCommand(const std::vector<std::string>& args);
int IdentifyCommand(const std::vector<std::string>& args);
int SendCommand(const std::vector<std::string>& args);
int ReceiveCommand(const std::vector<std::string>& args);
int VerifyHexCommand(const std::vector<std::string>& args);
int FlashCommand(const std::vector<std::string>& args);
int AdvanceCommand(const std::vector<std::string>& args);
int MsgListCommand(const std::vector<std::string>& args);
int MsgConvertCommand(const std::vector<std::string>& args);
int MsgSendCommand(const std::vector<std::string>& args);
int MsgReceiveCommand(const std::vector<std::string>& args);
int PrintCommand(const std::vector<std::string>& args);
int DiffCommand(const std::vector<std::string>& args);
int ExportCommand(const std::vector<std::string>& args);
int ImportCommand(const std::vector<std::string>& args);
int BackupCommand(const std::vector<std::string>& args);
int RestoreCommand(const std::vector<std::string>& args);

}  // namespace cam::cli
