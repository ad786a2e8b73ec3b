// The chart painted into an image at design scale: colours, bar ends and rows, checked
// pixel by pixel against the geometry of the design (restated here, not imported).
#include "core/program.h"
#include "editor/chart_painter.h"
#include "gui_tests.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace cam;

namespace {

// Row r's band: left 17, width 360, top 30 + 14 r + 3, height 10.
constexpr int kBandLeft = 17;
int BandMiddle(int row) { return 30 + 14 * row + 3 + 5; }

QImage Paint(const Program& p) {
    QImage img(700, 496, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter g(&img);
    ChartPainter(g, 1.0, 1.0).DrawChart(p);
    return img;
}

QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

class ChartPainterTest : public QObject {
    Q_OBJECT
    Program p;

private slots:
    void init() {
        p = Program();
        p.NCams = 32;
        p.NSizes = 7;
        ResizeTables(p);
        p.CurSize = 1;
        p.CurCam = 1;
    }

    void bandColoursMarkTheCurrentCam() {
        const QImage img = Paint(p);
        QCOMPARE(At(img, kBandLeft + 100, BandMiddle(1)), QColor(255, 255, 0));
        QCOMPARE(At(img, kBandLeft + 100, BandMiddle(0)), QColor(255, 255, 255));
        // Remark label backgrounds follow the band: left 381, width 150.
        QCOMPARE(At(img, 381 + 100, BandMiddle(1)), QColor(255, 255, 0));
        QCOMPARE(At(img, 381 + 100, BandMiddle(2)), QColor(255, 255, 255));
    }

    void innerBarEndsAtItsLastOnPosition() {
        // ON 100..199 with 360/1023 units a position: N(35.19) = 35 to N(70.03) = 70.
        SetPhase(p, 1, 0, 100, 200);
        SetPhase(p, 1, 1, 100, 200);
        const QImage img = Paint(p);
        const int y = BandMiddle(0);
        QCOMPARE(At(img, kBandLeft + 34, y), QColor(255, 255, 255));
        QCOMPARE(At(img, kBandLeft + 35, y), QColor(0, 0, 0));
        QCOMPARE(At(img, kBandLeft + 70, y), QColor(0, 0, 0));
        QCOMPARE(At(img, kBandLeft + 71, y), QColor(255, 255, 255));
        QCOMPARE(At(img, kBandLeft + 50, BandMiddle(1)), QColor(0, 0, 255));  // current cam: blue
    }

    void edgeBarsReachBothEndsOfTheBand() {
        // ON 0..49 and 900..1023: bars 0..N(17.6) = 18 and N(316.7) = 317..360.
        SetPhase(p, 1, 0, 900, 50);
        const QImage img = Paint(p);
        const int y = BandMiddle(0);
        QCOMPARE(At(img, kBandLeft + 1, y), QColor(0, 0, 0));  // x 17 carries the first grid line
        QCOMPARE(At(img, kBandLeft + 18, y), QColor(0, 0, 0));
        QCOMPARE(At(img, kBandLeft + 19, y), QColor(255, 255, 255));
        QCOMPARE(At(img, kBandLeft + 316, y), QColor(255, 255, 255));
        QCOMPARE(At(img, kBandLeft + 317, y), QColor(0, 0, 0));
        QCOMPARE(At(img, kBandLeft + 360, y), QColor(0, 0, 0));
    }

    void gridLinesLieOverTheBars() {
        SetPhase(p, 1, 0, 0, 1024);
        const QImage img = Paint(p);
        for (int k = 0; k < 8; ++k) QCOMPARE(At(img, kBandLeft + 45 * k, BandMiddle(0)), QColor(128, 128, 128));
        QCOMPARE(At(img, kBandLeft + 45 + 1, BandMiddle(0)), QColor(0, 0, 0));
    }

    void rowsBeyondTheModelAreNotDrawn() {
        p.NCams = 16;
        ResizeTables(p);
        const QImage img = Paint(p);
        QCOMPARE(At(img, kBandLeft + 100, BandMiddle(15)), QColor(255, 255, 255));
        QVERIFY(At(img, kBandLeft + 100, BandMiddle(16)) != QColor(255, 255, 255));
    }

    void doubleScaleDoublesTheGeometry() {
        SetPhase(p, 1, 0, 100, 200);
        QImage img(1400, 992, QImage::Format_RGB32);
        QPainter g(&img);
        ChartPainter(g, 2.0, 2.0).DrawChart(p);
        g.end();
        // Band 720 wide from x 34: ChartScale 720/1023, bar N(70.38) = 70 .. N(140.06) = 140.
        const int y = 2 * BandMiddle(0);
        QCOMPARE(img.pixelColor(34 + 69, y), QColor(255, 255, 255));
        QCOMPARE(img.pixelColor(34 + 70, y), QColor(0, 0, 0));
        QCOMPARE(img.pixelColor(34 + 140, y), QColor(0, 0, 0));
        QCOMPARE(img.pixelColor(34 + 141, y), QColor(255, 255, 255));
    }

    void captionsCarryTheirBuiltInWording() {
        p.CurSize = 5;
        p.CurCam = 0;
        QCOMPARE(QString::fromStdString(SizeCaption(p)), QString("SIZE 05"));
        QCOMPARE(QString::fromStdString(CamCaption(p)), QString("CAM 01"));
        QCOMPARE(QString::fromStdString(PhaseCountCaption(p, 0)), QString("PHASES 0000"));
        p.LngTxt[74] = "FORMAT ";
        QCOMPARE(QString::fromStdString(SizeCaption(p)), QString("FORMAT 05"));
    }
};

RegisterGuiTest<ChartPainterTest> registerChartPainterTest;

}  // namespace

#include "chart_painter_test.moc"
