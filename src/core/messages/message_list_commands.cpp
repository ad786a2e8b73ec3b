#include "core/messages/message_list_commands.h"

#include "core/camfile/file_commands.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/messages/message_file.h"

#include <algorithm>

namespace cam {

namespace {

const std::vector<std::pair<std::string, std::string>> kMsgFilters = {{"Message File (*.Msg)", "*.msg"},
                                                                      {"All Files (*.*)", "*.*"}};

bool IsScratch(const Program& p) { return !p.MsgFile.empty() && p.MsgFile == MsgScratchPath(p); }

bool Write(Program& p, Prompt& prompt) {
    if (const Result written = WriteMsgFile(p); !written) {
        prompt.message(Text(p, txt::kCannotSave) + "\r" + p.MsgFile + "\r" + written.reason(), "", Buttons::Ok,
                       Icon::Exclamation);
        return false;
    }
    return true;
}

}  // namespace

std::string MsgOpenedTitle(const std::string& path) { return "ZETO-QOR -  PROGRAMMATORE DI CAMME PX32 -  " + path; }

bool MsgNew(Program& p, Prompt& prompt) {
    if (!ConfirmMsgDiscard(p, prompt)) return false;
    FitMsgTable(p);
    for (int k = 1; k <= MsgCount(p); ++k) p.AlarmMsg[static_cast<std::size_t>(k)].clear();
    // Edits the user chose to drop are no longer anywhere to be saved.
    MarkMsgSaved(p);
    return true;
}

bool MsgOpen(Program& p, Prompt& prompt) {
    if (!ConfirmMsgDiscard(p, prompt)) return false;
    const std::string path = prompt.openFile({Text(p, txt::kOpenFile), kMsgFilters, p.WorkDir, p.MsgFile});
    if (path.empty() || path.size() > kMaxPathLength || !OpenMsgFile(p, path, prompt)) return false;
    MarkMsgSaved(p);  // the list is the file's
    return true;
}

bool MsgSave(Program& p, Prompt& prompt) {
    // The scratch file of a transfer is no place to keep the list: the next transfer replaces it.
    if (p.MsgFile.empty() || IsScratch(p) || !FileExists(p.MsgFile)) return MsgSaveAs(p, prompt);
    if (prompt.message("OVERWRITE FILE ", "", Buttons::YesNo, Icon::Exclamation) != Answer::Yes) return false;
    return Write(p, prompt);
}

bool MsgSaveAs(Program& p, Prompt& prompt) {
    const std::string proposed = IsScratch(p) ? std::string() : p.MsgFile;
    std::string path = prompt.saveFile({Text(p, txt::kSaveMsgFileTitle), kMsgFilters, p.WorkDir, proposed});
    if (path.empty() || path.size() > kMaxPathLength) return false;
    // Only the file name counts: folders may contain dots.
    if (FileTitle(path).find('.') == std::string::npos) {
        path += ".Msg";
        // The dialog asked about the name typed, not about the one completed here.
        if (FileExists(path) && prompt.message(Fill(Text(p, txt::kAlreadyExists), {path}), "", Buttons::YesNo,
                                               Icon::Exclamation) != Answer::Yes)
            return false;
    }
    const std::string previous = p.MsgFile;
    p.MsgFile = path;
    if (!Write(p, prompt)) {
        p.MsgFile = previous;
        return false;
    }
    return true;
}

std::string MsgModifyLabel(const std::string& caption, int index) {
    return caption.substr(0, caption.size() >= 3 ? caption.size() - 3 : 0) + D3(index + 1);
}

std::pair<std::string, std::string> MsgPreviewRows(const std::string& text) {
    return {Mid(text, 1, kMsgRowLength), Mid(text, kMsgRowLength + 1, kMsgRowLength)};
}

void BeginMsgEdit(Program& p, int index, const std::string& entry) {
    p.EditMsgNum = index;
    p.EditMsgText = entry.size() > 4 ? entry.substr(4) : std::string();
}

std::string EndMsgEdit(Program& p, const std::optional<std::string>& typed) {
    if (typed) p.EditMsgText = typed->substr(0, kMsgTextLength);
    const int k = p.EditMsgNum + 1;
    FitMsgTable(p);
    if (k >= 1 && k <= MsgCount(p)) {
        p.AlarmMsg[static_cast<std::size_t>(k)] = p.EditMsgText;
    }
    return D3(k) + " " + p.EditMsgText;
}

std::optional<int> SearchMsgNumber(const Program& p, Prompt& prompt) {
    const auto answer = prompt.input("NUMERO ALLARME 1 -" + Str(p.NMsgs), "SEARCH", "");
    if (!answer) return std::nullopt;
    const std::string typed(TrimBlanks(*answer));
    std::size_t digits = typed.size();
    if (!typed.empty() && (typed[0] == '-' || typed[0] == '+')) --digits;
    const bool whole = digits > 0 && std::all_of(typed.end() - static_cast<long>(digits), typed.end(),
                                                 [](char c) { return c >= '0' && c <= '9'; });
    if (!whole) return std::nullopt;
    // Digits beyond any list length are out of range however many there are.
    const long n = digits > 6 ? -1 : static_cast<long>(Val(typed));
    if (n >= 1 && n <= MsgCount(p)) return static_cast<int>(n - 1);
    prompt.message((digits > 6 ? typed : CStr(n)) + " = NUMERO NON VALIDO", "", Buttons::Ok, Icon::None);
    return std::nullopt;
}

std::string MsgUpper(std::string text) {
    for (char& ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            ch = static_cast<char>(c - 32);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            ch = static_cast<char>(c - 32);  // à..þ -> À..Þ
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            ch = static_cast<char>(c - 16);  // š œ ž -> Š Œ Ž
        else if (c == 0xFF)
            ch = static_cast<char>(0x9F);  // ÿ -> Ÿ
    }
    return text;
}

std::optional<int> SearchMsgText(Program& p, Prompt& prompt, const std::vector<std::string>& entries) {
    const auto answer = prompt.input("TESTO DA RICERCARE", kMsgSearchTitle, p.MsgSearchText);
    // Nothing to look for: an empty text would match every entry.
    if (!answer || answer->empty()) return std::nullopt;
    p.MsgSearchText = *answer;
    const std::string wanted = MsgUpper(*answer);
    const int count = static_cast<int>(entries.size());
    for (int i = std::clamp(p.MsgSearchPos, 0, count); i < count; ++i) {
        if (MsgUpper(entries[static_cast<std::size_t>(i)]).find(wanted) != std::string::npos) {
            p.MsgSearchPos = i + 1;
            return i;
        }
    }
    p.MsgSearchPos = 0;
    prompt.message("TESTO NON TROVATO", kMsgSearchTitle, Buttons::Ok, Icon::None);
    return std::nullopt;
}

std::vector<std::string> MsgPrintLines(const Program& p) {
    std::vector<std::string> lines;
    // After the heading: the file the list comes from, when it has one of its own.
    std::string heading = "MESSAGES: ";
    if (!p.MsgFile.empty() && !IsScratch(p)) heading += FileTitle(p.MsgFile);
    lines.push_back(heading);
    for (int k = 1; k <= MsgCount(p); ++k) {
        const std::string& text = MsgText(p, k);
        if (text.find_first_not_of(' ') != std::string::npos) lines.push_back("N." + D3(k) + text);
    }
    lines.push_back(std::string(30, '*'));
    return lines;
}

}  // namespace cam
