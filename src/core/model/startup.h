// The parts of the start-up sequence that need no screen: the working folder, the
// command line, the start-up model and the window titles.
#pragma once

#include "core/camfile/file_commands.h"
#include "core/model/command_options.h"
#include "core/model/program.h"
#include "core/model/prompt.h"

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

// camdesk [--port NAME] [--trace] [--screenshot OUT.png [--window NAME] [--cam N] [--position P]
//         [--drag CAM:FROM:TO]] [FILE]
struct CommandLine {
    std::string file;        // cam file to open (or the file of the --window), quotes removed
    std::string screenshot;  // PNG to write, "" = normal run
    std::string window;      // with --screenshot: the window to render, "" = the main window
    int cam = 0;             // --cam N: cam N (1-based) selected first, 0 = as after start-up
    int position = -1;       // --position P: the position a window shows, -1 = its own
    // --drag CAM:FROM:TO: one drag on the row of cam CAM (1-based), opened for editing, from
    // position FROM to position TO (0..1023) before the main window is rendered; 0 = none.
    int dragCam = 0;
    int dragFrom = 0;
    int dragTo = 0;
    std::string port;  // serial port for this run only, "" = the stored one
    bool trace = false;
    bool version = false;  // --version: print the version and end
    std::string error;     // "" when the values were understood
};
// camdesk's options and arguments, for the parser and the help; windows: the names --window
// takes.
CommandSyntax CamdeskSyntax(const std::vector<std::string>& windows);
// The command line as the start-up takes it, once split by CamdeskSyntax.
CommandLine ReadCommandLine(const ParsedArgs& args);

// Values set before the options file is read: scratch file, saved flag, port and speed.
void SetStartupSettings(Program& p);
// The model the program starts with before the device is asked: 32 cams, 7 sizes, 255 messages.
void SetStartupModel(Program& p);

// Screen scale used by the functions window: height / 480 * 45 on screens taller than 480 pixels.
float ScreenScale(int screenHeight, float current);

// What the platform tells the start-up sequence, and how it lets it act.
struct StartupFacts {
    std::string documentsDir;  // the system's documents folder ("" when none)
    std::string homeDir;
    std::string exeDir;  // where the default language script is looked up first
    std::function<bool(const std::string&)> isWritableDir;
    // Takes the single-instance lock of the working folder; false when another instance
    // holds it. Not set: no lock is taken.
    std::function<bool(const std::string& workDir)> acquireLock;
    // Asks the connected device for its model and reports a silent one by itself. Not set:
    // no device is asked.
    std::function<bool(Program&)> identifyDevice;
    int screenHeight = 0;  // pixels; 0 = unknown
    std::string file;      // named on the command line: opened at the first start-up
    std::string port;      // given on the command line: used for this run only
};

struct StartupOutcome {
    bool proceed = true;  // false: another instance runs (said); the program ends
    FileOutcome opened;   // the command-line file, when one was opened
};

// The start-up sequence: working folder, single-instance lock, options file, the run-only
// port, the language script (the stored one while it exists, else the default), the
// start-up model, the device's model, the tables, and the command-line file. again: the
// sequence runs once more after Set Language: no lock, no command-line file, and the file
// that was open is closed (the tables are cleared).
// The tables change through doc: a new history, and saved.
StartupOutcome RunStartup(Program& p, CamDocument& doc, Prompt& prompt, const StartupFacts& facts, bool again);

// Writes the options file; a failure is told through prompt.
void SaveOptions(const Program& p, Prompt& prompt);

}  // namespace cam
