#include "core/firmware/flash_update.h"

#include "core/camfile/file_commands.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace cam {

namespace {

constexpr const char* kTimeoutText = "TIMEOUT SERIAL PORT ";
constexpr char NAK = 21;
constexpr std::size_t kShownBytes = 16;  // of an answer that is none

// What the device said to a line: one ACK or one NAK alone is an answer, anything else
// (Other, with what arrived) is not.
struct Heard {
    enum Kind { Ack, Nak, Other, Silence, Lost } kind;
    std::string bytes;
};

Heard Classify(std::string bytes) {
    if (bytes.size() == 1 && bytes[0] == ACK) return {Heard::Ack, std::move(bytes)};
    if (bytes.size() == 1 && bytes[0] == NAK) return {Heard::Nak, std::move(bytes)};
    return {Heard::Other, std::move(bytes)};
}

// The answer to the line just sent: the first bytes that arrive before link.ComDeadline, with
// whatever arrived together with them. The thread sleeps on the port meanwhile.
Heard AwaitAnswer(Link& link) {
    SerialPort& port = link.port;
    for (;;) {
        if (port.bytesWaiting() > 0) {
            std::string got = port.read(kMaxBlockBytes);
            if (!got.empty()) return Classify(std::move(got));
        }
        if (!port.isOpen()) return {Heard::Lost, ""};
        const std::int64_t left = link.ComDeadline - link.clock.nowMs();
        if (left < 0) return {Heard::Silence, ""};
        port.waitForBytes(static_cast<int>(std::clamp<std::int64_t>(left + 1, 1, kEnterUpdateMs + 1)));
    }
}

// Bytes as hex pairs: "06 41 FF".
std::string HexBytes(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < kShownBytes; ++i)
        out += (i ? " " : "") + Hex2(static_cast<unsigned char>(bytes[i]));
    if (bytes.size() > kShownBytes) out += " ...";
    return out;
}

// The update run on one screen: each change of it is shown at once.
struct Session {
    Program& p;
    Link& link;
    FlashScreen& screen;
    FlashView& view;
    std::string lastAnswer;  // the bytes of the last answer, and what they answered
    std::string lastTo;

    void show() { view.display(screen); }

    // CTS asserted, or a line that cannot tell (a pseudo-terminal): the lamp turns green.
    bool DeviceReady() {
        const bool ready = link.port.cts() != LineState::NotAsserted;
        screen.lamp = ready ? FlashScreen::Lamp::Green : FlashScreen::Lamp::Red;
        show();
        return ready;
    }

    FlashOutcome end(FlashOutcome outcome) {
        ClosePort(link);
        return outcome;
    }

    FlashOutcome timedOut() {
        link.prompt.message(kTimeoutText, "", Buttons::Ok, Icon::None);
        return end(FlashOutcome::TimedOut);
    }

    // Not an answer: what arrived is named, and the device may hold half a firmware.
    FlashOutcome garbled(const std::string& to, const std::string& bytes) {
        link.prompt.message(Fill(Text(p, txt::kUpdateAnswer), {to, HexBytes(bytes)}), "", Buttons::Ok, Icon::Stop);
        return end(FlashOutcome::Garbled);
    }

    FlashOutcome lineLost() {
        link.prompt.message(Fill(Text(p, txt::kUpdateLineLost), {link.port.lastError().description}), "", Buttons::Ok,
                            Icon::Stop);
        return end(FlashOutcome::LineLost);
    }

    std::optional<FlashOutcome> connect();
    // Sends a line and waits for its answer; nothing when it is ACK, else the outcome that
    // ends the update (message shown, port closed). to: the line as the message names it.
    std::optional<FlashOutcome> exchange(const std::string& line, int answerMs, const std::string& to, int refusals);
    FlashOutcome transmit(const FirmwareFile& file, const std::string& path, int shownMs);
};

// The port at the update's settings and the user's go-ahead; the outcome that ends the
// update here, or nothing when it goes on.
std::optional<FlashOutcome> Session::connect() {
    SerialPort& port = link.port;
    if (!port.isOpen() && !port.open(PortSystemName(p))) {
        ShowPortError(p, link, port.lastError());
        return FlashOutcome::PortFailed;
    }
    if (!port.setSpeed(kFlashSpeed) || !port.setFlowControl(true)) {
        // A port that cannot run at the update's speed would corrupt the firmware on its way.
        ShowPortError(p, link, port.lastError());
        return end(FlashOutcome::PortFailed);
    }
    DeviceReady();
    if (link.prompt.message("UPDATE FLASH ?", "", Buttons::YesNo, Icon::Question) != Answer::Yes)
        return end(FlashOutcome::Declined);
    while (!DeviceReady()) {
        if (link.prompt.message("DEVICE NOT READY", "", Buttons::RetryCancel, Icon::Stop) != Answer::Retry)
            return end(FlashOutcome::NotReady);
    }
    return std::nullopt;
}

std::optional<FlashOutcome> Session::exchange(const std::string& line, int answerMs, const std::string& to,
                                              int refusals) {
    SerialPort& port = link.port;
    for (int resends = 0;; ++resends) {
        // Whatever waits here came after the last answer: more than an ACK is no answer, and an
        // old byte must never pass for the answer to this line.
        if (port.bytesWaiting() > 0) {
            const std::string late = port.read(kMaxBlockBytes);
            if (!late.empty() && !lastAnswer.empty()) return garbled(lastTo, lastAnswer + late);
        }
        if (!port.write(line) && !port.isOpen()) return lineLost();
        link.ComDeadline = link.clock.nowMs() + answerMs;
        const Heard h = AwaitAnswer(link);
        lastAnswer = h.bytes;
        lastTo = to;
        switch (h.kind) {
            case Heard::Ack:
                return std::nullopt;
            case Heard::Nak:
                if (resends < refusals) continue;
                link.prompt.message(Fill(Text(p, txt::kUpdateRefused), {to, CStr(resends + 1)}), "", Buttons::Ok,
                                    Icon::Stop);
                return end(FlashOutcome::Refused);
            case Heard::Other:
                return garbled(to, h.bytes);
            case Heard::Silence:
                return timedOut();
            case Heard::Lost:
                return lineLost();
        }
    }
}

FlashOutcome Session::transmit(const FirmwareFile& file, const std::string& path, int shownMs) {
    const long total = static_cast<long>(file.records.size());
    const std::vector<PlannedSend> plan = TransmissionPlan(file.records);
    for (const PlannedSend& send : plan) {
        if (send.shown) {
            screen.sentLines = send.line;
            screen.sentBytes = send.bytes;
            screen.address = RecordAddressText(send.record);
            screen.percent = static_cast<int>(send.line * 100 / total);
            show();
        }
        const std::string to = "record " + CStr(send.number) + " (" + QuotedLine(send.record) + ")";
        if (auto stopped = exchange(std::string(send.record) + CR, kRecordAnswerMs, to, kMaxBlockResends))
            return *stopped;
    }
    const auto last = std::find_if(plan.rbegin(), plan.rend(), [](const PlannedSend& s) { return s.line > 0; });
    screen.sentLines = last == plan.rend() ? 0 : last->line;
    screen.sentBytes = plan.empty() ? 0 : plan.back().bytes;
    if (screen.address.empty() && last != plan.rend()) screen.address = RecordAddressText(last->record);
    screen.percent = 100;
    screen.row8 = "DEVICE UPDATED WITH  " + path;
    show();
    link.clock.sleepMs(shownMs);
    return end(FlashOutcome::Updated);
}

}  // namespace

FirmwareFile VerifyFirmware(const Program& p, const std::string& path, FlashScreen& screen, FlashView& view,
                            Prompt& prompt) {
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(path, ec);
    screen.workingFile = WorkingFileRow(path, ec ? 0 : bytes);
    screen.testing = true;
    view.display(screen);
    FirmwareFile file = ReadFirmwareFile(path, [&](long lines, long dataBytes) {
        screen.testLines = lines;
        screen.testBytes = dataBytes;
        view.display(screen);
    });
    if (file.ok()) {
        screen.row4 = IdentificationRow(file.identification);
        view.display(screen);
        return file;
    }
    const std::string line = CStr(file.badLine);
    std::string refusal;
    switch (file.outcome) {
        case FirmwareFile::ParityError:
            prompt.message("PARITY ERROR IN LINE " + line, "", Buttons::Ok, Icon::None);
            return file;
        case FirmwareFile::Unreadable:
            prompt.message(file.reason, "", Buttons::Ok, Icon::Exclamation);
            return file;
        case FirmwareFile::CountMismatch:
            refusal = Fill(Text(p, txt::kHexByteCount), {line, CStr(file.field), CStr(file.held)});
            break;
        case FirmwareFile::UnknownType:
            refusal = Fill(Text(p, txt::kHexRecordType), {line, Hex2(file.field)});
            break;
        case FirmwareFile::AfterEnd:
            refusal = Fill(Text(p, txt::kHexAfterEnd), {line});
            break;
        case FirmwareFile::NoEnd:
            refusal = Fill(Text(p, txt::kHexNoEnd), {line});
            break;
        default:
            refusal = "FILE UNUSABLE";
            break;
    }
    screen.row4 = refusal;
    view.display(screen);
    // Also in a box: the window closes after it, and nobody reads a closed window.
    prompt.message(refusal, "", Buttons::Ok, Icon::None);
    return file;
}

FlashOutcome SendFirmware(Program& p, Link& link, const FirmwareFile& file, const std::string& path,
                          FlashScreen& screen, FlashView& view, int shownMs) {
    if (!file.ok()) return FlashOutcome::FileRefused;
    Session s{p, link, screen, view, "", ""};
    if (const std::optional<FlashOutcome> stopped = s.connect()) return *stopped;
    // An ACK left over from before the update is no answer to ":FU".
    link.port.discardInput();
    std::string command = ":FU";
    command += CommandChecksum(command);
    command += CR;
    if (auto stopped = s.exchange(command, kEnterUpdateMs, ":FU", 0)) return *stopped;
    screen.transmitting = true;
    screen.percent = 0;
    s.show();
    return s.transmit(file, path, shownMs);
}

FlashOutcome FlashUpdate(Program& p, Link& link, const std::string& path, FlashView& view, int shownMs) {
    FlashScreen screen;
    const FirmwareFile file = VerifyFirmware(p, path, screen, view, link.prompt);
    if (!file.ok()) return FlashOutcome::FileRefused;
    return SendFirmware(p, link, file, path, screen, view, shownMs);
}

std::string ChooseFirmwareFile(Program& p, Prompt& prompt) {
    const std::string folder = p.FwDir.empty() ? p.WorkDir : p.FwDir;
    const FileRequest request{
        Text(p, txt::kOpenFile), {{"File Absolute HEX (*.Abs)", "*.abs"}, {"All Files   (*.*)", "*.*"}}, folder, ""};
    const std::string path = prompt.openFile(request);
    if (path.empty() || path.size() > kMaxPathLength) return "";
    p.FwFile = path;
    p.FwDir = std::filesystem::path(path).parent_path().string();
    return path;
}

}  // namespace cam
