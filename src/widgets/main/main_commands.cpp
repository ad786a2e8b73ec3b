// File and size commands as the menus, buttons and drops reach them: the core routines do
// the work through the prompt; the window applies what they report.
#include "widgets/main/main_window.h"

#include "core/model/language.h"
#include "widgets/editor/chart_widget.h"
#include "core/editor/size_commands.h"
#include "qt/cp1252.h"
#include "widgets/ui/info_window.h"
#include "widgets/ui/programmer_window.h"

namespace cam {

void MainWindow::Apply(const FileOutcome& outcome) {
    if (outcome.redraw) {
        // New tables: an undo copy, or a phase still in the boxes, would write old positions
        // into them.
        editor_.ForgetUndo();
        editor_.LeaveEditMode();
        Redraw();
    }
    if (!outcome.title.empty()) setWindowTitle(FromCp1252(outcome.title));
    if (outcome.recentChanged) RebuildRecentMenu();
}

void MainWindow::Apply(const CommandResult& result) {
    switch (result.redraw) {
        case CommandResult::Chart:
            Redraw();
            break;
        case CommandResult::Row:
            chart_->DrawCamRow(result.row);
            break;
        case CommandResult::None:
            break;
    }
    if (result.sizeChanged) Redraw();  // another size shown: undo no longer applies
    chart_->update();                  // a remark may have changed
    RenderEditor();
}

void MainWindow::RunSizeCommand(CommandResult (*command)(Program&, CamDocument&, Prompt&)) {
    EnterTypedPhase();
    Apply(command(p_, document_, prompt_));
}

namespace {
std::string Title(const QWidget* w) { return ToCp1252(w->windowTitle()); }
}  // namespace

void MainWindow::NewFile() {
    LeaveEditMode();
    CarprgChooser chooser(
        this, [this](Program&) { return identifyDevice(); }, portStatus);
    Apply(New(p_, document_, prompt_, chooser, Title(this)));
}

void MainWindow::OpenFile() {
    EnterTypedPhase();
    Apply(Open(p_, document_, prompt_, Title(this)));
}

void MainWindow::SaveFile() {
    EnterTypedPhase();
    (void)Save(p_, document_, prompt_);  // a failure was shown
}

void MainWindow::SaveFileAs() {
    EnterTypedPhase();
    (void)SaveAs(p_, document_, prompt_);  // a failure was shown
}

void MainWindow::OpenRecentFile(int item) {
    EnterTypedPhase();
    CarprgChooser chooser(
        this, [this](Program&) { return identifyDevice(); }, portStatus);
    Apply(OpenRecent(p_, document_, prompt_, chooser, item, Title(this)));
}

void MainWindow::OpenDroppedFiles(const std::vector<std::string>& files) {
    EnterTypedPhase();
    Apply(OpenDropped(p_, document_, prompt_, files, Title(this)));
}

void MainWindow::SetLanguage() {
    EnterTypedPhase();
    if (!ConfirmDiscard(document_, p_, prompt_, Title(this))) return;
    if (!ChooseLanguage(p_, prompt_)) return;
    LeaveEditMode();
    Startup(true);
    Activate();
}

}  // namespace cam

namespace cam {

void MainWindow::ShowInfo() {
    INTESTA info(p_, prompt_, this);
    info.setProgramFolder(settings_.exeDir);
    info.exec();
}

}  // namespace cam
