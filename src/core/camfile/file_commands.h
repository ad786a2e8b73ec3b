// The File menu: New, Open, Save, Save As, the recent files, dropped files, the command
// line and the shut-down question. Every question and file dialog goes through the prompt;
// the window renders the returned outcome (title, chart, recent menu). What is read becomes
// the document's content through its edit path (a new history; the data counts as saved).
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/editor/cam_document.h"

#include <string>
#include <vector>

namespace cam {

// Shows the programmer model window (modal); on return NCams/NSizes are set and the
// tables re-dimensioned.
class ModelChooser {
public:
    virtual ~ModelChooser() = default;
    virtual void chooseModel(Program& p) = 0;
};

struct [[nodiscard]] FileOutcome {
    bool done = false;           // the command ran to its end (not cancelled, nothing refused)
    bool redraw = false;         // the tables changed: redraw the chart
    std::string title;           // new window title; "" = keep the present one
    bool recentChanged = false;  // p.RecentFiles changed: rebuild the recent menu
};

inline constexpr std::size_t kMaxPathLength = 2000;  // longer names from a dialog are ignored

// The file name of a path: after the last "/" or "\" (the whole path when it has none).
std::string FileTitle(const std::string& path);
// Title while the window is active: text 33 "1024 32C-07F  255-Msg ".
std::string ActivationTitle(const Program& p);
// Title after a file was opened: text 33 "1024 32C-07F  [path]".
std::string OpenedTitle(const Program& p);
// Puts p.CamFile at the top of p.RecentFiles (moving it up when listed), at most five.
void UpdateRecentList(Program& p);
// The recent menu caption of item i (1-based): "&1 path".
std::string RecentCaption(const Program& p, int item);

// With unsaved changes asks text 112 (OK/Cancel, exclamation, titled windowTitle).
// True when the caller may go on (saved, or OK).
bool ConfirmDiscard(const CamDocument& doc, const Texts& texts, Prompt& prompt, const std::string& windowTitle);

// No file is open any more (the tables were replaced by others): a Save asks for a name.
void CloseCamFile(Program& p);

// Reads p.CamFile (sizes and remarks cleared first); on success title, CurSize 1 and recent list.
// A read that failed or stopped early leaves p.CamFileUnread set, so that Save asks for a name.
// The tables hold what was read: the start of a new history, and saved.
FileOutcome OpenCamFile(Program& p, CamDocument& doc, Prompt& prompt);

// Each of New, Open, OpenRecent and OpenDropped first asks ConfirmDiscard.
FileOutcome New(Program& p, CamDocument& doc, Prompt& prompt, ModelChooser& chooser, const std::string& windowTitle);
FileOutcome Open(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle);
FileOutcome OpenRecent(Program& p, CamDocument& doc, Prompt& prompt, ModelChooser& chooser, int item,
                       const std::string& windowTitle);  // item 1..RecentFiles.size()
FileOutcome OpenDropped(Program& p, CamDocument& doc, Prompt& prompt, const std::vector<std::string>& files,
                        const std::string& windowTitle);
// The start-up argument (surrounding double quotes removed); a missing file is reported.
FileOutcome OpenCommandLine(Program& p, CamDocument& doc, Prompt& prompt, const std::string& argument);

// What a cam file cannot keep of the program (Ratio17NotInFile) is told first, with "Save
// anyway?" (OK/Cancel). True when nothing is lost or the user goes on.
bool ConfirmFileKeepsAll(const Program& p, Prompt& prompt);

// Both return true when the file was written (the document saved); a failure is shown with
// the file name and the reason. Save acts as Save As when no file is open, when it is gone,
// or when its reading failed (the tables do not hold it).
bool Save(Program& p, CamDocument& doc, Prompt& prompt);
bool SaveAs(Program& p, CamDocument& doc, Prompt& prompt);

// Shut-down question (text 112, Yes/No/Cancel). True when the window may close:
// No, saved data, or Yes with a save that succeeded. Writing the options file is the caller's.
bool QueryClose(Program& p, CamDocument& doc, Prompt& prompt, const std::string& windowTitle);

}  // namespace cam
