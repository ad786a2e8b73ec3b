// The chart canvas of the main window: captions, size spinner, the 32 cam rows with grid
// and scale (painted by ChartPainter), and the phase panel: the ON/OFF boxes with their
// heading, the phase list of the current cam and its count. The canvas keeps its own
// children in proportion to its size, so enlarging the window enlarges the chart and its fonts.
// It forwards mouse events as signals; the rules live in PhaseEditor and the commands.
// Over the bands it shows the position under the mouse (a number and a guide line), and on
// the row of the cam open for editing a press that moves 4 pixels or more becomes a drag.
#pragma once

#include "core/model/program.h"
#include "core/editor/chart_geometry.h"
#include "widgets/editor/phase_box_widget.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace cam {

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(Program& p, QWidget* parent = nullptr);

    // Captions and every row of the current size; the phase list and count of the current cam.
    void RedrawChart();
    // One row; for the current cam also the phase list and its count.
    void DrawCamRow(int cam);

    PhaseBox* onBox() const { return on_; }
    PhaseBox* offBox() const { return off_; }
    QListWidget* phaseList() const { return list_; }
    QLabel* boxHeading() const { return heading_; }
    QLabel* phaseCount() const { return count_; }
    QString sizeCaption() const;
    QString camCaption() const;
    // Shows or hides the two boxes and their heading (edit mode).
    void showBoxes(bool shown);

    // Centres of the click targets in widget coordinates (used by the tests and by hit tests).
    QPoint camLabelPoint(int row) const;
    QPoint remarkPoint(int row) const;
    QPoint sizeCaptionPoint() const;
    QPoint spinnerPoint(bool right) const;
    double scaleX() const;
    double scaleY() const;

    // The row that takes a drag (the cam open for editing), -1: none.
    void setDragRow(int row);
    int dragRow() const { return dragRow_; }
    bool dragging() const { return dragging_; }
    // The bands in device pixels, and the reach of a grip on a phase end in positions.
    BandSpan bandSpan() const;
    int gripReach() const;
    // The centre of row's band at position (a target for a press or a move).
    QPoint positionPoint(int row, int position) const;
    // The position under the mouse (-1 when it is not over the bands) and its readout.
    int readout() const { return readout_; }
    QLabel* readoutLabel() const { return readoutLabel_; }

signals:
    void camClicked(int row);
    void camDoubleClicked(int row);
    void remarkDoubleClicked(int row);
    void camRightClicked(int row, QPoint globalPos);
    void sizeCaptionDoubleClicked();
    void sizeCaptionRightClicked(QPoint globalPos);
    void spinnerPressed(int step);  // +1: the right arrow, -1: the left one
    void entryClicked(const std::string& entry);
    void entryDoubleClicked(const std::string& entry);
    // A drag on the drag row: pressed at position from (0..1024), with the reach of a grip;
    // then the mouse at to (Shift held or not), and the release or Esc.
    void dragStarted(int row, int from, int reach);
    void dragMoved(int to, bool shift, QPoint globalPos);
    void dragFinished();
    void dragCancelled();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    enum class Target { None, CamLabel, Remark, SizeCaption, Spinner };
    Target hit(QPointF pos, int* row) const;
    void fillPhaseList();
    void layoutChildren();
    bool overDragBand(QPointF pos, int row) const;
    void endDrag();
    void showReadout(double x, double y);
    void setGuide(int x);
    QRect guideRect(int x) const;
    void setHoverCursor(QPointF pos);

    Program& p_;
    PhaseBox* on_;
    PhaseBox* off_;
    QLabel* heading_;
    QLabel* listHeading_;
    QListWidget* list_;
    QLabel* count_;
    QLabel* readoutLabel_;
    bool leftPressed_ = false;
    bool rightPressed_ = false;
    int dragRow_ = -1;
    bool pressPending_ = false;  // a press on the drag row: a click until it moves 4 pixels
    QPointF pressAt_;
    int pressRow_ = -1;
    bool dragging_ = false;
    QPointF lastAt_;
    int readout_ = -1;
    int guideX_ = -1;
};

}  // namespace cam
