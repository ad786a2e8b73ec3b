#include "core/link/serial_link.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"

#include <algorithm>
#include <fstream>

namespace cam {

namespace {

constexpr const char* kTimeoutText = "TIMEOUT SERIAL PORT ";

// The failures a user can mend are said in words of what to do; each names the port.
std::string Description(const Program& p, const PortError& e) {
    std::string why = e.description;
    switch (e.kind) {
        case PortError::NoPermission:
            why = Text(p, txt::kPortNoPermission);
            break;
        case PortError::InUse:
            why =
                Fill(Text(p, txt::kPortInUse), {e.holder > 0 ? Fill(Text(p, txt::kPortHolder), {CStr(e.holder)}) : ""});
            break;
        case PortError::NotFound:
            why = Text(p, txt::kPortNotFound);
            break;
        case PortError::Other:
            break;
    }
    return PortDisplayName(p) + ": " + why;
}

// Sleeps on the port until bytes arrive or the deadline is reached.
void WaitUntil(Link& link, std::int64_t deadline) {
    std::int64_t left = deadline - link.clock.nowMs();
    // One millisecond past the deadline, so that "past the deadline" is reached without a spin.
    link.port.waitForBytes(static_cast<int>(std::clamp<std::int64_t>(left + 1, 1, kFirstBlockMs + 1)));
}

bool Past(Link& link) { return link.clock.nowMs() > link.ComDeadline; }

void Trace(const Program& p, std::string_view text) {
    std::ofstream out(p.WorkDir + "/TST.TXT", std::ios::binary | std::ios::app);
    out << text << "\r\n";
}

}  // namespace

void ShowPortError(const Program& p, Link& link, const PortError& e) {
    link.PortStatus = std::max(e.code, 2);  // 1 is kept for a missing CTS
    link.prompt.message("Errore " + Str(e.code) + " generato da " + e.source + "\r" + Description(p, e),
                        "Errore su " + PortDisplayName(p), Buttons::Ok, Icon::Stop);
}

Result OpenPort(Program& p, Link& link) {
    link.PortStatus = 0;
    SerialPort& port = link.port;
    auto openAnew = [&] {
        if (port.open(PortSystemName(p))) return true;
        // Nothing further can be set or read on a port that did not open.
        ShowPortError(p, link, port.lastError());
        return false;
    };
    auto failed = [&] { return Result::Failure(port.lastError().description); };
    if (!port.isOpen() && !openAnew()) return failed();
    bool ok = port.setSpeed(p.ComSpeed);
    if (!ok && !port.isOpen()) {
        // The port went away since the last exchange (adapter replugged, line hung up).
        if (!openAnew()) return failed();
        ok = port.setSpeed(p.ComSpeed);
    }
    if (!ok) ShowPortError(p, link, port.lastError());
    if (!port.setFlowControl(true)) ShowPortError(p, link, port.lastError());
    // A connected device (or its cable) asserts CTS; a port without modem lines cannot tell.
    if (port.cts() == LineState::NotAsserted) {
        port.close();
        link.PortStatus = 1;
        return Result::Failure("CTS not asserted");
    }
    if (link.PortStatus > 0) return failed();
    return {};
}

void ClosePort(Link& link) {
    if (link.port.isOpen()) link.port.close();
}

void ShowTimeout(const Program& p, Link& link) {
    link.prompt.message(kTimeoutText, "", Buttons::Ok, Icon::None);
    if (!link.port.isOpen() && !link.port.lastError().description.empty())
        link.prompt.message(Fill(Text(p, txt::kLineWentAway), {Description(p, link.port.lastError())}), "",
                            Buttons::Ok, Icon::Exclamation);
}

char CommandChecksum(std::string_view command) {
    unsigned sum = 0;
    for (char c : command) sum = (sum + static_cast<unsigned char>(c)) & 0xFF;
    if (sum < 32) sum += 32;
    return static_cast<char>(sum);
}

char BlockChecksum(std::string_view frame) {
    unsigned x = 0;
    for (std::size_t i = 1; i < frame.size(); ++i) {
        x ^= static_cast<unsigned char>(frame[i]);
        if (frame[i] == ETX) break;
    }
    if (x < 32) x += 32;
    return static_cast<char>(x);
}

std::string BlockFrame(std::string_view text) {
    std::string frame;
    frame.reserve(text.size() + 3);
    frame += STX;
    frame += text;
    frame += ETX;
    frame += BlockChecksum(frame);
    return frame;
}

std::string PortSettingsText(long speed) { return CStr(speed) + ",n,8,1"; }

std::string SerialComStr(Program& p, Link& link, std::string_view command) {
    // A port that failed to open was reported there; one left open after a failed setting
    // is still tried, as the device may answer.
    (void)OpenPort(p, link);
    if (!link.port.isOpen()) return "";
    link.clock.sleepMs(10);
    std::string frame(command);
    frame += CommandChecksum(command);
    frame += CR;
    link.port.write(frame);
    link.ComDeadline = link.clock.nowMs() + kCommandTimeoutMs;
    std::string reply;
    for (;;) {
        if (link.port.bytesWaiting() > 0) reply += link.port.read(kMaxBlockBytes);
        // A port that went away answers nothing more: treated as a silent device.
        if (Past(link) || !link.port.isOpen() || reply.size() > kMaxBlockBytes) {
            ClosePort(link);
            p.ReadError = true;
            return "";
        }
        if (reply.find_first_of("\r\n") != std::string::npos) break;
        WaitUntil(link, link.ComDeadline);
    }
    std::string text(TrimBlanks(reply));
    if (text == frame) p.ReadError = true;  // our own command came back: a loop-back, not a device
    return text;
}

SendResult SendBlock(Program& p, Link& link, std::string_view text) {
    SerialPort& port = link.port;
    if (link.InDevEnvironment) Trace(p, text);
    if (!port.isOpen()) return SendResult::PortLost;
    port.discardInput();
    const std::string frame = BlockFrame(text);
    for (int resends = 0;; ++resends) {
        port.write(frame);
        link.ComDeadline = link.clock.nowMs() + kBlockAnswerMs;
        std::string reply;
        for (;;) {
            if (port.bytesWaiting() > 0) {
                link.ComDeadline = link.clock.nowMs() + kBlockAnswerMs;
                reply = port.read(kMaxBlockBytes);
                if (!reply.empty()) break;
            }
            if (!port.isOpen()) {
                ShowTimeout(p, link);
                return SendResult::PortLost;
            }
            if (Past(link)) {
                ShowTimeout(p, link);
                return SendResult::TimedOut;
            }
            WaitUntil(link, link.ComDeadline);
        }
        if (reply[0] == ACK) return SendResult::Acked;
        if (text == "END") return SendResult::Answered;
        if (resends == kMaxBlockResends) {
            // The device answers, so this is no time-out: it will not take this block.
            link.prompt.message(Fill(Text(p, txt::kBlockRefused), {QuotedLine(text), CStr(resends + 1)}), "",
                                Buttons::Ok, Icon::Exclamation);
            return SendResult::Refused;
        }
    }
}

ReceivedBlock ReceiveBlock(Link& link) {
    SerialPort& port = link.port;
    std::string buf;
    std::size_t etx = std::string::npos;
    link.ComDeadline = link.clock.nowMs() + kFirstBlockMs;
    for (;;) {
        if (port.isOpen() && port.bytesWaiting() > 0) {
            link.ComDeadline = link.clock.nowMs() + kBlockAnswerMs;
            // One character at a time, so that nothing after the block's checksum is taken.
            while (buf.size() < kMaxBlockBytes && port.bytesWaiting() > 0) {
                std::string c = port.read(1);
                if (c.empty()) break;
                buf += c;
                if (etx == std::string::npos && c[0] == ETX) etx = buf.size() - 1;
                if (etx != std::string::npos && buf.size() > etx + 1) break;
            }
        }
        if (etx != std::string::npos && buf.size() > etx + 1) break;
        if (buf.size() >= kMaxBlockBytes) return {ReceivedBlock::Overflow, std::move(buf)};
        if (!port.isOpen()) return {ReceivedBlock::PortLost, std::move(buf)};
        if (Past(link) && port.bytesWaiting() == 0) return {ReceivedBlock::Silent, std::move(buf)};
        WaitUntil(link, link.ComDeadline);
    }
    std::size_t start = std::string::npos;
    if (buf[0] == STX)
        start = 0;
    else if (buf.size() > 1 && buf[1] == STX)
        start = 1;
    ReceivedBlock result{ReceivedBlock::BadFrame, buf};
    if (start != std::string::npos && start < etx) {
        std::string_view frame = std::string_view(buf).substr(start, etx - start + 1);
        if (BlockChecksum(frame) == buf[etx + 1])
            result = {ReceivedBlock::Block, buf.substr(start + 1, etx - start - 1)};
    }
    port.discardOutput();
    port.write(std::string(1, ACK));
    return result;
}

}  // namespace cam
