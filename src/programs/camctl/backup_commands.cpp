// camctl backup / restore: every device of a plant at once, one worker thread per port. A
// device's files are written only after both of its receptions are complete; a device whose
// model does not fit its files is sent nothing.
#include "core/camfile/cam_file.h"
#include "programs/camctl/cli_support.h"
#include "programs/camctl/commands.h"
#include "programs/camctl/plant_board.h"
#include "programs/camctl/scratch_space.h"
#include "core/compare/program_diff.h"
#include "core/model/text_format.h"
#include "core/link/message_transfer.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "core/link/size_transfer.h"
#include "core/messages/message_file.h"

#include <QThread>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <set>

namespace cam::cli {

namespace {

constexpr std::size_t kMaxDevices = 64;

struct Device {
    std::string name;  // the files' title: NAME.Cam, NAME.Msg
    Program port;      // its port settings (and --baud)
};

std::vector<std::string> Names(const std::vector<Device>& devices) {
    std::vector<std::string> names;
    for (const Device& d : devices) names.push_back(d.name);
    return names;
}

struct PlantOptions {
    std::string folder;  // --into or --from
    bool verify = false;
    std::vector<Device> devices;
};

// --into/--from DIR, --baud N, --verify (restore only) and NAME=PORT... Kept apart from the
// commands so that the shared option parser can take it over. nullopt after a line on stderr.
std::optional<PlantOptions> ParsePlantOptions(const ParsedArgs& args, const std::string& folderOption, bool restore) {
    PlantOptions o;
    long speed = 9600;
    if (args.has("baud") && !ParseSpeed(args.value("baud"), speed)) return std::nullopt;
    o.folder = args.value(folderOption);
    o.verify = restore && args.has("verify");
    std::vector<std::pair<std::string, std::string>> named;
    for (const std::string& a : args.arguments) {
        const std::size_t eq = a.find('=');
        if (eq == std::string::npos) {
            std::cerr << "camctl: '" << a << "' is no device (NAME=PORT)\n";
            return std::nullopt;
        }
        named.emplace_back(a.substr(0, eq), a.substr(eq + 1));
    }
    if (named.size() > kMaxDevices) {
        std::cerr << "camctl: at most " << kMaxDevices << " devices at once\n";
        return std::nullopt;
    }
    std::set<std::string> names, ports;
    for (const auto& [name, port] : named) {
        Device d{name, {}};
        d.port.ComSpeed = speed;
        if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos) {
            std::cerr << "camctl: '" << name << "' cannot name a device's files (NAME=PORT)\n";
            return std::nullopt;
        }
        if (!SetPortName(d.port, port)) {
            std::cerr << "camctl: " << name << " has no port (NAME=PORT)\n";
            return std::nullopt;
        }
        if (!names.insert(name).second || !ports.insert(PortSystemName(d.port)).second) {
            std::cerr << "camctl: " << name << "=" << port << ": each device and each port may be named once\n";
            return std::nullopt;
        }
        o.devices.push_back(std::move(d));
    }
    return o;
}

// A device's line, made on its worker's thread (the Qt ports belong to the thread that made
// them).
struct DeviceLine {
    DeviceLine(Board& board, std::size_t row) : view(board, row), prompt(board, row) {}
    QtLinePort port;
    SteadyClock clock;
    BoardView view;
    BoardPrompt prompt;
    Link link{port, clock, prompt};
};

struct Outcome {
    std::optional<ProgrammerModel> model;
    int sizes = 0, messages = 0;
    double seconds = 0;
    std::string failure;  // "" when everything was done
};

std::string ModelName(const ProgrammerModel& m) {
    return CStr(m.NCams) + "x" + CStr(m.NSizes) + "x" + CStr(m.NMsgs) + "x" + CStr(m.NEncoders);
}

// What went wrong at which step, with the messages the exchange showed.
std::string Failure(const std::string& step, const ScriptedPrompt& prompt, const std::string& more = "") {
    std::string text = "(" + step + ")";
    for (const std::string& m : prompt.messages()) {
        std::string line = ConsoleText(m);
        std::replace(line.begin(), line.end(), '\n', ' ');
        text += " " + line + ";";
    }
    if (!more.empty()) text += " " + more;
    if (text.back() == ';') text.pop_back();
    return text;
}

// The device's configuration into p (the device's model); false after any failure, its
// messages shown. The one reception routine, as camctl receive runs it.
bool ReceiveDeviceInto(Program& p, Link& link, TransferView& view, const std::string& scratch) {
    p.TmpFile = scratch;
    const auto received = ReceiveProgram(p, link, view, std::nullopt);
    if (!received) return false;
    p.Data() = received->data;
    ResizeMessages(p);
    return true;
}

// The device's alarm messages into p's list (p.NMsgs of them, the model identified before).
bool ReceiveMessagesInto(Program& p, Link& link, TransferView& view, const std::string& scratch) {
    const MsgReception r = ReceiveMsgs(p, link, view, scratch, false);
    return ApplyMsgReception(p, r, scratch, p.NMsgs, link.prompt);
}

std::string FilePath(const PlantOptions& o, const Device& d, const char* ext) {
    return (std::filesystem::path(o.folder) / (d.name + ext)).string();
}

Outcome BackUp(const PlantOptions& o, const Device& d, const Program& texts, DeviceLine& line,
               const std::string& scratch) {
    Outcome out;
    Program p;
    p.LngTxt = texts.LngTxt;
    p.Port() = d.port.Port();
    if (!ReceiveDeviceInto(p, line.link, line.view, scratch))
        return {std::nullopt, 0, 0, 0, Failure("size reception", line.prompt)};
    out.model = p.Model();
    out.sizes = p.NSizes;
    if (!ReceiveMessagesInto(p, line.link, line.view, scratch)) {
        out.failure = Failure("message reception", line.prompt);
        return out;
    }
    out.messages = p.NMsgs;
    p.MsgFile = FilePath(o, d, ".Msg");
    Result written = WriteCamFile(p, FilePath(o, d, ".Cam"));
    if (written) written = WriteMsgFile(p);
    if (!written) out.failure = Failure("writing the files", line.prompt, written.reason());
    return out;
}

// The number of messages a message file holds: its lines.
std::optional<int> MsgFileCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto ends = std::count(bytes.begin(), bytes.end(), '\n');
    return static_cast<int>(ends + (!bytes.empty() && bytes.back() != '\n' ? 1 : 0));
}

// A device's files, read before anything is sent: the program with the model of its header
// and the messages; "" in failure when both could be read.
struct RestoreFiles {
    Program program;
    std::string msgPath;
    std::string failure;
};

RestoreFiles ReadRestoreFiles(const PlantOptions& o, const Device& d) {
    RestoreFiles f;
    f.msgPath = FilePath(o, d, ".Msg");
    const std::string cam = FilePath(o, d, ".Cam");
    const std::optional<int> msgs = MsgFileCount(f.msgPath);
    std::error_code ec;
    if (!msgs || *msgs < 1 || *msgs > kMaxMsgNumber) {
        f.failure = f.msgPath + (!std::filesystem::exists(f.msgPath, ec) ? ": no such file"
                                 : msgs                                 ? ": no message file"
                                                                        : ": cannot be read");
        return f;
    }
    if (!HeaderModel(cam)) {
        f.failure = cam + ": no cam file with a model in its header";
        return f;
    }
    if (ReadForCommand(f.program, FileOptions{}, cam) != 0) {
        f.failure = cam + ": the file could not be read to its end";
        return f;
    }
    f.program.NMsgs = *msgs;
    f.program.MsgFile = f.msgPath;
    f.program.Port() = d.port.Port();
    return f;
}

// The device as its files hold it: same cams, sizes and messages, and encoders when the file says.
std::string ModelMismatch(const ProgrammerModel& device, const ProgrammerModel& file) {
    ProgrammerModel expected = file;
    if (expected.NEncoders == 0) expected.NEncoders = device.NEncoders;
    if (expected == device) return "";
    return "the device is " + ModelName(device) + " and its files are for " + ModelName(expected) +
           " (cams x sizes x messages x encoders): nothing was sent";
}

// What the device holds after the restore, received back: "" when it is what was sent.
std::string Verify(const Program& sent, DeviceLine& line, const std::string& scratch) {
    Program back;
    back.LngTxt = sent.LngTxt;
    back.Port() = sent.Port();
    if (!ReceiveDeviceInto(back, line.link, line.view, scratch) ||
        !ReceiveMessagesInto(back, line.link, line.view, scratch))
        return "the device could not be received back for the check";
    const Comparison c = CompareWithDevice(sent, back);
    if (!c.differences.empty()) return "the device holds something else: " + ConsoleText(c.differences[0].text);
    for (int k = 1; k <= sent.NMsgs; ++k)  // as a message file holds them: a blank message is blank
        if (MsgFileLine(k, MsgText(sent, k)) != MsgFileLine(k, MsgText(back, k)))
            return "the device holds something else: message " + CStr(k) + " is \"" + ConsoleText(MsgText(back, k)) +
                   "\", not \"" + ConsoleText(MsgText(sent, k)) + "\"";
    return "";
}

Outcome Restore(const PlantOptions& o, RestoreFiles& f, DeviceLine& line, const std::string& scratch) {
    Outcome out;
    Program& p = f.program;
    Program probe;
    probe.LngTxt = p.LngTxt;
    probe.Port() = p.Port();
    const bool identified = IdentifyDevice(probe, line.link);
    ClosePort(line.link);
    if (!identified) return {std::nullopt, 0, 0, 0, Failure("identification", line.prompt)};
    out.model = probe.Model();
    if (const std::string mismatch = ModelMismatch(probe.Model(), p.Model()); !mismatch.empty()) {
        out.failure = "(model) " + mismatch;
        return out;
    }
    const TransmitResult sent = SizeTransmit(p, line.link, line.view);
    if (!sent) {
        out.failure = Failure("size transmission", line.prompt);
        return out;
    }
    out.sizes = sent.sizes;
    if (!TransmitMsgFile(p, line.link, line.view, f.msgPath, "")) {
        out.failure = Failure("message transmission", line.prompt);
        return out;
    }
    out.messages = p.NMsgs;
    if (o.verify) {
        (void)LoadReceivedMessages(p, line.prompt);
        if (const std::string differs = Verify(p, line, scratch); !differs.empty())
            out.failure = Failure("check after sending", line.prompt, differs);
    }
    return out;
}

// device, model, sizes, messages, time, result: one line a device; 0 when all succeeded.
int Summary(const PlantOptions& o, const std::vector<Outcome>& outcomes) {
    std::vector<std::vector<std::string>> table{{"device", "model", "sizes", "messages", "time", "result"}};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& r = outcomes[i];
        char time[32];
        std::snprintf(time, sizeof time, "%.1f s", r.seconds);
        table.push_back({o.devices[i].name, r.model ? ModelName(*r.model) : "-", CStr(r.sizes), CStr(r.messages), time,
                         r.failure.empty() ? "ok" : "FAILED " + r.failure});
    }
    std::vector<std::size_t> width(6, 0);
    for (const auto& row : table)
        for (std::size_t c = 0; c < 5; ++c) width[c] = std::max(width[c], row[c].size());
    for (const auto& row : table) {
        for (std::size_t c = 0; c < 5; ++c) std::cout << row[c] << std::string(width[c] - row[c].size() + 2, ' ');
        std::cout << row[5] << '\n';
    }
    std::cout << std::flush;
    const bool all = std::all_of(outcomes.begin(), outcomes.end(), [](const Outcome& r) { return r.failure.empty(); });
    return all ? 0 : 1;
}

// Scratch files for every device, or nullopt after saying why.
std::optional<std::vector<std::string>> ScratchFiles(ScratchSpace& scratch, std::size_t count) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < count; ++i) files.push_back(scratch.another("device" + std::to_string(i + 1)));
    if (scratch.file().empty() || std::find(files.begin(), files.end(), "") != files.end()) {
        std::cerr << "camctl: " << (scratch.error().empty() ? "no room for the reception files" : scratch.error())
                  << '\n';
        return std::nullopt;
    }
    return files;
}

// Runs work(device index, its line, its reception file) for every device at once, each on a
// thread of its own; when all have ended, the summary. Returns the exit status.
template <class Work>
int RunPlant(const PlantOptions& o, Work work) {
    ScratchSpace scratch;
    const auto files = ScratchFiles(scratch, o.devices.size());
    if (!files) return 1;
    std::vector<Outcome> outcomes(o.devices.size());
    {
        Board board(Names(o.devices));
        std::vector<std::unique_ptr<QThread>> workers;
        for (std::size_t i = 0; i < o.devices.size(); ++i)
            workers.emplace_back(QThread::create([&, i] {
                const auto start = std::chrono::steady_clock::now();
                try {
                    DeviceLine line(board, i);
                    outcomes[i] = work(i, line, (*files)[i]);
                } catch (const std::exception& e) {
                    outcomes[i].failure = std::string("fault: ") + e.what();
                }
                outcomes[i].seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }));
        for (auto& w : workers) w->start();
        for (auto& w : workers) w->wait();
    }
    return Summary(o, outcomes);
}

}  // namespace

int BackupCommand(const ParsedArgs& args) {
    const auto o = ParsePlantOptions(args, "into", false);
    if (!o) return 2;
    std::error_code ec;
    std::filesystem::create_directories(o->folder, ec);
    if (!std::filesystem::is_directory(o->folder, ec)) {
        std::cerr << "camctl backup: " << o->folder << ": not a folder that can be made\n";
        return 1;
    }
    Program texts;
    LoadDefaultTexts(texts);
    return RunPlant(*o, [&](std::size_t i, DeviceLine& line, const std::string& scratch) {
        return BackUp(*o, o->devices[i], texts, line, scratch);
    });
}

int RestoreCommand(const ParsedArgs& args) {
    const auto o = ParsePlantOptions(args, "from", true);
    if (!o) return 2;
    std::vector<RestoreFiles> sources;
    for (const Device& d : o->devices) sources.push_back(ReadRestoreFiles(*o, d));
    return RunPlant(*o, [&](std::size_t i, DeviceLine& line, const std::string& scratch) {
        if (!sources[i].failure.empty()) return Outcome{std::nullopt, 0, 0, 0, "(files) " + sources[i].failure};
        return Restore(*o, sources[i], line, scratch);
    });
}

}  // namespace cam::cli
