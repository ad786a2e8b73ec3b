// The main window with the mouse driven as a user drives it over the chart: presses, moves
// with the button held (and Shift), releases, and moves without a button.
#pragma once

#include "main_window_fixture.h"

#include "core/editor/cam_drag.h"
#include "core/editor/chart_geometry.h"
#include "core/editor/phase_list.h"
#include "core/model/text_format.h"

#include <QMouseEvent>

namespace camtest {

class ChartDragFixture : public MainWindowFixture {
    Q_OBJECT

protected:
    // The centre of row's band at a position, and the positions under a point.
    QPoint At(int row, int position) const { return Chart()->positionPoint(row, position); }
    int PosAt(QPoint pt) const { return PositionAt(Chart()->bandSpan(), pt.x()); }
    int EndAt(QPoint pt) const { return BoundaryAt(Chart()->bandSpan(), pt.x()); }

    void Press(QPoint pt, Qt::KeyboardModifiers m = {}) { QTest::mousePress(Chart(), Qt::LeftButton, m, pt); }
    void Release(QPoint pt, Qt::KeyboardModifiers m = {}) { QTest::mouseRelease(Chart(), Qt::LeftButton, m, pt); }
    // A move with the left button held (QTest's own move carries no modifiers).
    void MoveHeld(QPoint pt, Qt::KeyboardModifiers m = {}) { SendMove(pt, Qt::LeftButton, m); }
    void Hover(QPoint pt) { SendMove(pt, Qt::NoButton, {}); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = {}) {
        Press(from, m);
        MoveHeld((from + to) / 2, m);
        MoveHeld(to, m);
        Release(to, m);
    }
    static std::string Entry(int n, int on, int off) { return PhaseListEntry(n, on, off); }
    static QString Four(int v) { return QString::fromStdString(D4(v)); }
    std::string LastLabel() const {
        return w->document().history().entry(w->document().history().present()).change.label;
    }
    std::vector<std::string> Labels() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < w->document().history().count(); ++i)
            out.push_back(w->document().history().entry(i).change.label);
        return out;
    }

private:
    void SendMove(QPoint pt, Qt::MouseButtons buttons, Qt::KeyboardModifiers m) {
        QMouseEvent e(QEvent::MouseMove, QPointF(pt), QPointF(Chart()->mapToGlobal(pt)), Qt::NoButton, buttons, m);
        QApplication::sendEvent(Chart(), &e);
    }
};

}  // namespace camtest
