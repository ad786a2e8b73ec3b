#include "core/camfile/file_commands.h"

#include "core/camfile/cam_file.h"
#include "core/camfile/functions_block.h"
#include "core/model/file_io.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

namespace cam {

namespace {

const std::vector<std::pair<std::string, std::string>> kOpenFilters = {{"Cam File (*.Cam)", "*.cam"},
                                                                       {"All Files   (*.*)", "*.*"}};
const std::vector<std::pair<std::string, std::string>> kSaveFilters = {{"Cam File (*.Cam)", "*.cam"},
                                                                       {"All Files (*.*)", "*.*"}};

// Anything at all at path, a link that leads nowhere included.
bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// Whether path can be read as a cam file; when not, text 1 and the path say that it is not
// there, or the reason names what else is wrong with it (a folder, a FIFO, a loop of links).
bool Readable(const Program& p, Prompt& prompt, const std::string& path) {
    const Result usable = CheckInputFile(path, kMaxCamFileBytes);
    if (usable) return true;
    const std::string said = Exists(path) ? usable.reason() : Text(p, txt::kFileNotFound) + ":\r" + path;
    prompt.message(said, "", Buttons::Ok, Icon::Exclamation);
    return false;
}

// The tables emptied for a new program of the model the user chooses.
void NewTables(Program& p, ModelChooser& chooser) {
    chooser.chooseModel(p);
    CloseCamFile(p);
    ResizeTables(p);
    ClearAll(p);
}

// Reads p.CamFile into the tables, sizes and remarks cleared first.
FileOutcome ReadIntoTables(Program& p, Prompt& prompt) {
    FileOutcome out;
    ClearAllSizes(p);
    ClearRemarks(p);
    const CamFileRead read = ReadCamFile(p, p.CamFile, prompt);
    // What the tables hold now is not the file: a plain Save must not replace it with them.
    p.CamFileUnread = read == CamFileRead::Failed || read == CamFileRead::StoppedEarly || p.ReadError;
    out.redraw = true;
    if (!p.ReadError) {
        out.done = true;
        out.title = OpenedTitle(p);
        p.CurSize = 1;
        UpdateRecentList(p);
        out.recentChanged = true;
    }
    return out;
}

// Opens path; prepare (run first, inside the load) empties the tables as the command does.
FileOutcome OpenPath(Program& p, CamDocument& doc, Prompt& prompt, const std::string& path,
                     const std::function<void()>& prepare) {
    FileOutcome out;
    doc.Load(Text(p, txt::kHistFileOpened), [&](CamData&) {
        prepare();
        p.CamFile = path;
        p.CamFileTitle = FileTitle(path);
        out = ReadIntoTables(p, prompt);
    });
    return out;
}

}  // namespace

std::string FileTitle(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ActivationTitle(const Program& p) {
    return p.Text(33) + "1024" + " " + CStr(p.NCams) + "C-" + D2(p.NSizes) + "F  " + CStr(p.NMsgs) + "-Msg ";
}

std::string OpenedTitle(const Program& p) {
    return p.Text(33) + "1024" + " " + CStr(p.NCams) + "C-" + D2(p.NSizes) + "  [" + p.CamFile + "]";
}

void UpdateRecentList(Program& p) {
    if (p.CamFile.empty()) return;
    auto& list = p.RecentFiles;
    list.erase(std::remove(list.begin(), list.end(), p.CamFile), list.end());
    list.insert(list.begin(), p.CamFile);
    if (list.size() > static_cast<std::size_t>(kMaxRecentFiles)) list.resize(kMaxRecentFiles);
}

std::string RecentCaption(const Program& p, int item) {
    if (item < 1 || item > static_cast<int>(p.RecentFiles.size())) return "";
    return "&" + CStr(item) + " " + p.RecentFiles[item - 1];
}

bool ConfirmDiscard(const CamDocument& doc, const Texts& texts, Prompt& prompt, const std::string& windowTitle) {
    if (doc.FileSaved()) return true;
    return prompt.message(texts.Text(112), windowTitle, Buttons::OkCancel, Icon::Exclamation) == Answer::Ok;
}

void CloseCamFile(Program& p) {
    p.CamFile.clear();
    p.CamFileTitle.clear();
    p.CamFileUnread = false;
}

FileOutcome OpenCamFile(Program& p, CamDocument& doc, Prompt& prompt) {
    return OpenPath(p, doc, prompt, p.CamFile, [] {});
}


FileOutcome New(Program& p, CamDocument& doc, Prompt& prompt, ModelChooser& chooser, const std::string& windowTitle) {
    if (!ConfirmDiscard(doc, p, prompt, windowTitle)) return {};
    doc.Load(Text(p, txt::kHistNewFile), [&](CamData&) { NewTables(p, chooser); });
    FileOutcome out;
    out.done = true;
    out.redraw = true;
    out.title = ActivationTitle(p);
    return out;
}

FileOutcome Open(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle) {
    if (!ConfirmDiscard(doc, p, prompt, windowTitle)) return {};
    FileRequest request{p.Text(11), kOpenFilters, p.WorkDir, p.CamFile};
    // A cancelled dialog keeps the file that is open.
    const std::string path = prompt.openFile(request);
    if (path.empty() || path.size() > kMaxPathLength || !Readable(p, prompt, path)) return {};
    return OpenPath(p, doc, prompt, path, [&] { ClearAll(p); });
}

FileOutcome OpenRecent(Program& p, CamDocument& doc, Prompt& prompt, ModelChooser& chooser, int item,
                       const std::string& windowTitle) {
    if (item < 1 || item > static_cast<int>(p.RecentFiles.size())) return {};
    if (!ConfirmDiscard(doc, p, prompt, windowTitle)) return {};
    const std::string path = p.RecentFiles[item - 1];
    // Checked before the model window and the clearing, so a missing file costs nothing.
    if (!Readable(p, prompt, path)) return {};
    return OpenPath(p, doc, prompt, path, [&] { NewTables(p, chooser); });
}

FileOutcome OpenDropped(Program& p, CamDocument& doc, Prompt& prompt, const std::vector<std::string>& files,
                        const std::string& windowTitle) {
    if (files.empty() || files.back().empty()) return {};
    const std::string path = files.back();
    if (!Readable(p, prompt, path)) return {};
    if (!ConfirmDiscard(doc, p, prompt, windowTitle)) return {};
    return OpenPath(p, doc, prompt, path, [] {});
}

FileOutcome OpenCommandLine(Program& p, CamDocument& doc, Prompt& prompt, const std::string& argument) {
    std::string path = argument;
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    if (path.empty() || !Readable(p, prompt, path)) return {};
    // The recent list keeps full paths, so that it serves from any folder.
    std::error_code ec;
    if (const auto full = std::filesystem::absolute(path, ec); !ec) path = full.lexically_normal().string();
    return OpenPath(p, doc, prompt, path, [] {});
}

bool ConfirmFileKeepsAll(const Program& p, Prompt& prompt) {
    const std::string lost = Ratio17NotInFile(p);
    return lost.empty() || prompt.message(lost + "\r" + Text(p, txt::kSaveAnyway), "", Buttons::OkCancel,
                                          Icon::Exclamation) == Answer::Ok;
}

namespace {

bool Write(const Program& p, CamDocument& doc, Prompt& prompt, const std::string& path) {
    if (!ConfirmFileKeepsAll(p, prompt)) return false;
    if (const Result written = WriteCamFile(doc.data(), path); !written) {
        prompt.message(Text(p, txt::kCannotSave) + "\r" + path + "\r" + written.reason(), "", Buttons::Ok,
                       Icon::Exclamation);
        return false;
    }
    doc.MarkSaved();
    return true;
}

}  // namespace

bool Save(Program& p, CamDocument& doc, Prompt& prompt) {
    if (p.CamFile.empty() || p.CamFileUnread || !Exists(p.CamFile)) return SaveAs(p, doc, prompt);
    return Write(p, doc, prompt, p.CamFile);
}

bool SaveAs(Program& p, CamDocument& doc, Prompt& prompt) {
    const std::string previous = p.CamFile;
    FileRequest request{p.Text(109), kSaveFilters, p.WorkDir, p.CamFile};
    std::string path = prompt.saveFile(request);
    p.CamFile = path;
    if (path.empty() || path.size() > kMaxPathLength) return false;
    // Only the file name counts: folders may contain dots.
    if (FileTitle(path).find('.') == std::string::npos) {
        path += ".Cam";
        // The dialog asked about the name typed, not about the one completed here.
        if (Exists(path) && prompt.message(Fill(Text(p, txt::kAlreadyExists), {path}), "", Buttons::YesNo,
                                           Icon::Exclamation) != Answer::Yes) {
            p.CamFile = previous;
            return false;
        }
    }
    if (!Write(p, doc, prompt, path)) {
        p.CamFile = previous;
        return false;
    }
    p.CamFile = path;
    p.CamFileTitle = FileTitle(path);
    p.CamFileUnread = false;
    return true;
}

bool QueryClose(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle) {
    if (doc.FileSaved()) return true;
    switch (prompt.message(p.Text(112), windowTitle, Buttons::YesNoCancel, Icon::Exclamation)) {
        case Answer::No:
            return true;
        case Answer::Yes:
            return Save(p, doc, prompt);
        default:
            return false;
    }
}

}  // namespace cam
