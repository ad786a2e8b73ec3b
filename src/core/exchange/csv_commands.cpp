#include "core/exchange/csv_commands.h"

#include "core/camfile/atomic_write.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/exchange/cam_csv.h"

namespace cam {

namespace {

constexpr std::size_t kShownRows = 25;  // a message box taller than a screen helps nobody

std::vector<std::pair<std::string, std::string>> Filters(const Program& p) {
    return {{Text(p, txt::kCsvFilter) + "(*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}};
}

// The cam file's name with ".csv" in place of its extension.
std::string CsvNameFor(const std::string& camFile) {
    if (camFile.empty()) return "";
    const std::string title = FileTitle(camFile);
    const std::size_t dot = title.rfind('.');
    const std::string stem = camFile.substr(0, camFile.size() - title.size()) + title.substr(0, dot);
    return stem + ".csv";
}

}  // namespace

std::string RowLines(const Program& p, const std::vector<std::string>& lines, std::size_t unlisted) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < kShownRows; ++i) text += "\r" + lines[i];
    const std::size_t more = lines.size() + unlisted - std::min(lines.size(), kShownRows);
    if (more > 0) text += "\r" + Fill(Text(p, txt::kCsvMore), {CStr(static_cast<long>(more))});
    return text;
}

bool ExportCsv(const Program& p, Prompt& prompt) {
    std::string path = prompt.saveFile({Text(p, txt::kCsvExportTitle), Filters(p), p.WorkDir, CsvNameFor(p.CamFile)});
    if (path.empty() || path.size() > kMaxPathLength) return false;
    if (FileTitle(path).find('.') == std::string::npos) {
        path += ".csv";
        // The dialog asked about the name typed, not about the one completed here.
        if (FileExists(path) && prompt.message(Fill(Text(p, txt::kAlreadyExists), {path}), "", Buttons::YesNo,
                                               Icon::Exclamation) != Answer::Yes)
            return false;
    }
    // Written over the cam file it comes from, the table would take the program's place.
    Result written = SameFile(path, p.CamFile) ? Result::Failure(path + ": it is the cam file of the program")
                                               : WriteFileDurably(path, CamCsvText(p));
    if (!written) {
        prompt.message(Text(p, txt::kCannotSave) + "\r" + path + "\r" + written.reason(), "", Buttons::Ok,
                       Icon::Exclamation);
        return false;
    }
    return true;
}

FileOutcome ImportCsv(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle) {
    if (!ConfirmDiscard(doc, p, prompt, windowTitle)) return {};
    const std::string path = prompt.openFile({Text(p, txt::kCsvImportTitle), Filters(p), p.WorkDir, ""});
    if (path.empty() || path.size() > kMaxPathLength) return {};
    const FileBytes file = ReadFileBytes(path, kMaxCsvBytes);
    if (!file.ok()) {
        prompt.message(file.read.reason(), Text(p, txt::kCsvImportTitle), Buttons::Ok, Icon::Exclamation);
        return {};
    }
    Program built = p;
    const CsvImport r = ImportCamCsv(built, file.bytes);
    const std::string title = FileTitle(path);
    if (!r.ok()) {
        const std::size_t refused = r.refusals.size() + r.unlistedRefusals;
        prompt.message(Fill(Text(p, txt::kCsvRefused), {title, CStr(static_cast<long>(refused))}) +
                           RowLines(p, r.refusals, r.unlistedRefusals),
                       Text(p, txt::kCsvImportTitle), Buttons::Ok, Icon::Exclamation);
        return {};
    }
    // Another program: its history begins here, and it is in no cam file yet.
    doc.Begin(Fill(Text(p, txt::kHistImported), {title}), std::move(built.Data()));
    p.ChartView::operator=(built);
    ResizeMessages(p);
    CloseCamFile(p);
    if (!r.notes.empty())
        prompt.message(Fill(Text(p, txt::kCsvNotes), {title}) + RowLines(p, r.notes, r.unlistedNotes),
                       Text(p, txt::kCsvImportTitle), Buttons::Ok, Icon::Information);
    FileOutcome out;
    out.done = true;
    out.redraw = true;
    out.title = ActivationTitle(p);
    return out;
}

}  // namespace cam
