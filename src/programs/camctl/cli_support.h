// What the camctl commands share: the model option, the answer option and the texts of
// the default language script.
#pragma once

#include "core/model/command_options.h"
#include "core/model/program.h"
#include "core/model/scripted_prompt.h"

#include <optional>
#include <string>
#include <vector>

namespace cam::cli {

// The options the commands share, each worded once for every help and the manual page.
namespace opt {
inline const CommandOption kModel{"model", "CxS",
                                  "cams x sizes of the programmer, e.g. 32x7 (default: the file's header)"};
inline const CommandOption kYes{"yes", "", "answer OK/Yes to every question (default: Cancel/No)"};
inline const CommandOption kPort{"port", "PORT", "the device's serial port: a path such as /dev/ttyUSB0, or COMn"};
inline const CommandOption kBaud{"baud", "N", "line speed in bit/s (default 9600)"};
}  // namespace opt

// The options every file command takes, and the arguments.
struct FileOptions {
    std::optional<int> cams;  // --model CxS
    std::optional<int> sizes;
    bool yes = false;  // --yes: accept every question
    std::vector<std::string> files;
};

// --model, --yes and the arguments. nullopt (after a line on standard error) for a bad model.
std::optional<FileOptions> FileOptionsOf(const ParsedArgs& args);

// --port and --baud into the port settings of p. False (after a line on standard error) for
// a bad port name or speed.
bool PortOptionsOf(const ParsedArgs& args, Program& p);

// "32x7" -> cams 32, sizes 7. Only the programmer's counts are accepted: 16 or 32 cams,
// 1..60 sizes.
bool ParseModel(const std::string& text, int& cams, int& sizes);

// Loads the default language script found beside the executable (or in the installed
// data folder) into p.LngTxt, so that messages carry the program's own wording.
// Returns false (after a note on standard error) when there is none.
bool LoadDefaultTexts(Program& p);

// Reads a cam file as camdesk's Open does, with the model of --model, else the file's
// header counts, else 32x7; messages on standard error. Returns 0 when the read succeeded,
// 1 when it failed, when the file is missing or unreadable, or when the reading stopped
// before the end of the file and --yes was not given.
int ReadForCommand(Program& p, const FileOptions& o, const std::string& path);

// True (after a line on standard error) when out names the file in, also through a link or
// another spelling: the output would replace the input.
bool OutputIsInput(const std::string& command, const std::string& in, const std::string& out);

// The exit status of a command once its standard output is written out: a write that failed
// (a full disk, a closed pipe) is a failure with its reason on standard error, as for every
// standard tool; status 0 then becomes 1.
int FinishOutput(int status);

// A line speed in bit/s ("9600"); false (after a line on standard error) when malformed.
bool ParseSpeed(const std::string& text, long& speed);

// A message box's text for the console: Windows-1252 shown in the terminal's encoding,
// each CR starting a new line.
std::string ConsoleText(const std::string& text);

// Questions answered OK/Yes with --yes, else Cancel/No; every message written to standard
// error as it is asked.
class ConsolePrompt : public ScriptedPrompt {
public:
    explicit ConsolePrompt(bool yes) : ScriptedPrompt(yes) {}
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
};

}  // namespace cam::cli
