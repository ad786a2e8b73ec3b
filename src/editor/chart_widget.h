// The chart canvas of the main window: captions, size spinner, the 32 cam rows with grid
// and scale (painted by ChartPainter), and the phase panel: the ON/OFF boxes with their
// heading, the phase list of the current cam and its count. The canvas keeps its own
// children in proportion to its size, so enlarging the window enlarges the chart and its fonts.
// It forwards mouse events as signals; the rules live in PhaseEditor and the commands.
#pragma once

#include "core/program.h"

#include <QLineEdit>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace cam {

// GRADION and GRADIOFF: four-character boxes that take digits only (every other character
// is typed as "0"); Enter and Tab commit the box. Focus changes caused by another window
// or a menu are not the user leaving the box, so they are not reported.
class PhaseBox : public QLineEdit {
    Q_OBJECT
public:
    explicit PhaseBox(QWidget* parent = nullptr);
signals:
    void keyTyped();   // any character typed, Enter and Tab included
    void committed();  // Enter or Tab
    void focusEntered();
    void focusLeft();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool selectOnPress_ = false;  // the focus came with a mouse press: select all after it
};

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

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    enum class Target { None, CamLabel, Remark, SizeCaption, Spinner };
    Target hit(QPointF pos, int* row) const;
    void fillPhaseList();
    void layoutChildren();

    Program& p_;
    PhaseBox* on_;
    PhaseBox* off_;
    QLabel* heading_;
    QLabel* listHeading_;
    QListWidget* list_;
    QLabel* count_;
    bool leftPressed_ = false;
    bool rightPressed_ = false;
};

}  // namespace cam
