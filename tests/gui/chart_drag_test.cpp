// Drags on the open cam's row, driven by real mouse events: a new phase, an end, the whole
// phase across position 0, a release outside the chart, Esc, Shift, and the short press that
// stays the click it always was. Also the position readout and its guide line.
#include "chart_drag_fixture.h"

#include "core/model/options.h"
#include "gui_tests.h"
#include "paint/chart_painter.h"

#include <QLabel>
#include <QMenu>

namespace {

using namespace camtest;

class ChartDragTest : public ChartDragFixture {
    Q_OBJECT

private slots:
    // The position readout follows the mouse with a guide line; a drag on an empty stretch
    // draws a phase live.
    void theReadoutAndADragOnAnEmptyStretch() {
        Start();
        QLabel* readout = Chart()->readoutLabel();
        QVERIFY(!readout->isVisible());
        const QPoint over = At(9, 100);
        Hover(over);
        QVERIFY(readout->isVisible());
        QCOMPARE(Chart()->readout(), PosAt(over));
        QCOMPARE(readout->text(), Four(PosAt(over)));
        const BandSpan span = Chart()->bandSpan();
        const int x = int(span.left + PixelOf(span, PosAt(over)));
        const QPoint onRow(x, At(12, 100).y());  // a white band with no bar
        QCOMPARE(Chart()->grab().toImage().pixelColor(onRow), chart_colour::kGuide);
        Hover(Chart()->remarkPoint(9));  // off the bands
        QVERIFY(!readout->isVisible());
        QCOMPARE(Chart()->readout(), -1);
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
        QCOMPARE(On()->text(), Four(on));
        QCOMPARE(Off()->text(), Four(off));
        QCOMPARE(Listed(), Entries{Entry(1, on, off)});
        QVERIFY(UndoEnabled() == false);
        Release(b);
        QVERIFY(!Chart()->dragging());
        QCOMPARE(Listed(), Entries{Entry(1, on, off)});
        QVERIFY(On()->isVisible());
        QCOMPARE(p->CurCam, 2);
        QVERIFY(!w->document().FileSaved());
        QVERIFY(UndoEnabled());
        QCOMPARE(LastLabel(), "phase " + D4(on) + "-" + D4(off) + " of cam 3, size 1");
        // Leaving the boxes writes what they show: the same phase, nothing changes.
        ClickRow(5);
        QCOMPARE(PhaseListEntries(*p, 1, 2), Entries{Entry(1, on, off)});
        QCOMPARE(w->document().history().count(), std::size_t(2));
    }

    void aShortPressStaysTheClickAndADragSpendsASwallowedOne() {
        Start();
        OpenRow(2);
        const QPoint a = At(2, 500);
        Press(a);
        MoveHeld(a + QPoint(3, 0));
        Release(a + QPoint(3, 0));
        QVERIFY(!On()->isVisible());  // the click on the row left edit mode, as always
        QCOMPARE(p->CurCam, 2);
        QVERIFY(Listed().empty());
        QCOMPARE(w->document().history().count(), std::size_t(1));
        // Browsing, a press moved across a row selects it on the press and draws nothing.
        Press(At(6, 100));
        QCOMPARE(p->CurCam, 6);
        MoveHeld(At(6, 400));
        Release(At(6, 400));
        QVERIFY(!Chart()->dragging());
        QVERIFY(PhaseListEntries(*p, 1, 6).empty());
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

    // A phase moved either way wraps through position 0; a new phase drawn past the right
    // end ends at 1023; the drag may end outside the chart.
    void dragsThatEndBeyondTheBands() {
        struct Case {
            const char* name;
            int on, off;    // the phase of cam 3 before, or off < 0 for none
            int from;       // the position pressed
            QPoint beyond;  // where the drag ends, from the band's point at `from`
            bool newPhase;
        };
        for (const Case& c :
             {Case{"moved right", 950, 1000, 975, {2000, 30}, false}, Case{"moved left", 10, 60, 35, {-2000, 0}, false},
              Case{"drawn past the end", 0, -1, 800, {2000, 200}, true}}) {
            Start(c.off < 0 ? "" : CamFileWith("wrap.Cam", 2, c.on, c.off));
            OpenRow(2);
            const QPoint a = At(2, c.from);
            const int from = PosAt(a);
            Drag(a, QPoint(qBound(-30, a.x() + c.beyond.x(), Chart()->width() + 40),
                           qMin(a.y() + c.beyond.y(), Chart()->height() + 30)));
            const int on = c.newPhase ? from : (c.on + 1024 + (c.beyond.x() > 0 ? 1024 - from : -from)) % 1024;
            const int off = c.newPhase ? 0 : (on + c.off - c.on) % 1024;
            QVERIFY2(Listed() == Entries{Entry(1, on, off)}, c.name);
            QVERIFY2(On()->text() == Four(on) && Off()->text() == Four(off), c.name);
            if (c.newPhase) QVERIFY(int(p->CamPos(1, 2, 1023)) == 1);
        }
    }

    // Esc puts the cam back and the release does nothing; a drag on an end moves it.
    void escPutsTheCamBackAndAnEndMoves() {
        Start(CamFileWith("esc.Cam", 2, 100, 200));
        OpenRow(2);
        Press(At(2, 150));
        MoveHeld(At(2, 400));
        QVERIFY(Listed() != Entries{"F001 0100 0200"});
        QTest::keyClick(On(), Qt::Key_Escape);  // the focus is in the ON box
        QVERIFY(!Chart()->dragging());
        QCOMPARE(Listed(), Entries{"F001 0100 0200"});
        QCOMPARE(On()->text(), QString("0100"));  // Esc typed nothing into the box
        QCOMPARE(Off()->text(), QString("0200"));
        MoveHeld(At(2, 600));
        Release(At(2, 600));
        QCOMPARE(Listed(), Entries{"F001 0100 0200"});
        QVERIFY(On()->isVisible());  // not a click either
        QVERIFY(!UndoEnabled());
        QCOMPARE(w->document().history().count(), std::size_t(1));

        // An end moves; Shift snaps it to eights.
        const QPoint end = At(2, 200), target = At(2, 300);
        const int moved = EndAt(target) - PosAt(end);
        Press(end);
        MoveHeld(target);
        QCOMPARE(Off()->text(), Four(200 + moved));
        QCOMPARE(On()->text(), QString("0100"));
        // Shift held, then let go, while the mouse stays.
        QTest::keyPress(On(), Qt::Key_Shift, Qt::ShiftModifier);
        const int snapped = SnapTo(200 + moved, 8);
        QCOMPARE(Off()->text(), Four(snapped));
        QTest::keyRelease(On(), Qt::Key_Shift);
        QCOMPARE(Off()->text(), Four(200 + moved));
        Release(target, Qt::ShiftModifier);
        QCOMPARE(Listed(), Entries{Entry(1, 100, snapped)});
        QCOMPARE(snapped % 8, 0);
        // Ctrl+Z takes the drag back, as it takes back a typed phase.
        QTest::keyClick(On(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Listed(), Entries{"F001 0100 0200"});
        QCOMPARE(LastLabel(), std::string("undo on cam 3, size 1"));
    }

    void theSnapStepIsASettingOfItsOwn() {
        Start();
        prompt->push("16");
        w->action("o_Snap")->trigger();
        QCOMPARE(p->SnapStep, 16);
        OpenRow(2);
        const QPoint a = At(2, 101), b = At(2, 203);
        Drag(a, b, Qt::ShiftModifier);
        QCOMPARE(Listed(), Entries{Entry(1, SnapTo(PosAt(a), 16), SnapTo(EndAt(b), 16))});
        Start();  // a new run reads it back
        QCOMPARE(p->SnapStep, 16);
        // The options file, written when the first run ended, keeps its described form.
        QFile options(QString::fromStdString(p->WorkDir + "/KlmPx_opt.def"));
        QVERIFY(options.open(QIODevice::ReadOnly));
        QCOMPARE(options.readAll().toStdString(), FormatOptions(*p));
    }
};

RegisterGuiTest<ChartDragTest> registerChartDragTest;

}  // namespace

#include "chart_drag_test.moc"
