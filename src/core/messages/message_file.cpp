#include "core/messages/message_file.h"

#include "core/camfile/atomic_write.h"
#include "core/camfile/file_commands.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/text_lines.h"
#include "core/model/texts.h"

#include <algorithm>

namespace cam {

int MsgCount(const Program& p) { return std::clamp(p.NMsgs, 0, kMaxMsgNumber); }

void FitMsgTable(Program& p) {
    const std::size_t needed = static_cast<std::size_t>(MsgCount(p)) + 1;
    if (p.AlarmMsg.size() < needed) p.AlarmMsg.resize(needed);
}

const std::string& MsgText(const Program& p, int k) {
    static const std::string kNone;
    if (k < 1 || static_cast<std::size_t>(k) >= p.AlarmMsg.size()) return kNone;
    return p.AlarmMsg[static_cast<std::size_t>(k)];
}

std::string MsgFileLine(int k, const std::string& text) {
    std::string line = "N. " + D3(k);
    if (!TrimBlanks(text).empty()) line += " \"" + text + "\"";
    return line;
}

std::string MsgFileText(const Program& p) {
    std::string out;
    for (int k = 1; k <= MsgCount(p); ++k) out += MsgFileLine(k, MsgText(p, k)) + "\r\n";
    return out;
}

namespace {

// The message of one line: "" for a line that does not start with "N", one blank for one
// without a double quote, else what stands between the first double quote and the last
// character (only the closing quote is dropped, so quotes inside the text come back as they
// were written).
std::string_view MsgOfLine(std::string_view line) {
    if (line.empty() || line[0] != 'N') return "";
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) return " ";
    const std::size_t first = quote + 1, last = line.size() - 1;
    return last > first ? line.substr(first, last - first) : "";
}

}  // namespace

std::vector<std::string> ParseMsgFile(std::string_view bytes, int count) {
    std::vector<std::string> msgs(static_cast<std::size_t>(std::max(count, 0)) + 1);
    LineSource in(bytes);
    std::string_view line;
    for (int k = 1; k <= count && in.next(line); ++k) msgs[static_cast<std::size_t>(k)] = MsgOfLine(line);
    return msgs;
}

int MsgsBeyond(std::string_view bytes, int count) {
    LineSource in(bytes);
    std::string_view line;
    int beyond = 0;
    for (int k = 1; in.next(line); ++k)
        if (k > count && !TrimBlanks(MsgOfLine(line)).empty()) ++beyond;
    return beyond;
}

namespace {

std::vector<std::string> MsgState(const Program& p) {
    std::vector<std::string> list(p.AlarmMsg.begin() + 1, p.AlarmMsg.begin() + 1 + MsgCount(p));
    while (!list.empty() && list.back().empty()) list.pop_back();
    return list;
}

}  // namespace

bool MsgSaved(const Program& p) { return MsgState(p) == p.MsgSavedList; }

void MarkMsgSaved(Program& p) { p.MsgSavedList = MsgState(p); }

Result WriteMsgFile(Program& p) {
    Result written = WriteFileDurably(p.MsgFile, MsgFileText(p));
    if (written) MarkMsgSaved(p);
    return written;
}

namespace {

FileBytes ReadMsgFile(const Program& p, const std::string& path, Prompt& prompt) {
    FileBytes file = ReadFileBytes(path, kMaxMsgFileBytes);
    if (!file.ok())
        prompt.message(Text(p, txt::kFileNotFound) + "\r" + file.read.reason(), "", Buttons::Ok, Icon::Exclamation);
    return file;
}

void FillList(Program& p, std::string_view bytes) {
    FitMsgTable(p);
    const std::vector<std::string> msgs = ParseMsgFile(bytes, MsgCount(p));
    for (int k = 1; k <= MsgCount(p); ++k) p.AlarmMsg[static_cast<std::size_t>(k)] = msgs[static_cast<std::size_t>(k)];
}

}  // namespace

bool LoadReceivedMessages(Program& p, Prompt& prompt) {
    if (p.MsgFile.empty()) return false;
    const FileBytes file = ReadMsgFile(p, p.MsgFile, prompt);
    if (file.ok()) FillList(p, file.bytes);
    return file.ok();
}

bool OpenMsgFile(Program& p, const std::string& path, Prompt& prompt) {
    const FileBytes file = ReadMsgFile(p, path, prompt);
    if (!file.ok()) return false;
    // The test the transmission makes: a cam file or a binary opened here would otherwise be
    // an empty list, and a Save would put 255 empty lines in its place.
    LineSource lines(file.bytes);
    std::string_view first;
    if (!lines.next(first) || !StartsWith(first, "N")) {
        prompt.message(FileTitle(path) + Text(p, txt::kWrongFormat), "", Buttons::Ok, Icon::Stop);
        return false;
    }
    if (const int beyond = MsgsBeyond(file.bytes, MsgCount(p)); beyond > 0) {
        const std::string text = Fill(Text(p, txt::kMsgsLeftOut), {FileTitle(path), CStr(beyond), CStr(MsgCount(p))});
        if (prompt.message(text + "\r" + Text(p, txt::kOpenAnyway), "", Buttons::OkCancel, Icon::Exclamation) !=
            Answer::Ok)
            return false;
    }
    FillList(p, file.bytes);
    p.MsgFile = path;
    return true;
}

std::vector<std::string> MsgList(const Program& p) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(MsgCount(p)));
    for (int k = 1; k <= MsgCount(p); ++k) entries.push_back(D3(k) + " " + MsgText(p, k));
    return entries;
}

std::string MsgScratchPath(const Program& p) {
    return p.WorkDir.empty() ? std::string(kMsgScratchName) : p.WorkDir + "/" + kMsgScratchName;
}

bool ConfirmMsgDiscard(Program& p, Prompt& prompt) {
    if (MsgSaved(p)) return true;
    return prompt.message("FILE NOT SAVED\rEXIT ANYWAY ?", "", Buttons::OkCancelDefaultCancel, Icon::Exclamation) ==
           Answer::Ok;
}

}  // namespace cam
