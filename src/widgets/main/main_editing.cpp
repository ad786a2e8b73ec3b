// Phase editing in the main window: rows, boxes, phase list, navigation keys, undo.
// The rules are PhaseEditor's; this file turns widget events into its calls and renders it.
#include "widgets/main/main_window.h"

#include "widgets/editor/chart_widget.h"
#include "core/editor/size_commands.h"
#include "qt/cp1252.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QToolButton>

namespace cam {

void MainWindow::ConnectEditing() {
    ChartWidget* c = chart_;
    PhaseBox* on = c->onBox();
    PhaseBox* off = c->offBox();
    connect(c, &ChartWidget::camClicked, this, &MainWindow::LabCamClick);
    // A double click acts on the cam it points at, whatever click was swallowed before it.
    connect(c, &ChartWidget::camDoubleClicked, this, [this](int row) {
        if (editor_.PointAt(row)) SelectRow(row);
        LabCamDblClick(row);
    });
    connect(c, &ChartWidget::remarkDoubleClicked, this, [this](int row) {
        if (editor_.PointAt(row)) SelectRow(row);
        RunSizeCommand(&EditRemark);
    });
    connect(c, &ChartWidget::camRightClicked, this, &MainWindow::ShowCamMenu);
    connect(c, &ChartWidget::sizeCaptionDoubleClicked, this, [this] {
        LeaveEditMode();
        RunSizeCommand(&SelectSize);
    });
    connect(c, &ChartWidget::sizeCaptionRightClicked, this, [this](QPoint at) { sizeMenu_->popup(at); });
    connect(c, &ChartWidget::spinnerPressed, this, [this](int step) {
        LeaveEditMode();  // a phase being entered stays with the size it was typed for
        if (StepSize(p_, step)) Redraw();
    });
    connect(c, &ChartWidget::entryClicked, this, [this, on, off](const std::string& entry) {
        editor_.PickEntry(entry);
        RenderEditor();
        on->setText(FromCp1252(editor_.onText()));
        off->setText(FromCp1252(editor_.offText()));
    });
    connect(c, &ChartWidget::entryDoubleClicked, this, [this, on, off](const std::string& entry) {
        editor_.PickEntryAndEdit(entry);
        RenderEditor();
        on->setText(FromCp1252(editor_.onText()));
        off->setText(FromCp1252(editor_.offText()));
        on->setFocus(Qt::OtherFocusReason);
    });

    connect(on, &PhaseBox::focusEntered, this, [this, on, off] {
        editor_.OnFocusIn();
        on->setText(FromCp1252(editor_.onText()));
        off->setText(FromCp1252(editor_.offText()));
        on->selectAll();
    });
    connect(off, &PhaseBox::focusEntered, this, [this, off] {
        editor_.OffFocusIn();
        off->setText(FromCp1252(editor_.offText()));
        off->selectAll();
    });
    connect(on, &PhaseBox::keyTyped, this, [this] { editor_.OnKeyTyped(); });
    connect(on, &PhaseBox::committed, this, [on, off] {
        on->setText(FromCp1252(CommitBoxText(ToCp1252(on->text()))));
        on->deselect();
        off->setFocus(Qt::TabFocusReason);
    });
    connect(off, &PhaseBox::committed, this, [on, off] {
        off->setText(FromCp1252(CommitBoxText(ToCp1252(off->text()))));
        off->deselect();
        on->setFocus(Qt::TabFocusReason);
    });
    // Boxes hidden because the tables were replaced are not being left by the user: nothing
    // is written then.
    connect(on, &PhaseBox::focusLeft, this, [this, on] {
        if (!editor_.editMode()) return;
        editor_.OnFocusOut(ToCp1252(on->text()));
        on->setText(FromCp1252(editor_.onText()));
        on->deselect();
    });
    connect(off, &PhaseBox::focusLeft, this, &MainWindow::LeaveOffBox);
}

void MainWindow::LeaveOffBox() {
    if (!editor_.editMode()) return;
    PhaseBox* off = chart_->offBox();
    const bool written = editor_.OffFocusOut(ToCp1252(chart_->onBox()->text()), ToCp1252(off->text()));
    off->setText(FromCp1252(editor_.offText()));
    off->deselect();
    if (written) chart_->DrawCamRow(p_.CurCam);
    RenderEditor();
}

void MainWindow::EnterTypedPhase() {
    // Only the OFF box holds a phase on its way in: leaving the ON box writes nothing.
    if (!editor_.editMode() || focusWidget() != chart_->offBox()) return;
    // As Enter in the OFF box: leaving it writes the phase (once: a phase that wraps through
    // position 0 need not come out the same when written twice), and the ON box takes the
    // next one. A window that is not active gets no focus events: the phase is written here.
    if (!isActiveWindow()) LeaveOffBox();
    chart_->onBox()->setFocus(Qt::TabFocusReason);
}

void MainWindow::RenderEditor() {
    chart_->showBoxes(editor_.editMode());
    chart_->offBox()->setEnabled(editor_.offEnabled());
    chart_->setDragRow(editor_.dragCam());
    if (QAction* undo = action("o_Undo")) undo->setEnabled(editor_.undoEnabled());
}

// Captions and every row; showing another cam or size ends the undo copy's validity.
void MainWindow::Redraw() {
    chart_->RedrawChart();
    editor_.ChartShown(p_.CurSize, p_.CurCam);
    RenderEditor();
}

void MainWindow::LeaveEditMode() {
    // Leave the boxes first, so that a phase being entered is written to the cam it belongs to.
    EnterTypedPhase();
    PhaseBox* on = chart_->onBox();
    PhaseBox* off = chart_->offBox();
    if (on->hasFocus() || off->hasFocus()) buttons_["GoPrCam"]->setFocus(Qt::OtherFocusReason);
    editor_.LeaveEditMode();
    RenderEditor();
}

void MainWindow::LabCamClick(int row) {
    if (!editor_.AcceptCamClick(row, prompt_)) return;
    SelectRow(row);
}

void MainWindow::SelectRow(int row) {
    LeaveEditMode();
    editor_.SelectCam(row);
    Redraw();
    buttons_["GoPrCam"]->setFocus(Qt::OtherFocusReason);  // Enter or Space then opens the cam
}

void MainWindow::LabCamDblClick(int row) {
    editor_.OpenCam(row);
    RenderEditor();
    PhaseBox* on = chart_->onBox();
    if (on->hasFocus()) {
        // Already in the ON box: load the cam's first phase as a fresh focus would.
        editor_.OnFocusIn();
        on->setText(FromCp1252(editor_.onText()));
        chart_->offBox()->setText(FromCp1252(editor_.offText()));
        on->selectAll();
    } else {
        on->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::NavigateTo(NavKey key) {
    const int cam = NavigateCam(key, p_.CurCam, p_.NCams);
    editor_.PointAt(cam);  // the key names its cam: no click is swallowed here
    SelectRow(cam);
    LabCamDblClick(cam);
}

void MainWindow::UndoPhase() {
    EnterTypedPhase();  // what is undone is the last phase entered, the one in the boxes included
    if (editor_.Undo()) chart_->DrawCamRow(p_.CurCam);
    RenderEditor();
}

void MainWindow::ShowCamMenu(int row, QPoint globalPos) {
    // A phase being entered stays with the cam it was typed for, as with a left click.
    if (row != p_.CurCam) LeaveEditMode();
    if (editor_.CamRightClick(row)) Redraw();
    camMenu_->popup(globalPos);
}

}  // namespace cam
