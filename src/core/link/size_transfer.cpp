#include "core/link/size_transfer.h"

#include "core/camfile/cam_file.h"
#include "core/model/scratch_file.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/link/functions_wire.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace cam {

namespace {


void SendCommand(Link& link, std::string_view command) {
    std::string frame(command);
    frame += CommandChecksum(command);
    frame += CR;
    link.port.write(frame);
}

bool Sent(SendResult r) { return r == SendResult::Acked || r == SendResult::Answered; }

// Ends with the first block the device does not take: one message, never one per block.
bool SendAll(Program& p, Link& link, const std::vector<std::string>& blocks) {
    for (const auto& b : blocks)
        if (!Sent(SendBlock(p, link, b))) return false;
    return true;
}

}  // namespace

std::string TransferCaption(int cams) { return "ZETO PX-" + CStr(cams) + "   1024"; }

bool TransmitBranch(Program& p, Link& link, TransferView& view, int sizes) {
    if (link.InDevEnvironment) {
        // The block trace starts afresh; without tracing the file is none of ours to delete.
        std::error_code ec;
        std::filesystem::remove(p.WorkDir + "/TST.TXT", ec);
    }
    view.setOperation(p.Text(47));
    link.port.setFlowControl(false);
    SendCommand(link, "?FW");
    link.clock.sleepMs(50);  // no reply awaited: the first block discards whatever came back
    if (!SendAll(p, link, FunctionBlocks(p))) return false;
    for (int n = 1; n <= sizes; ++n) {
        view.setSizeLabel(p.Text(52) + Str(n));
        view.setProgress(n * 100 / std::max(sizes, 1));
        const auto blocks = SizeBlocks(p, n);
        if (!Sent(SendBlock(p, link, blocks.front()))) return false;
        link.clock.sleepMs(10);
        if (!SendAll(p, link, {blocks.begin() + 1, blocks.end()})) return false;
    }
    switch (SendBlock(p, link, "END")) {
        case SendResult::Acked:
            return true;
        case SendResult::Answered:
            // "END" is not sent again, but a device that refuses it has not taken the sizes.
            link.prompt.message(Text(p, txt::kEndRefused), "", Buttons::Ok, Icon::Exclamation);
            return false;
        default:
            return false;
    }
}

bool ReceiveBranch(Program& p, Link& link, TransferView& view, const std::string& tmpPath) {
    view.setOperation(p.Text(46));
    ScratchWriter out(tmpPath);
    if (!out.ok()) {
        link.prompt.message(out.error(), "", Buttons::Ok, Icon::Exclamation);
        ClosePort(link);
        return false;
    }
    link.port.discardInput();
    link.port.setFlowControl(false);
    SendCommand(link, "?FR");
    link.clock.sleepMs(500);
    // Bounded by the largest configuration a device can hold: a device that streams blocks
    // for ever still ends.
    const long maxBlocks = 16 + static_cast<long>(kMaxSizes) * (1 + kMaxCams * (2 + kPositions / 2));
    for (long n = 0; n < maxBlocks; ++n) {
        // A bad frame, silence, a lost port or a stream without frame ends all end the
        // reception: only good blocks reach the reception file.
        const ReceivedBlock block = ReceiveBlock(link);
        if (!block.ok() || block.text.empty()) break;
        const std::string& text = block.text;
        if (Contains(text, "FORMATO N. ")) {
            const std::string size = Right(text, 2);
            view.setSizeLabel(p.Text(48) + size);
            view.setProgress(
                static_cast<int>(std::clamp<long>(ValRounded(size) * 100 / std::max(p.NSizes, 1), 0, 100)));
        }
        out.writeLine(text);
        if (text == "END") {
            if (out.close()) return true;
            link.prompt.message(out.error(), "", Buttons::Ok, Icon::Exclamation);
            return false;
        }
    }
    out.close();
    ShowTimeout(p, link);
    ClosePort(link);
    return false;
}

TransmitResult SizeTransmit(Program& p, Link& link, TransferView& view) {
    TransmitResult result;
    if (!OpenPort(p, link)) return result;
    const ProgrammerModel tables = p.Model();
    const bool identified = IdentifyDevice(p, link);
    const ProgrammerModel device = p.Model();
    result.device = device;
    // The tables keep their model whatever the device said. The functions block goes out in
    // the form of the device's encoder count; the data keeps its own count when it has one,
    // so a later save does not drop what this device could not take.
    p.Model() = tables;
    p.NEncoders = device.NEncoders;
    auto finish = [&](bool sent) {
        ClosePort(link);
        if (tables.NEncoders != 0) p.NEncoders = tables.NEncoders;
        result.sent = sent;
        return result;
    };
    if (!identified) {
        link.prompt.message("Info", "", Buttons::Ok, Icon::None);
        return finish(false);
    }
    if (device.NCams != tables.NCams) {
        link.prompt.message("WRONG DSP  C." + CStr(device.NCams), "", Buttons::Ok, Icon::Stop);
        return finish(false);
    }
    const int sizes = std::min(tables.NSizes, device.NSizes);
    std::vector<std::string> notes = TransmitLosses(p, sizes);
    if (device.NSizes != tables.NSizes)
        notes.insert(notes.begin(),
                     Fill(Text(p, txt::kDeviceSizes), {CStr(device.NSizes), CStr(tables.NSizes), CStr(sizes)}));
    if (tables.NEncoders != 0 && device.NEncoders != tables.NEncoders)
        notes.insert(notes.begin(),
                     Fill(Text(p, txt::kDeviceEncoders), {CStr(tables.NEncoders), CStr(device.NEncoders)}));
    if (!notes.empty()) {
        std::string text = Text(p, txt::kWillNotReceiveAll);
        for (const auto& n : notes) text += "\r" + n;
        text += "\r\r" + Text(p, txt::kSendAnyway);
        if (link.prompt.message(text, "", Buttons::OkCancel, Icon::Exclamation) != Answer::Ok) return finish(false);
    }
    // What goes out is what the fields can carry, as the user has just been told.
    FitFunctionsToWire(p, true);
    view.setCaption(TransferCaption(p.NCams));
    view.setProgress(0);
    link.port.discardInput();
    result.sizes = sizes;
    return finish(TransmitBranch(p, link, view, sizes));
}

Outcome<ReceivedProgram> ReceiveProgram(Program& session, Link& link, TransferView& view,
                                        std::optional<int> expectedCams) {
    if (const Result opened = OpenPort(session, link); !opened) return opened;
    if (!IdentifyDevice(session, link)) return Outcome<ReceivedProgram>::Failure(Text(session, txt::kNoDeviceAnswered));
    const ProgrammerModel device = session.Model();
    view.setCaption(TransferCaption(device.NCams));
    view.setProgress(0);
    const bool complete = ReceiveBranch(session, link, view, session.TmpFile);
    ClosePort(link);
    if (!complete) {
        const std::string why = Text(session, txt::kReceptionIncomplete);
        link.prompt.message(why, "", Buttons::Ok, Icon::Exclamation);
        return Outcome<ReceivedProgram>::Failure(why);
    }

    // Parsed apart from every table in use: only a whole reception leaves here.
    LineSource in = LineSource::File(session.TmpFile);
    if (!in.ok()) return Outcome<ReceivedProgram>::Failure(Text(session, txt::kReceptionIncomplete));
    Program parsed;
    parsed.LngTxt = session.LngTxt;
    parsed.Model() = device;
    ResizeTables(parsed);
    const ReceptionResult r = ParseReception(parsed, in, expectedCams.value_or(device.NCams), link.prompt);
    if (!r.accepted) return Outcome<ReceivedProgram>::Failure("WRONG DSP");
    if (const std::string text = CorrectionsMessage(parsed, r.corrections); !text.empty())
        link.prompt.message(text, "", Buttons::Ok, Icon::Exclamation);
    if (!r.stop.empty()) {
        link.prompt.message(r.stop, "", Buttons::Ok, Icon::Exclamation);
        return Outcome<ReceivedProgram>::Failure(r.stop);
    }
    return ReceivedProgram{std::move(parsed.Data()), device};
}

}  // namespace cam
