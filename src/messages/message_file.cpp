#include "messages/message_file.h"

#include "camfile/atomic_write.h"
#include "core/file_io.h"
#include "core/text_format.h"
#include "core/texts.h"

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

std::vector<std::string> ParseMsgFile(std::string_view bytes, int count) {
    std::vector<std::string> msgs(static_cast<std::size_t>(std::max(count, 0)) + 1);
    std::size_t start = 0;
    for (int k = 1; k <= count && start < bytes.size(); ++k) {
        std::size_t end = bytes.find('\n', start);
        std::string_view line =
            bytes.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? bytes.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] != 'N') continue;
        const std::size_t quote = line.find('"');
        if (quote == std::string_view::npos) {
            msgs[static_cast<std::size_t>(k)] = " ";
            continue;
        }
        // The text runs to the character before the last: only the closing quote is dropped,
        // so quotes inside the text come back as they were written.
        const std::size_t first = quote + 1, last = line.size() - 1;
        if (last > first) msgs[static_cast<std::size_t>(k)] = std::string(line.substr(first, last - first));
    }
    return msgs;
}

Result WriteMsgFile(Program& p) {
    Result written = WriteFileDurably(p.MsgFile, MsgFileText(p));
    if (written) p.MsgSaved = true;
    return written;
}

bool LoadReceivedMessages(Program& p, Prompt& prompt) {
    if (p.MsgFile.empty()) return false;
    const auto bytes = FileExists(p.MsgFile) ? ReadFileBytes(p.MsgFile) : std::nullopt;
    if (!bytes) {
        prompt.message(Text(p, txt::kFileNotFound), "", Buttons::Ok, Icon::Exclamation);
        return false;
    }
    FitMsgTable(p);
    const std::vector<std::string> msgs = ParseMsgFile(*bytes, MsgCount(p));
    for (int k = 1; k <= MsgCount(p); ++k) p.AlarmMsg[static_cast<std::size_t>(k)] = msgs[static_cast<std::size_t>(k)];
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
    if (p.MsgSaved) return true;
    return prompt.message("FILE NOT SAVED\rEXIT ANYWAY ?", "", Buttons::OkCancelDefaultCancel, Icon::Exclamation) ==
           Answer::Ok;
}

}  // namespace cam
