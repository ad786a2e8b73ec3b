#include "core/link/message_transfer.h"

#include "core/camfile/file_commands.h"
#include "core/model/file_io.h"
#include "core/model/scratch_file.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/model/texts.h"
#include "core/link/identify.h"
#include "core/messages/message_file.h"

#include <algorithm>

namespace cam {

namespace {

// A device never sends more blocks than it has messages and "END": a stream that goes on is
// noise, not a list.
constexpr int kMaxReceivedBlocks = kMaxMsgNumber + 16;
// A message file holds one line a message; a longer file is not sent beyond this.
constexpr int kMaxSentLines = kMaxMsgNumber + 1;

void SendCommand(Link& link, std::string_view command) {
    std::string frame(command);
    frame += CommandChecksum(command);
    frame += CR;
    link.port.write(frame);
}

// The frame every transfer starts with: the port open, waiting input dropped, the caption
// and an empty bar.
bool StartFrame(Program& p, Link& link, TransferView& view) {
    if (!OpenPort(p, link)) return false;
    link.port.discardInput();
    view.setCaption(TransferCaption(p.NCams));
    view.setProgress(0);
    return true;
}

bool StartsWithN(std::string_view line) { return !line.empty() && line[0] == 'N'; }

// Nothing acknowledges the unframed lines: the transmission keeps to the time its bytes take
// on the line (ten bits a byte), so that the progress tells what the device has, and the
// transfer ends when the device has the last line rather than when the port's buffers do.
class LinePace {
public:
    LinePace(Link& link, long speed) : link_(link), speed_(std::max(speed, 1L)), start_(link.clock.nowMs()) {}
    void wait(std::size_t bytes) {
        sent_ += static_cast<std::int64_t>(bytes);
        const std::int64_t due = start_ + sent_ * 10 * 1000 / speed_;
        const std::int64_t left = due - link_.clock.nowMs();
        if (left > 0) link_.clock.sleepMs(static_cast<int>(std::min<std::int64_t>(left, kFirstBlockMs)));
    }

private:
    Link& link_;
    std::int64_t speed_;
    std::int64_t start_;
    std::int64_t sent_ = 0;
};

}  // namespace

std::string MsgWireLine(int n, std::string_view text) {
    std::string line = "N" + D3(std::clamp(n, 0, kMaxMsgNumber)) + "\"" + OneLine(text) + "\"";
    line += CR;
    return line;
}

MsgSendLine ReadMsgSendLine(std::string_view line) {
    MsgSendLine r;
    const std::size_t quote = line.find('"');
    // Without a double quote the number is looked for in the four characters from the third.
    const std::size_t width = quote == std::string_view::npos ? 4 : quote + 1;
    r.number = static_cast<int>(std::clamp(Val(Mid(line, 3, width)), 0.0, double(kMaxMsgNumber)));
    if (quote != std::string_view::npos && line.size() - 1 > quote + 1)
        r.text = std::string(line.substr(quote + 1, line.size() - 2 - quote));
    return r;
}

int MsgSendProgress(int number) { return std::clamp(number * 100 / 255, 0, 100); }

std::optional<int> MsgReceiveProgress(std::string_view block, int count) {
    if (block.find("N ") == std::string_view::npos) return std::nullopt;
    const long n = ValRounded(Mid(block, 3, 3));
    return static_cast<int>(std::clamp<long>(n * 100 / std::max(count, 1), 0, 100));
}

std::string DeviceLineLabel(std::string_view reply) {
    return std::string(reply.size() >= 3 ? reply.substr(0, reply.size() - 3) : reply);
}

bool TransmitMsgBranch(Program& p, Link& link, TransferView& view, const std::string& path,
                       const std::string& deviceLine) {
    view.setOperation(Text(p, txt::kSendingMsgs));
    view.setSizeLabel(deviceLine);
    LineSource in = LineSource::File(path);
    std::string_view line;
    const bool first = in.ok() && in.next(line);
    if (!first || !StartsWithN(line)) {
        // Also an empty first line: nothing tells that this is a message file.
        link.prompt.message(FileTitle(path) + Text(p, txt::kWrongFormat), "", Buttons::Ok, Icon::Stop);
        return false;
    }
    SendCommand(link, "?AW");
    link.clock.sleepMs(50);
    LinePace pace(link, p.ComSpeed);
    int shown = -1;
    for (int sent = 0; sent < kMaxSentLines; ++sent) {
        const MsgSendLine m = ReadMsgSendLine(line);
        const std::string wire = MsgWireLine(m.number, m.text);
        if (!link.port.write(wire)) {
            ShowTimeout(p, link);
            return false;
        }
        pace.wait(wire.size());
        if (const int percent = MsgSendProgress(m.number); percent != shown) {
            view.setProgress(percent);
            shown = percent;
        }
        if (!in.next(line) || StartsWith(line, "END")) break;
    }
    link.clock.sleepMs(10);
    std::string end = "END";
    end += CR;
    if (!link.port.write(end)) {
        ShowTimeout(p, link);
        return false;
    }
    pace.wait(end.size());
    return true;
}

MsgReception ReceiveMsgBranch(Program& p, Link& link, TransferView& view, const std::string& path) {
    MsgReception r;
    r.model = p.Model();
    view.setOperation(Text(p, txt::kReceivingMsgs));
    ScratchWriter out(path);
    if (!out.ok()) {
        link.prompt.message(out.error(), "", Buttons::Ok, Icon::Exclamation);
        ClosePort(link);
        return r;
    }
    link.port.discardInput();
    link.port.setFlowControl(false);
    SendCommand(link, "?AR");
    link.clock.sleepMs(10);
    for (int line = 1; line <= kMaxReceivedBlocks; ++line) {
        const ReceivedBlock block = ReceiveBlock(link);
        if (block.outcome == ReceivedBlock::BadFrame) {
            // Acknowledged like any block: the device goes on with the next message.
            out.writeLine("");
            r.damaged.push_back(line);
            continue;
        }
        if (!block.ok()) break;
        if (const auto percent = MsgReceiveProgress(block.text, p.NMsgs)) view.setProgress(*percent);
        out.writeLine(block.text);
        if (block.text == "END") {
            r.complete = out.close();
            if (!r.complete) link.prompt.message(out.error(), "", Buttons::Ok, Icon::Exclamation);
            return r;
        }
    }
    // The device stopped sending (or never stops): the reception ends here, as a size
    // reception does, instead of waiting for ever.
    out.close();
    ShowTimeout(p, link);
    ClosePort(link);
    return r;
}

bool TransmitMsgList(Program& p, Link& link, TransferView& view) {
    const std::string path = MsgScratchPath(p);
    {
        ScratchWriter out(path);
        for (int k = 1; out.ok() && k <= MsgCount(p); ++k) out.writeLine(MsgFileLine(k, MsgText(p, k)));
        if (!out.close()) {
            link.prompt.message(out.error(), "", Buttons::Ok, Icon::Exclamation);
            return false;
        }
    }
    return TransmitMsgFile(p, link, view, path, "");
}

namespace {

// A file with more messages than the device holds loses the others on the way: the user
// hears how many first. False when the file cannot be read or the user stops.
bool ConfirmMsgsFit(const Program& p, Prompt& prompt, const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxMsgFileBytes);
    if (!file.ok()) {
        prompt.message(file.read.reason(), "", Buttons::Ok, Icon::Stop);
        return false;
    }
    const int beyond = MsgsBeyond(file.bytes, MsgCount(p));
    if (beyond == 0) return true;
    const std::string text = Fill(Text(p, txt::kMsgsNotSent), {FileTitle(path), CStr(beyond), CStr(MsgCount(p))});
    return prompt.message(text + "\r" + Text(p, txt::kSendAnyway), "", Buttons::OkCancel, Icon::Exclamation) ==
           Answer::Ok;
}

}  // namespace

bool TransmitMsgFile(Program& p, Link& link, TransferView& view, const std::string& path,
                     const std::string& deviceLine) {
    if (!ConfirmMsgsFit(p, link.prompt, path)) {
        ClosePort(link);
        return false;
    }
    if (!StartFrame(p, link, view)) return false;
    const bool sent = TransmitMsgBranch(p, link, view, path, deviceLine);
    ClosePort(link);
    return sent;
}

std::optional<std::string> AskDeviceLine(Program& p, Link& link) {
    if (!OpenPort(p, link)) return std::nullopt;
    const std::string reply = SerialComStr(p, link, "?M");
    if (reply.empty()) return std::nullopt;
    return DeviceLineLabel(reply);
}

MsgReception ReceiveMsgs(Program& p, Link& link, TransferView& view, const std::string& path, bool identify) {
    MsgReception r;
    if (!OpenPort(p, link)) return r;
    if (identify && !IdentifyDevice(p, link)) return r;
    view.setCaption(TransferCaption(p.NCams));
    view.setProgress(0);
    r = ReceiveMsgBranch(p, link, view, path);
    r.identified = true;
    r.model = p.Model();
    ClosePort(link);
    return r;
}

bool ApplyMsgReception(Program& p, const MsgReception& r, const std::string& path, int msgs, Prompt& prompt) {
    if (!r.complete) return false;
    if (!r.damaged.empty()) {
        std::string numbers;
        for (int n : r.damaged) numbers += (numbers.empty() ? "" : ", ") + CStr(n);
        if (prompt.message(Fill(Text(p, txt::kMsgsDamaged), {numbers}), "", Buttons::OkCancelDefaultCancel,
                           Icon::Exclamation) != Answer::Ok)
            return false;
    }
    const std::string previousFile = p.MsgFile;
    const int previousCount = p.NMsgs;
    p.MsgFile = path;
    p.NMsgs = std::clamp(msgs, 0, kMaxMsgNumber);
    if (!LoadReceivedMessages(p, prompt)) {
        p.MsgFile = previousFile;
        p.NMsgs = previousCount;
        return false;
    }
    MarkMsgSaved(p);
    return true;
}

}  // namespace cam
