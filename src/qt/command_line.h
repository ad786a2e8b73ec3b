// The one command-line parser of camdesk, camctl and camsim (QCommandLineParser underneath):
// --name VALUE and --name=VALUE, switches, -h and --help, "--" after which every word is an
// argument; a clear message for an unknown option, a missing value, a value given to a
// switch, a missing or an extra argument. And the help every program prints from the same
// tables. Also what each of them does first: a private runtime folder.
#pragma once

#include "core/model/command_options.h"

#include <string>
#include <vector>

namespace cam {

struct SplitArgs {
    ParsedArgs args;
    bool help = false;  // -h or --help: the caller prints the help and ends
    std::string error;  // why the command line cannot be taken; "" when it can
    bool ok() const { return error.empty(); }
};

// Splits args (without the program's name) by the options of syntax and checks the number of
// arguments. commandFollows: the first argument names a command; it and everything after it
// are the arguments, left to the command's own syntax. Words are kept byte for byte.
SplitArgs SplitCommandLine(const CommandSyntax& syntax, const std::vector<std::string>& args,
                           bool commandFollows = false);

// "usage: NAME USAGE" (one line per form).
std::string UsageText(const CommandSyntax& syntax);
// The usage, the summary, then every option with its help.
std::string HelpText(const CommandSyntax& syntax);
// The option list of HelpText alone, each line indented by two blanks.
std::string OptionsText(const std::vector<CommandOption>& options);

// Qt keeps a runtime folder of its own (XDG_RUNTIME_DIR), which a session without a login,
// such as root's on a build machine, does not have: Qt then makes one and warns on every
// start. This makes the same private folder first, so the warning is not shown for nothing.
// Call before the application object.
void EnsureRuntimeDir();

}  // namespace cam
