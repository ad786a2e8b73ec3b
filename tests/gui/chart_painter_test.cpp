// The chart painted into an image, checked pixel by pixel against the design's geometry (restated, not imported).
#include "paint/chart_painter.h"
#include "core/model/program.h"
#include "gui_tests.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace cam;

namespace {

// Row r's band: left 17, width 360, top 30 + 14 r + 3, height 10.
constexpr int kBandLeft = 17;
int BandMiddle(int row) { return 30 + 14 * row + 3 + 5; }

QImage Paint(const Program& p, int scale = 1) {
    QImage img(700 * scale, 496 * scale, QImage::Format_RGB32);
    img.fill(Qt::magenta);
    QPainter g(&img);
    ChartPainter(g, scale, scale).DrawChart(p);
    return img;
}

const QColor kWhite(255, 255, 255), kBlack(0, 0, 0), kYellow(255, 255, 0), kBlue(0, 0, 255), kGrey(128, 128, 128);

// Pixels along one row at band offsets: {offset from the band's left, expected colour}.
void ExpectRow(const QImage& img, int left, int y, std::initializer_list<std::pair<int, QColor>> pixels) {
    for (const auto& [dx, colour] : pixels) {
        const QColor seen = img.pixelColor(left + dx, y);
        QVERIFY2(seen == colour,
                 qPrintable(QString("x %1: %2, not %3").arg(left + dx).arg(seen.name(), colour.name())));
    }
}

class ChartPainterTest : public QObject {
    Q_OBJECT
    Program p;

private slots:
    void init() {
        p = Program();
        std::tie(p.NCams, p.NSizes, p.CurSize, p.CurCam) = std::tuple(32, 7, 1, 1);
        ResizeTables(p);
    }

    // A row for each rule: the current cam (row 1), a bar's last ON position (row 0), both ends
    // of the band (row 3), grid lines over a bar (row 4); rows beyond the model are not drawn.
    void barsColoursAndGridLines() {
        SetPhase(p, 1, 0, 100, 200);  // 360/1023 units a position: N(35.19) = 35 to N(70.03) = 70
        SetPhase(p, 1, 1, 100, 200);
        SetPhase(p, 1, 3, 900, 50);  // bars 0..N(17.6) = 18 and N(316.7) = 317..360
        SetPhase(p, 1, 4, 0, 1024);
        const QImage img = Paint(p);
        // Remark label backgrounds follow the band: left 381, width 150.
        ExpectRow(img, kBandLeft, BandMiddle(1), {{100, kYellow}, {50, kBlue}, {381 - kBandLeft + 100, kYellow}});
        ExpectRow(img, kBandLeft, BandMiddle(2), {{100, kWhite}, {381 - kBandLeft + 100, kWhite}});
        ExpectRow(img, kBandLeft, BandMiddle(0), {{34, kWhite}, {35, kBlack}, {70, kBlack}, {71, kWhite}});
        // x 17 carries the first grid line, so the bar is looked at from x 18.
        ExpectRow(img, kBandLeft, BandMiddle(3),
                  {{1, kBlack}, {18, kBlack}, {19, kWhite}, {316, kWhite}, {317, kBlack}, {360, kBlack}});
        for (int k = 0; k < 8; ++k) QCOMPARE(img.pixelColor(kBandLeft + 45 * k, BandMiddle(4)), kGrey);
        QCOMPARE(img.pixelColor(kBandLeft + 45 + 1, BandMiddle(4)), kBlack);

        p.NCams = 16;
        ResizeTables(p);
        const QImage sixteen = Paint(p);
        QCOMPARE(sixteen.pixelColor(kBandLeft + 100, BandMiddle(15)), kWhite);
        QVERIFY(sixteen.pixelColor(kBandLeft + 100, BandMiddle(16)) != kWhite);
    }

    void doubleScaleDoublesTheGeometry() {
        SetPhase(p, 1, 0, 100, 200);
        const QImage img = Paint(p, 2);
        // Band 720 wide from x 34: ChartScale 720/1023, bar N(70.38) = 70 .. N(140.06) = 140.
        ExpectRow(img, 34, 2 * BandMiddle(0), {{69, kWhite}, {70, kBlack}, {140, kBlack}, {141, kWhite}});
    }

    void aLaidOutChartKeepsTheBarRule() {
        SetPhase(p, 1, 2, 100, 200);
        ChartLayout l;
        std::tie(l.rowsTop, l.rowPitch, l.labelWidth, l.bandLeft, l.bandWidth, l.bandHeight, l.bandDrop, l.remarkLeft) =
            std::tuple(100, 30, 40, 40, 720, 12, 3, 770);
        l.bandBorder = true;
        QImage img(1000, 1200, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter g(&img);
        ChartPainter(g, 1.0, 1.0, {}, l).DrawCamRow(p, 1, 2, false);
        g.end();
        // Band of row 2 from y 163, x 40; ChartScale 720/1023: bar N(70.38) = 70 .. N(140.06) = 140.
        ExpectRow(img, 40, 169, {{69, kWhite}, {70, kBlack}, {140, kBlack}, {141, kWhite}});
        // The band's border on paper, white above it.
        QCOMPARE((QList<QColor>{img.pixelColor(40 + 300, 163 - 1), img.pixelColor(40 + 300, 163 - 3)}),
                 (QList<QColor>{kGrey, kWhite}));
    }

    // A row painted again on its own leaves the very pixels a full repaint gives, also where
    // rows meet, and 512 phases of one position each draw the same as their covered columns.
    void oneRowPaintedAgainEqualsAFullRepaint() {
        Program p;
        ResizeTables(p);
        for (int c = 0; c < p.NCams; ++c)
            for (int on = 0; on < kPositions; on += 2) SetPhase(p, 1, c, on, on + 1);
        QImage partial = Paint(p);
        ClearAll(p);
        for (int c = 0; c < p.NCams; ++c)
            for (int on = 0; on < kPositions; on += 2) SetPhase(p, 1, c, on, on + 1);
        p.CurCam = 1;
        SetPhase(p, 1, 5, 100, 700);
        SetPhase(p, 1, 6, 0, 1024);
        for (int row : {5, 6}) {
            QPainter g(&partial);
            ChartPainter painter(g, 1.0, 1.0);
            const QRectF area = painter.RowArea(row);
            g.setClipRect(area);
            painter.DrawChartIn(p, area);
        }
        QCOMPARE(partial, Paint(p));
    }
};

RegisterGuiTest<ChartPainterTest> registerChartPainterTest;

}  // namespace

#include "chart_painter_test.moc"
