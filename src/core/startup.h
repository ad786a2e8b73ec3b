// The parts of the start-up sequence that need no screen: the working folder, the
// command line, the start-up model and the window titles.
#pragma once

#include "core/program.h"

#include <functional>
#include <string>
#include <vector>

namespace cam {

inline constexpr const char* kWorkSubfolder = "Zeto";

// The working folder: "Zeto" in the documents folder when it is a writable folder, else
// the documents folder when it is one, else the home folder. isWritableDir is asked about
// candidate paths; an empty documents path counts as missing.
std::string ChooseWorkDir(const std::string& documents, const std::string& home,
                          const std::function<bool(const std::string&)>& isWritableDir);

// camdesk [--port NAME] [--trace] [--screenshot OUT.png] [FILE.Cam]
struct CommandLine {
    std::string file;        // cam file to open, quotes removed
    std::string screenshot;  // PNG to write, "" = normal run
    std::string port;        // serial port for this run only, "" = the stored one
    bool trace = false;
    std::string error;       // "" when the command line was understood
};
CommandLine ParseCommandLine(const std::vector<std::string>& args);  // args without the program name


// Values set before the options file is read: scratch file, saved flag, port and speed.
void SetStartupSettings(Program& p);
// The model the program starts with before the device is asked: 32 cams, 7 sizes, 255 messages.
void SetStartupModel(Program& p);

// Screen scale used by the functions window: height / 480 * 45 on screens taller than 480 pixels.
float ScreenScale(int screenHeight, float current);

}  // namespace cam

namespace cam {

class Prompt;

// The Set Language command: asks for a script and stores its path in the options file.
// True when the start-up must run again to apply it.
bool ChooseLanguage(Program& p, Prompt& prompt);

}  // namespace cam
