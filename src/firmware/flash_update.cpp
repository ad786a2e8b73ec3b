#include "firmware/flash_update.h"

#include "camfile/file_commands.h"
#include "core/text_format.h"
#include "core/texts.h"
#include "link/port_name.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace cam {

namespace {

constexpr const char* kTimeoutText = "TIMEOUT SERIAL PORT ";
constexpr char NAK = 21;

// What the device said next.
enum class Heard { Ack, Nak, Other, Silence, Lost };

// The next character within link.ComDeadline, one at a time: a NAK and an ACK that arrive
// together are answered in their order. The thread sleeps on the port meanwhile.
Heard NextCharacter(Link& link) {
    SerialPort& port = link.port;
    for (;;) {
        if (port.bytesWaiting() > 0) {
            const std::string c = port.read(1);
            if (!c.empty()) return c[0] == ACK ? Heard::Ack : c[0] == NAK ? Heard::Nak : Heard::Other;
        }
        if (!port.isOpen()) return Heard::Lost;
        const std::int64_t left = link.ComDeadline - link.clock.nowMs();
        if (left < 0) return Heard::Silence;
        port.waitForBytes(static_cast<int>(std::clamp<std::int64_t>(left + 1, 1, kEnterUpdateMs + 1)));
    }
}

// The update run on one screen: each change of it is shown at once.
struct Session {
    Program& p;
    Link& link;
    FlashScreen& screen;
    FlashView& view;

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

    FlashOutcome lineLost() {
        link.prompt.message(Fill(Text(p, txt::kUpdateLineLost), {link.port.lastError().description}), "", Buttons::Ok,
                            Icon::Stop);
        return end(FlashOutcome::LineLost);
    }

    // Not a good result: the outcome that ends the update (message shown, port closed).
    FlashOutcome failed(Heard h) { return h == Heard::Lost ? lineLost() : timedOut(); }

    std::optional<FlashOutcome> connect();
    bool enterUpdateMode(Heard& failure);
    Heard sendRecord(const std::string& record);
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

// ":FU" and its ACK: 5 s for the first character, 2 s after each further one.
bool Session::enterUpdateMode(Heard& failure) {
    SerialPort& port = link.port;
    port.discardInput();  // an old ACK must not pass for the device's answer
    std::string command = ":FU";
    command += CommandChecksum(command);
    command += CR;
    port.write(command);
    link.ComDeadline = link.clock.nowMs() + kEnterUpdateMs;
    // A device that keeps talking without ever acknowledging is noise, not a device entering
    // its update mode.
    for (std::size_t heard = 0; heard < kMaxBlockBytes; ++heard) {
        const Heard h = NextCharacter(link);
        if (h == Heard::Ack) return true;
        if (h == Heard::Silence || h == Heard::Lost) {
            failure = h;
            return false;
        }
        link.ComDeadline = link.clock.nowMs() + kUpdateCharacterMs;
    }
    failure = Heard::Silence;
    return false;
}

// Sends a record with CR until the device acknowledges it: Ack, or Silence (no answer in
// 5 s, or refused kMaxBlockResends times more) or Lost.
Heard Session::sendRecord(const std::string& record) {
    const std::string line = record + CR;
    for (int resends = 0;; ++resends) {
        if (!link.port.write(line) && !link.port.isOpen()) return Heard::Lost;
        link.ComDeadline = link.clock.nowMs() + kRecordAnswerMs;
        Heard h = NextCharacter(link);
        while (h == Heard::Other) h = NextCharacter(link);
        if (h != Heard::Nak) return h;
        if (resends == kMaxBlockResends) return Heard::Silence;
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
        if (const Heard h = sendRecord(send.record); h != Heard::Ack) return failed(h);
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
    switch (file.outcome) {
        case FirmwareFile::Verified:
            screen.row4 = IdentificationRow(file.identification);
            view.display(screen);
            break;
        case FirmwareFile::Unusable:
            screen.row4 = "FILE UNUSABLE";
            view.display(screen);
            // Also in a box: the window closes after it, and nobody reads a closed window.
            prompt.message("FILE UNUSABLE", "", Buttons::Ok, Icon::None);
            break;
        case FirmwareFile::ParityError:
            prompt.message("PARITY ERROR IN LINE " + CStr(file.badLine), "", Buttons::Ok, Icon::None);
            break;
        case FirmwareFile::Unreadable:
            prompt.message(Fill(Text(p, txt::kCannotRead), {path}), "", Buttons::Ok, Icon::Exclamation);
            break;
    }
    return file;
}

FlashOutcome SendFirmware(Program& p, Link& link, const FirmwareFile& file, const std::string& path,
                          FlashScreen& screen, FlashView& view, int shownMs) {
    if (!file.ok()) return FlashOutcome::FileRefused;
    Session s{p, link, screen, view};
    if (const std::optional<FlashOutcome> stopped = s.connect()) return *stopped;
    if (Heard failure = Heard::Silence; !s.enterUpdateMode(failure)) return s.failed(failure);
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
