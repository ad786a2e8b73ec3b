// Shaping the open cam with the mouse, and the change history of the tables: the drag's
// rules are CamDrag's, the history's ChangeHistory's; this file wires them to the chart.
#include "widgets/main/main_window.h"

#include "core/model/edit_settings.h"
#include "core/model/text_format.h"
#include "widgets/editor/chart_widget.h"
#include "widgets/editor/history_window.h"
#include "qt/cp1252.h"

#include <QToolTip>

namespace cam {

void MainWindow::ConnectDrag() {
    connect(chart_, &ChartWidget::dragStarted, this, &MainWindow::BeginDrag);
    connect(chart_, &ChartWidget::dragMoved, this, &MainWindow::DragTo);
    connect(chart_, &ChartWidget::dragFinished, this, &MainWindow::FinishDrag);
    connect(chart_, &ChartWidget::dragCancelled, this, &MainWindow::CancelDrag);
}

void MainWindow::BeginDrag(int row, int from, int reach) {
    if (row != editor_.dragCam()) return;
    // Values half typed into the boxes are entered before the mouse takes the cam.
    EnterTypedPhase();
    if (!drag_.Begin(p_, p_.CurSize, row, from, reach)) return;
    // The press was the click that follows a right click: it is spent on the drag.
    editor_.PointAt(row);
    dragOn_ = chart_->onBox()->text();
    dragOff_ = chart_->offBox()->text();
}

void MainWindow::DragTo(int to, bool shift, QPoint globalPos) {
    if (!drag_.active()) return;
    const DraggedPhase ph = drag_.Move(p_, to, shift ? p_.SnapStep : 1);
    chart_->DrawCamRow(drag_.cam());
    const QString on = ph.none ? dragOn_ : FromCp1252(D4(ph.on));
    const QString off = ph.none ? dragOff_ : FromCp1252(D4(ph.off));
    chart_->onBox()->setText(on);
    chart_->offBox()->setText(off);
    if (!ph.none)
        QToolTip::showText(globalPos, FromCp1252(Fill(Text(p_, txt::kDragTip), {D4(ph.on), D4(ph.off)})), chart_);
}

bool MainWindow::FinishDrag() {
    if (!drag_.active()) return false;
    QToolTip::hideText();
    const int cam = drag_.cam();
    const auto dragged = drag_.Finish(p_);
    const bool written = dragged.has_value();
    if (written) {
        const DraggedPhase ph = drag_.phase();
        editor_.WriteDrag(drag_.size(), cam, *dragged, ph.on, ph.off);
        chart_->onBox()->setText(FromCp1252(editor_.onText()));
        chart_->offBox()->setText(FromCp1252(editor_.offText()));
    } else {
        chart_->onBox()->setText(dragOn_);
        chart_->offBox()->setText(dragOff_);
    }
    chart_->DrawCamRow(cam);
    RenderEditor();
    return written;
}

void MainWindow::CancelDrag() {
    if (!drag_.active()) return;
    QToolTip::hideText();
    const int cam = drag_.cam();
    drag_.Cancel(p_);
    chart_->onBox()->setText(dragOn_);
    chart_->offBox()->setText(dragOff_);
    chart_->DrawCamRow(cam);
}

bool MainWindow::PerformDrag(int cam, int from, int to) {
    if (cam < 0 || cam >= p_.NCams) return false;
    if (editor_.PointAt(cam)) SelectRow(cam);
    LabCamDblClick(cam);
    BeginDrag(cam, from, chart_->gripReach());
    if (!drag_.active()) return false;
    DragTo(to, false, chart_->mapToGlobal(chart_->positionPoint(cam, std::min(to, kPositions - 1))));
    return FinishDrag();
}

// ---- History ----------------------------------------------------------------------------

void MainWindow::ReceiveSizes(const Reception& receive) {
    EnterTypedPhase();
    if (!ConfirmDiscard(document_, p_, prompt_, ToCp1252(windowTitle()))) return;
    auto received = receive(p_.NCams);
    if (received) TakeProgram(Text(p_, txt::kHistReception), std::move(received->data));
}

void MainWindow::TakeProgram(std::string label, CamData data) {
    document_.Replace(std::move(label), std::move(data));
    ResizeMessages(p_);
    p_.CurSize = 1;
    TablesReplaced();
}

void MainWindow::ShowHistory() {
    LeaveEditMode();  // a phase being entered is written, and listed, first
    HistoryWindow window(
        p_, document_, [this] { chart_->RedrawChart(); }, this);
    window.exec();
    Activate();
}

void MainWindow::AskSnapStep() {
    const auto answer = prompt_.input(Text(p_, txt::kSnapPrompt), Text(p_, txt::kSnapTitle), CStr(p_.SnapStep));
    if (!answer || answer->empty()) return;
    p_.SnapStep = SnapStepOf(*answer);
    if (!settings_.writeOptions) return;
    if (const Result r = WriteEditSettings(p_); !r)
        prompt_.message(Text(p_, txt::kCannotSaveOptions) + "\r" + r.reason(), "", Buttons::Ok, Icon::Exclamation);
}

}  // namespace cam
