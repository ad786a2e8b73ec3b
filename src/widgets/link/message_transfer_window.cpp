#include "widgets/link/message_transfer_window.h"

#include "core/camfile/file_commands.h"
#include "core/model/file_io.h"
#include "core/model/texts.h"
#include "core/link/message_transfer.h"
#include "core/link/port_name.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
#include "core/messages/message_file.h"
#include "qt/cp1252.h"

namespace cam {

namespace {

// The device side of a reception on a copy of the link values, so that the windows can go
// on painting meanwhile.
MsgReception ReceiveOnWorker(const Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent,
                             bool identify) {
    Program scratch = LinkScratch(p);
    MsgReception r;
    TransferWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { r = ReceiveMsgs(scratch, link, window, MsgScratchPath(scratch), identify); }, &window);
    return r;
}

void Close(QtLinePort& port) {
    if (port.isOpen()) port.close();
}

}  // namespace

bool RunMsgListTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    Program copy = p;
    bool sent = false;
    TransferWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { sent = TransmitMsgList(copy, link, window); }, &window);
    return sent;
}

bool RunMsgListReceive(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    if (!ConfirmMsgDiscard(p, screenPrompt)) return false;
    const MsgReception r = ReceiveOnWorker(p, port, screenPrompt, parent, false);
    const std::string file = p.MsgFile;
    if (!ApplyMsgReception(p, r, MsgScratchPath(p), p.NMsgs, screenPrompt)) return false;
    p.MsgFile = file;
    return true;
}

bool RunMsgFileTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    Program scratch = LinkScratch(p);
    std::optional<std::string> deviceLine;
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { deviceLine = AskDeviceLine(scratch, link); }, nullptr,
             FromCp1252(PortDisplayName(p)) + " ?M");
    if (!deviceLine) {
        Close(port);
        return false;
    }
    const std::string proposed = p.MsgFile == MsgScratchPath(p) ? std::string() : p.MsgFile;
    const FileRequest request{
        Text(p, txt::kOpenFile),
        {{Text(p, txt::kMsgFileFilter) + "(*.Msg)", "*.msg"}, {Text(p, txt::kAllFilesFilter) + "(*.*)", "*.*"}},
        p.WorkDir,
        proposed};
    const std::string path = screenPrompt.openFile(request);
    // A cancelled choice, or a file that is not there, ends the command here: back to the
    // main window with the port closed.
    if (path.empty() || path.size() > kMaxPathLength) {
        Close(port);
        return false;
    }
    if (!FileExists(path)) {
        screenPrompt.message(Text(p, txt::kFileNotFound), "", Buttons::Ok, Icon::Stop);
        Close(port);
        return false;
    }
    bool sent = false;
    TransferWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { sent = TransmitMsgFile(scratch, link, window, path, *deviceLine); }, &window);
    Close(port);
    return sent;
}

bool RunMsgReceive(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    if (!ConfirmMsgDiscard(p, screenPrompt)) return false;
    const MsgReception r = ReceiveOnWorker(p, port, screenPrompt, parent, true);
    if (!r.identified) return false;
    return ApplyMsgReception(p, r, MsgScratchPath(p), r.model.NMsgs, screenPrompt);
}

}  // namespace cam
