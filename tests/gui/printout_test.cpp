// The printouts drawn on images and written as PDFs: bars where the chart puts them, the listing
// wrapped within the page and going on over the next, a page per size, PDFs that carry their text.
#include "gui_tests.h"
#include "paint/size_chart_painter.h"
#include "paint/size_listing_painter.h"
#include "pdf_text.h"
#include "qt/cp1252.h"
#include "support/make_program.h"
#include "support/shipped_texts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <tuple>

using namespace cam;

namespace {

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255);

Program Sample() {
    Program p = camtest::MakeProgram(32, 7);
    std::tie(p.LngTxt, p.CamFileTitle) = std::tuple(camtest::ShippedTexts(), "demo.Cam");
    return p;
}

// The first page of 7.5 x 10 inches drawn at 96 dots an inch on white.
QImage FirstPage(const Printout& printout) {
    QImage img(int(7.5 * 96), 10 * 96, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    printout.DrawPage(g, 0, 96);
    return img;
}

// The pixel over position pos in the middle of row's band, by the layout of the printout.
QPoint At(const ChartLayout& l, int row, double pos) {
    const QRectF band = l.Band(row);
    return QPoint(int(std::lround(band.left() + band.width() * pos / 1023)), int(band.center().y()));
}

class PrintoutTest : public QObject {
    Q_OBJECT

private slots:
    // The chart drawn on an image and written as a PDF (A4, its printable area 15 mm in, read
    // back at 96 dots an inch) shows the same bars.
    void chartRowsCarryTheirBarsAndThePhaseThroughZeroAtBothEnds() {
        Program p = Sample();
        QVERIFY(SetPhase(p, 1, 0, 100, 200));
        QVERIFY(SetPhase(p, 1, 1, 900, 50));
        QVERIFY(SetPhase(p, 1, 2, 0, 1024));
        QVERIFY(SetPhase(p, 2, 3, 500, 600));  // another size
        p.CurCam = 0;                          // the current cam is not highlighted on paper
        const SizeChartPrintout out(p, {1}, QSizeF(7.5, 10));
        QCOMPARE(out.PageCount(), 1);
        const QImage img = FirstPage(out);
        const ChartLayout& l = out.layout();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("chart.pdf");
        QVERIFY(WriteSizesPdf(p, PrintMode::Chart, {1}, pdf.toStdString()).ok());
        QVERIFY(camtest::PdfText(pdf).contains("FORMATO N. 01"));
        const QImage page = camtest::PdfPageImage(pdf, 1, 96);
        QCOMPARE(page.size(), QSize(794, 1123));
        const SizeChartPrintout a4(p, {1}, QSizeF((210 - 30) / 25.4, (297 - 30) / 25.4));
        const QPoint margin(15 / 25.4 * 96, 15 / 25.4 * 96);
        const std::tuple<int, int, bool> dots[] = {{0, 150, true}, {0, 60, false},  {0, 240, false}, {1, 2, true},
                                                   {1, 25, true},  {1, 1000, true}, {1, 1020, true}, {1, 500, false},
                                                   {2, 300, true}, {3, 550, false}};
        for (auto [row, pos, black] : dots) {
            const QString where = QString("row %1 at %2").arg(row).arg(pos);
            QVERIFY2(img.pixelColor(At(l, row, pos)) == (black ? kBlack : kWhite), qPrintable(where));
            // The rendered PDF is looked at away from the bands' ends, where its edges blur.
            if (pos >= 20 && pos <= 1000)
                QVERIFY2((page.pixelColor(At(a4.layout(), row, pos) + margin).lightness() < 64) == black,
                         qPrintable(where));
        }
        // The rows fill the page below the header and the scale, the last ending inside it.
        QVERIFY(l.Band(31).bottom() <= 10 * 96 && l.Band(31).bottom() > 9 * 96 && l.bandWidth > 400);
        for (int y = 0; y < img.height(); y += 3)
            for (int x = 0; x < img.width(); x += 3) {
                const QColor c = img.pixelColor(x, y);
                QVERIFY2(c.red() == c.green() && c.green() == c.blue(), "paper has no highlight colours");
            }
    }

    void chartRowsFollowTheModel() {
        Program p = camtest::MakeProgram(16, 15);
        QVERIFY(SetPhase(p, 15, 15, 0, 1024));
        const SizeChartPrintout out(p, {15, 16, 0}, QSizeF(7.5, 10));
        QCOMPARE(out.PageCount(), 1);  // sizes outside the model are not printed
        QCOMPARE(FirstPage(out).pixelColor(At(out.layout(), 15, 530)), kBlack);
        QVERIFY(out.layout().rowPitch > 40);  // sixteen rows share the page
    }

    void listingWrapsWithinThePageAndGoesOnOverTheNext() {
        Program p = Sample();
        for (int c = 0; c < 32; ++c)
            for (int on = 1; on < 1000; on += 8) QVERIFY(SetPhase(p, 1, c, on, on + 3));
        QVERIFY(SetPhase(p, 2, 0, 10, 20));
        const SizeListingPrintout out(p, {1, 2}, QSizeF(7.5, 10));
        QVERIFY(out.PageCount() >= 3);
        const QFontMetricsF metrics(DesignFont("Arial", 9.75, false, SizeListingPrintout::kUnitsPerInch));
        QString size1;
        int pageOfSize2 = -1;
        for (int page = 0; page < out.PageCount(); ++page) {
            for (const auto& placed : out.pages()[page]) {
                QVERIFY(placed.baseline <= 10 * 1200);
                if (!placed.line.bold) QVERIFY(metrics.horizontalAdvance(FromCp1252(placed.line.text)) <= 7.5 * 1200);
                if (placed.line.text.find("FORMATO N. 02") != std::string::npos) pageOfSize2 = page;
                if (pageOfSize2 < 0 && !placed.line.bold) size1 += FromCp1252(placed.line.text) + "\n";
            }
            // A page the listing goes on over names the size and its page of it first.
            if (page > 0 && page != pageOfSize2)
                QCOMPARE(out.pages()[page][0].line.text, ContinuedHeaderLine(p, 1, page + 1));
            QVERIFY(out.pages()[page][0].line.bold || out.pages()[page][0].line.text.empty());
        }
        // Size 2 starts a page of its own: an empty line, then its header.
        const auto& last = out.pages().back();
        QCOMPARE(std::tuple(pageOfSize2, last[0].line.text.empty(), last[1].line.bold),
                 std::tuple(out.PageCount() - 1, true, true));
        // Every phase of cam 32 is there, in order, on lines indented by three blanks.
        const QString cam32 = size1.mid(size1.indexOf("C 32\n") + 5);
        QStringList phases;
        const QStringList lines = cam32.split('\n', Qt::SkipEmptyParts);
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY(lines[i].startsWith("   ") && !lines[i].startsWith("    "));
            phases += lines[i].trimmed().split(" - ");
            // A line ends only where the next phase, shaped with it, would pass the margin.
            if (i + 1 < lines.size())
                QVERIFY(metrics.horizontalAdvance(lines[i] + " - " + lines[i + 1].trimmed().left(9)) > 7.5 * 1200);
        }
        QCOMPARE(std::tuple(int(phases.size()), phases.front(), phases.back()),
                 std::tuple(125, QString("0001 0004"), QString("0993 0996")));
    }

    // Every page is told as it is done; a cancel ends the printout there, says at which page, and
    // writes no file; a write that fails is told.
    void progressCountsThePagesAndACancelWritesNothing() {
        Program p = Sample();
        QTemporaryDir dir;
        std::vector<std::pair<int, int>> told;
        const std::string whole = dir.filePath("whole.pdf").toStdString();
        QVERIFY(WriteSizesPdf(p, PrintMode::Listing, {1, 2, 3}, whole, [&](int done, int total) {
                    told.emplace_back(done, total);
                    return true;
                }).ok());
        QCOMPARE(told, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(camtest::PdfPages(QString::fromStdString(whole)).size(), 3);
        const QString cancelled = dir.filePath("cancelled.pdf");
        const Result r = WriteSizesPdf(p, PrintMode::Listing, {1, 2, 3}, cancelled.toStdString(),
                                       [](int done, int) { return done < 2; });
        QCOMPARE(std::tuple(r.ok(), QString::fromStdString(r.reason()), QFile::exists(cancelled)),
                 std::tuple(false, QString("The printout was cancelled at page 2 of 3."), false));
        QVERIFY(!WriteSizesPdf(p, PrintMode::Chart, {1}, dir.filePath("no/such/folder/a.pdf").toStdString()).ok());
    }
};

RegisterGuiTest<PrintoutTest> registerPrintoutTest;

}  // namespace

#include "printout_test.moc"
