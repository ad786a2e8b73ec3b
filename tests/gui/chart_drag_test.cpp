// Drags on the open cam's row, driven by real mouse events: a new phase, an end, a release outside
// the chart, Esc, Shift, the short press that stays a click; and the position readout.
#include "chart_drag_fixture.h"

#include "gui_tests.h"
#include "paint/chart_painter.h"

#include <QLabel>

namespace {

using namespace camtest;

class ChartDragTest : public ChartDragFixture {
    Q_OBJECT

private slots:
    // The position readout follows the mouse with a guide line; a drag on an empty stretch draws live.
    void theReadoutAndADragOnAnEmptyStretch() {
        Start();
        QLabel* readout = Chart()->readoutLabel();
        QVERIFY(!readout->isVisible());
        const QPoint over = At(9, 100);
        Hover(over);
        QCOMPARE(std::tuple(readout->isVisible(), Chart()->readout(), readout->text()),
                 std::tuple(true, PosAt(over), Four(PosAt(over))));
        const BandSpan span = Chart()->bandSpan();
        const QPoint onRow(int(span.left + PixelOf(span, PosAt(over))), At(12, 100).y());  // a white band, no bar
        QCOMPARE(Chart()->grab().toImage().pixelColor(onRow), chart_colour::kGuide);
        Hover(Chart()->remarkPoint(9));  // off the bands
        QCOMPARE(std::pair(readout->isVisible(), Chart()->readout()), std::pair(false, -1));
        QCOMPARE(Chart()->grab().toImage().pixelColor(onRow), chart_colour::kOtherBand);

        OpenRow(2);
        const QPoint a = At(2, 100), b = At(2, 300);
        const int on = PosAt(a), off = EndAt(b);
        Press(a);
        QVERIFY(On()->isVisible());  // a press alone leaves edit mode as it is
        MoveHeld(a + QPoint(2, 1));  // under 4 pixels: still a press
        QVERIFY(!Chart()->dragging());
        MoveHeld(b);
        QVERIFY(Chart()->dragging());
        // While dragging the boxes and the chart show the phase as it stands.
        QCOMPARE(Boxes(), (QStringList{Four(on), Four(off)}));
        QCOMPARE(Listed(), Entries{Entry(1, on, off)});
        Release(b);
        QCOMPARE(Listed(), Entries{Entry(1, on, off)});
        QCOMPARE(std::tuple(Chart()->dragging(), On()->isVisible(), p->CurCam), std::tuple(false, true, 2));
        QCOMPARE(LastLabel(), "phase " + D4(on) + "-" + D4(off) + " of cam 3, size 1");
    }

    void aShortPressStaysTheClickAndADragSpendsASwallowedOne() {
        Start();
        OpenRow(2);
        const QPoint a = At(2, 500);
        Press(a);
        MoveHeld(a + QPoint(3, 0));
        Release(a + QPoint(3, 0));
        // The click on the row left edit mode, as always.
        QCOMPARE(std::tuple(On()->isVisible(), p->CurCam, Listed().empty(), int(w->document().history().count())),
                 std::tuple(false, 2, true, 1));
        // Browsing, a press moved across a row selects it on the press and draws nothing.
        Press(At(6, 100));
        QCOMPARE(p->CurCam, 6);
        MoveHeld(At(6, 400));
        Release(At(6, 400));
        QVERIFY(!Chart()->dragging() && PhaseListEntries(*p, 1, 6).empty());
        // In edit mode another row still answers on the press.
        OpenRow(2);
        Press(At(7, 100));
        QCOMPARE(p->CurCam, 7);
        Release(At(7, 100));
        QVERIFY(!On()->isVisible());
        // A drag after a right click spends the click the right click swallows.
        OpenRow(2);
        QTest::mouseClick(Chart(), Qt::RightButton, {}, At(2, 600));
        QTRY_VERIFY(w->camMenu()->isVisible());
        w->camMenu()->close();
        Drag(At(2, 100), At(2, 300));
        QCOMPARE(Listed().size(), std::size_t(1));
        ClickRow(7);  // the next click acts
        QCOMPARE(p->CurCam, 7);
    }

    // A new phase drawn past the right end of the chart ends at 1023.
    void aDragEndsBeyondTheChart() {
        Start();
        OpenRow(2);
        const QPoint a = At(2, 800);
        Drag(a, QPoint(Chart()->width() + 40, a.y() + 200));
        QCOMPARE(std::pair(Listed(), int(p->CamPos(1, 2, 1023))), std::pair(Entries{Entry(1, PosAt(a), 0)}, 1));
    }

    void escPutsTheCamBackAndAnEndMoves() {
        Start(CamFileWith("esc.Cam", 2, 100, 200));
        OpenRow(2);
        Press(At(2, 150));
        MoveHeld(At(2, 400));
        QVERIFY(Listed() != Entries{"F001 0100 0200"});
        QTest::keyClick(On(), Qt::Key_Escape);  // the focus is in the ON box
        QVERIFY(!Chart()->dragging());
        QCOMPARE(Listed(), Entries{"F001 0100 0200"});
        QCOMPARE(Boxes(), (QStringList{"0100", "0200"}));  // Esc typed nothing into the box
        MoveHeld(At(2, 600));
        Release(At(2, 600));
        QCOMPARE(Listed(), Entries{"F001 0100 0200"});
        // Not a click either.
        QCOMPARE(std::tuple(On()->isVisible(), UndoEnabled(), int(w->document().history().count())),
                 std::tuple(true, false, 1));

        // An end moves; Shift snaps it to eights.
        const QPoint end = At(2, 200), target = At(2, 300);
        const int moved = EndAt(target) - PosAt(end);
        Press(end);
        MoveHeld(target);
        QCOMPARE(Boxes(), (QStringList{"0100", Four(200 + moved)}));
        // Shift held, then let go, while the mouse stays.
        QTest::keyPress(On(), Qt::Key_Shift, Qt::ShiftModifier);
        const int snapped = SnapTo(200 + moved, 8);
        QCOMPARE(Off()->text(), Four(snapped));
        QTest::keyRelease(On(), Qt::Key_Shift);
        QCOMPARE(Off()->text(), Four(200 + moved));
        Release(target, Qt::ShiftModifier);
        QCOMPARE(std::pair(Listed(), snapped % 8), std::pair(Entries{Entry(1, 100, snapped)}, 0));
    }

    void theSnapStepIsASettingOfItsOwn() {
        Start();
        Trigger("o_Snap", "16");
        QCOMPARE(p->SnapStep, 16);
        OpenRow(2);
        const QPoint a = At(2, 101), b = At(2, 203);
        Drag(a, b, Qt::ShiftModifier);
        QCOMPARE(Listed(), Entries{Entry(1, SnapTo(PosAt(a), 16), SnapTo(EndAt(b), 16))});
        Start();  // a new run reads back what the first wrote at its end
        QCOMPARE(p->SnapStep, 16);
    }
};

RegisterGuiTest<ChartDragTest> registerChartDragTest;

}  // namespace

#include "chart_drag_test.moc"
