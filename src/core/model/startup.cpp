#include "core/model/startup.h"

#include "core/model/file_io.h"
#include "core/model/language.h"
#include "core/model/options.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"

namespace cam {

std::string ChooseWorkDir(const std::string& documents, const std::string& home,
                          const std::function<bool(const std::string&)>& isWritableDir) {
    if (!documents.empty()) {
        const std::string zeto = documents + "/" + kWorkSubfolder;
        if (isWritableDir(zeto)) return zeto;
        if (isWritableDir(documents)) return documents;
    }
    return home;
}

namespace {
std::string Unquoted(const std::string& s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
    return s;
}
}  // namespace

namespace {
// "CAM:FROM:TO": three whole numbers, the cam 1..32, the positions 0..1023.
bool ParseDrag(const std::string& text, CommandLine* cl) {
    long fields[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? text.find(':', start) : text.size();
        if (end == std::string::npos) return false;
        const std::string field = text.substr(start, end - start);
        if (field.empty() || field.size() > 4 || field.find_first_not_of("0123456789") != std::string::npos)
            return false;
        fields[i] = std::stol(field);
        start = end + 1;
    }
    if (fields[0] < 1 || fields[0] > kMaxCams || fields[1] > kPositions - 1 || fields[2] > kPositions - 1) return false;
    cl->dragCam = static_cast<int>(fields[0]);
    cl->dragFrom = static_cast<int>(fields[1]);
    cl->dragTo = static_cast<int>(fields[2]);
    return true;
}
}  // namespace

CommandSyntax CamdeskSyntax(const std::vector<std::string>& windows) {
    std::string names;
    for (const std::string& w : windows) names += (names.empty() ? "" : ", ") + w;
    return {"camdesk",
            {"[--port NAME] [--trace] [FILE.Cam]",
             "--screenshot OUT.png [--window NAME] [--cam N] [--position P] [--drag CAM:FROM:TO] [FILE]", "--version"},
            "Edit cam programs on a chart and exchange them with a cam programmer.",
            {{"port", "NAME", "the serial port for this run only: a path such as /dev/ttyUSB0, or COMn"},
             {"trace", "", "write each transmitted block to TST.TXT in the working folder"},
             {"screenshot", "OUT.png", "render the main window as a 1024x768 PNG without a display and end"},
             {"window", "NAME", "with --screenshot: render another window: " + names},
             {"cam", "N", "with --screenshot: select cam N first"},
             {"position", "P", "with --screenshot: the position 0..1023 the size show is drawn at"},
             {"drag", "CAM:FROM:TO", "with --screenshot: drag once on the row of cam CAM from FROM to TO"},
             {"version", "", "print the version and end"}},
            {"FILE"}};
}

CommandLine ReadCommandLine(const ParsedArgs& args) {
    CommandLine cl;
    cl.port = Unquoted(args.value("port"));
    cl.screenshot = Unquoted(args.value("screenshot"));
    cl.window = args.value("window");
    cl.trace = args.has("trace");
    cl.version = args.has("version");
    if (!args.arguments.empty()) cl.file = Unquoted(args.arguments.front());
    for (const char* name : {"cam", "position"}) {
        if (!args.has(name)) continue;
        const std::string text = args.value(name);
        if (text.find_first_not_of("0123456789") != std::string::npos || text.size() > 4 || ValRounded(text) > 1023) {
            cl.error = std::string("--") + name + " needs a whole number";
            return cl;
        }
        (name == std::string("cam") ? cl.cam : cl.position) = static_cast<int>(ValRounded(text));
    }
    if (args.has("drag") && !ParseDrag(args.value("drag"), &cl))
        cl.error = "--drag needs CAM:FROM:TO (cam 1-32, positions 0-1023)";
    else if (cl.screenshot.empty() && (!cl.window.empty() || args.has("cam") || args.has("position") || cl.dragCam))
        cl.error = "--window, --cam, --position and --drag go with --screenshot";
    return cl;
}

void SetStartupSettings(Program& p) {
    p.TmpFile = p.WorkDir + "/_._";
    p.Port() = PortSettings{};
    p.StoredPort.reset();
}

void SetStartupModel(Program& p) {
    p.NSizes = 7;
    p.NCams = 32;
    p.NMsgs = 255;
    p.CurCam = 1;
    p.CurSize = 1;
}

float ScreenScale(int screenHeight, float current) {
    if (screenHeight > 480) return static_cast<float>(screenHeight) / 480.0f * 45.0f;
    return current;
}

namespace {

// Text 104 is needed before the language script of this run is loaded.
std::string AlreadyRunningText(Program& p, const std::string& exeDir) {
    const std::string script = FileExists(p.LngFile) ? p.LngFile : FindDefaultLanguageScript(exeDir);
    if (!script.empty()) (void)ReadLanguageScript(p, script);  // the built-in wording otherwise
    return Text(p, txt::kAlreadyRunning);
}

// A script chosen with Set Language is used while it exists; otherwise the default one.
void ChooseLanguageScript(Program& p, const std::string& exeDir) {
    if (!p.LngFile.empty() && FileExists(p.LngFile)) return;
    const std::string found = FindDefaultLanguageScript(exeDir);
    p.LngFile = !found.empty() ? found : exeDir + "/" + kDefaultLanguageScript;
}

}  // namespace

StartupOutcome RunStartup(Program& p, CamDocument& doc, Prompt& prompt, const StartupFacts& facts, bool again) {
    StartupOutcome out;
    // Working folder first: the single-instance lock lives there.
    p.WorkDir = ChooseWorkDir(facts.documentsDir, facts.homeDir, facts.isWritableDir);
    if (!again && facts.acquireLock && !facts.acquireLock(p.WorkDir)) {
        prompt.message(AlreadyRunningText(p, facts.exeDir), "", Buttons::Ok, Icon::Exclamation);
        out.proceed = false;
        return out;
    }

    p.UndoPos.fill(0);
    p.CurSize = 1;
    SetStartupSettings(p);
    p.LngFile.clear();
    // A missing or unreadable options file leaves the defaults.
    if (FileExists(OptionsPath(p))) (void)ReadOptions(p);
    if (!facts.port.empty()) UsePortForThisRun(p, facts.port);

    ChooseLanguageScript(p, facts.exeDir);
    LoadLanguage(p, prompt);

    // Empty tables of the start-up model, or of the device's: a program of its own.
    doc.Load(Text(p, again ? txt::kHistNewFile : txt::kHistStarted), [&](CamData&) {
        SetStartupModel(p);
        if (facts.identifyDevice) facts.identifyDevice(p);
        ResizeTables(p);
        // The tables were cleared: the file that was open is no longer what they hold.
        if (again) CloseCamFile(p);
    });
    // The file named on the command line is opened once, not again by Set Language.
    if (!again && !facts.file.empty()) out.opened = OpenCommandLine(p, doc, prompt, facts.file);
    p.ScrScale = ScreenScale(facts.screenHeight, p.ScrScale);
    return out;
}

void SaveOptions(const Program& p, Prompt& prompt) {
    if (const Result saved = WriteOptions(p); !saved)
        prompt.message(Text(p, txt::kCannotSaveOptions) + "\r" + saved.reason(), "", Buttons::Ok, Icon::Exclamation);
}

}  // namespace cam
