#include "paint/chart_painter.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "core/editor/captions.h"
#include "core/editor/chart_geometry.h"
#include "core/editor/phase_list.h"
#include "qt/cp1252.h"

#include <QFontDatabase>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QRegion>
#include <cmath>
#include <optional>

namespace cam {

ChartPainter::ChartPainter(QPainter& painter, double sx, double sy, QPointF origin, const ChartLayout& layout)
    : g_(painter), sx_(sx), sy_(sy), origin_(origin), layout_(layout) {}

QRectF ChartPainter::Map(const QRectF& d) const {
    return {origin_.x() + d.x() * sx_, origin_.y() + d.y() * sy_, d.width() * sx_, d.height() * sy_};
}

QFont DesignFamily(const char* family) {
    const QString name = QString::fromLatin1(family);
    const bool courier = name.startsWith("Courier");
    // Asked for by name only where it is installed: a missing family costs a search of the
    // font configuration for every size and weight asked, milliseconds of the window's start.
    static const QStringList installed = QFontDatabase::families();
    const QString twin = courier ? QStringLiteral("Liberation Mono") : QStringLiteral("Liberation Sans");
    QFont f(installed.contains(name) ? name : twin);
    f.setStyleHint(courier ? QFont::TypeWriter : QFont::SansSerif);
    return f;
}

QFont DesignFont(const char* family, double points, bool bold, double unitsPerInch) {
    QFont f = DesignFamily(family);
    f.setBold(bold);
    f.setPixelSize(std::max(1, int(std::lround(points * unitsPerInch / 72))));
    return f;
}

QFont ChartPainter::Font(const char* family, double points, bool bold) const {
    // The font follows the horizontal scale only, as the controls of a resized window do.
    return DesignFont(family, points, bold, 96.0 * sx_);
}

QPen ChartPainter::Pen(const QColor& colour, double width) const {
    return QPen(colour, std::max(1.0, std::round(width * sx_)));
}

void ChartPainter::Text(const QRectF& design, const std::string& text, int flags, const QFont& font,
                        const QColor& colour) {
    g_.setFont(font);
    g_.setPen(colour);
    g_.drawText(Map(design), flags, FromCp1252(text));
}

// The band's scale to the device's pixels when the painter draws on a screen or an image
// through no more than a uniform scale and a shift (a window, also on a high-resolution
// screen); nullopt for a printer, a PDF or a turned or stretched painter.
std::optional<double> ChartPainter::PixelRatio() const {
    const QPaintEngine* engine = g_.paintEngine();
    const QTransform& m = g_.deviceTransform();
    if (!engine || engine->type() != QPaintEngine::Raster || g_.viewTransformEnabled() ||
        m.type() > QTransform::TxScale || m.m11() != m.m22() || m.m11() <= 0)
        return std::nullopt;
    return m.m11();
}

namespace {

// The box a band fills on the device: its columns wide, both corner points included.
QRect DeviceBox(const QRectF& device, const BandSpan& columns) {
    return QRect(int(std::lround(device.left())), int(std::lround(device.top())), int(columns.width) + 1,
                 int(std::lround(device.height())) + 1);
}

}  // namespace

// The band filled with back, then each piece from its first to its last position, never
// past the band's right edge. The pieces are first laid onto the band's device columns, so
// 512 phases on a few hundred pixels are a handful of runs, not 512 one-pixel ones. A band
// is a box between two corner points, both included, as a filled box is drawn.
//
// On a screen the columns are the device's own pixels (twice as many on a high-resolution
// screen), and the band is one fill: a row of its columns as a pattern repeated down the
// band, instead of a fill a run. Elsewhere every stretch of covered columns is filled
// once, so that a printout keeps its bars as shapes.
void ChartPainter::Runs(const QRectF& band, const std::vector<RunPiece>& pieces, int span, const QColor& back,
                        const QColor& run) {
    const std::optional<double> ratio = PixelRatio();
    const QTransform toDevice = ratio ? g_.deviceTransform() : QTransform();
    const QRectF device = toDevice.mapRect(band);
    const BandSpan columns = BandSpanOf(device.left(), device.width(), span);
    const QRect box = DeviceBox(device, columns);
    const int width = box.width() - 1, h = box.height() - 1, l = box.left(), t = box.top();
    if (width < 0 || h < 0) return;
    std::vector<std::uint8_t> covered(static_cast<std::size_t>(width) + 1, 0);
    for (const RunPiece& piece : pieces) {
        const int x1 = std::max(0, int(PixelOf(columns, piece.first))), x2 = int(PixelOf(columns, piece.last));
        if (x2 >= x1) std::fill(covered.begin() + x1, covered.begin() + x2 + 1, 1);
    }
    if (ratio) {
        QImage columnsRow(width + 1, 1, QImage::Format_RGB32);
        auto* pixel = reinterpret_cast<QRgb*>(columnsRow.scanLine(0));
        const QRgb backPixel = back.rgb(), runPixel = run.rgb();
        for (int x = 0; x <= width; ++x) pixel[x] = covered[x] ? runPixel : backPixel;
        // Filled pixel for pixel: a world transform that undoes the screen's own scale.
        g_.save();
        g_.setWorldTransform(toDevice.inverted() * g_.worldTransform());
        g_.setBrushOrigin(l, t);
        g_.fillRect(QRect(l, t, width + 1, h + 1), QBrush(columnsRow));
        g_.restore();
        return;
    }
    g_.fillRect(QRect(l, t, width + 1, h + 1), back);
    for (int x = 0; x <= width;) {
        if (!covered[x]) {
            ++x;
            continue;
        }
        const int start = x;
        while (x <= width && covered[x]) ++x;
        g_.fillRect(QRect(l + start, t, x - start, h + 1), run);
    }
}

// Every pixel of a large screen is written once instead of twice where a band lies: the
// surface goes around the bands, which Runs fills whole.
void ChartPainter::FillSurface(int rows) {
    const QRectF chartArea = Map(QRectF(0, 0, chart::kWidth, chart::kHeight));
    if (!PixelRatio()) {
        g_.fillRect(chartArea, chart_colour::kSurface);
        return;
    }
    const QTransform toDevice = g_.deviceTransform();
    QRegion surface(toDevice.mapRect(chartArea).toAlignedRect());
    for (int c = 0; c < rows; ++c) {
        const QRectF band = toDevice.mapRect(Map(layout_.Band(c)));
        surface -= DeviceBox(band, BandSpanOf(band.left(), band.width(), kPositions - 1));
    }
    g_.save();
    g_.setWorldTransform(toDevice.inverted() * g_.worldTransform());
    for (const QRect& r : surface) g_.fillRect(r, chart_colour::kSurface);
    g_.restore();
}

void ChartPainter::DrawCamRow(const Program& p, int size, int cam, bool current) {
    if (cam < 0 || cam >= chart::kRows) return;
    const QRectF band = Map(layout_.Band(cam));
    // Drawing units per position: the band width of row 0 over 1023; every row has that width.
    const ChartPhases ph = ChartPhasesOf(p, size, cam);
    // Inner bars end at their last ON position; the edge bars at the OFF position.
    std::vector<RunPiece> pieces;
    if (ph.lead != 0) pieces.push_back({0, ph.lead});
    if (ph.trail != 0) pieces.push_back({ph.trail, kPositions - 1});
    for (const Phase& inner : ph.inner) pieces.push_back({inner.on, inner.off - 1});
    Runs(band, pieces, kPositions - 1, current ? chart_colour::kCurrentBand : chart_colour::kOtherBand,
         current ? chart_colour::kCurrentBar : chart_colour::kOtherBar);
    if (layout_.bandBorder) {
        const QPen border = Pen(chart_colour::kGrid, 0.5);
        g_.setPen(border);
        g_.setBrush(Qt::NoBrush);
        const double w = border.widthF();
        g_.drawRect(band.adjusted(-w / 2, -w / 2, w / 2, w / 2));
    }

    Text(layout_.RowLabel(cam), layout_.camPrefix ? "C " + D2(cam + 1) : CStr(cam + 1),
         Qt::AlignLeft | Qt::AlignVCenter, Font("Courier New", layout_.camFontPt, true), Qt::black);

    const QRectF remark = Map(layout_.Remark(cam));
    g_.fillRect(remark, current ? chart_colour::kCurrentBand : chart_colour::kOtherBand);
    const QPen border = Pen(Qt::black);
    g_.setPen(border);
    g_.setBrush(Qt::NoBrush);
    const double w = border.widthF();  // the single-line border lies inside the label
    g_.drawRect(remark.adjusted((w - 1) / 2, (w - 1) / 2, -(w + 1) / 2, -(w + 1) / 2));
    const std::string text = cam < static_cast<int>(p.CamRemark.size()) ? p.CamRemark[cam] : std::string();
    Text(layout_.Remark(cam).adjusted(2, 0, -1, 0), text, Qt::AlignLeft | Qt::AlignVCenter,
         Font("Courier New", layout_.remarkFontPt, true),
         current ? chart_colour::kCurrentRemarkText : chart_colour::kOtherRemarkText);
}

void ChartPainter::DrawPatternCell(const QRectF& design, const std::uint8_t* positions, const QColor& back,
                                   const QColor& run) {
    const QRectF cell = Map(design);
    const ChartPhases ph = ChartPhasesOf(positions);
    // Every run from its first to its last ON position; the one through position 0 in two.
    std::vector<RunPiece> pieces;
    if (ph.lead != 0) pieces.push_back({0, ph.lead - 1});
    if (ph.trail != 0) pieces.push_back({ph.trail, kPositions - 1});
    for (const Phase& inner : ph.inner) pieces.push_back({inner.on, inner.off - 1});
    Runs(cell, pieces, kPositions, back, run);
}

void ChartPainter::DrawValueCell(const QRectF& design, int value, int fullScale, bool current) {
    const QRectF c = Map(design);
    const int x = int(std::lround(c.left())), y = int(std::lround(c.top()));
    const int w = int(std::lround(c.width())), h = int(std::lround(c.height()));
    if (w < 3 || h < 3 || fullScale <= 0) return;
    // A value beyond the scale (from a file, before it is selected) fills the cell, no more.
    const int length = int(std::lround(std::clamp(value, 0, fullScale) * double(w - 1) / fullScale));
    auto box = [&](int x1, int y1, int x2, int y2, const QColor& colour) {
        if (x2 >= x1 && y2 >= y1) g_.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), colour);
    };
    g_.setPen(chart_colour::kCellBorder);
    g_.setBrush(Qt::NoBrush);
    g_.drawRect(QRect(x, y, w - 1, h - 1));
    box(x + length, y + 1, x + w - 2, y + h - 2, current ? chart_colour::kCurrentBand : chart_colour::kOtherBand);
    box(x, y + 1, x + length, y + h - 1, current ? chart_colour::kCurrentBar : chart_colour::kOtherBar);
}

void ChartPainter::DrawGrid(int rows) {
    const double top = layout_.Band(0).top();
    const double bottom = layout_.Band(rows - 1).bottom();
    g_.setPen(Pen(chart_colour::kGrid));
    for (int k = 0; k < chart::kGridLines; ++k) {
        const double x =
            std::lround(origin_.x() + (layout_.bandLeft + layout_.bandWidth / chart::kGridLines * k) * sx_);
        g_.drawLine(QPointF(x, std::lround(origin_.y() + top * sy_)),
                    QPointF(x, std::lround(origin_.y() + bottom * sy_)));
    }
}

void ChartPainter::DrawScale(int rows) {
    static const char* const kLabels[] = {"0", "256", "512", "768", "1023"};
    const double top = layout_.rowsTop + layout_.rowPitch * rows + 2;
    const QFont font = Font("Arial", chart::kScaleFontPt, false);
    for (int q = 0; q < 5; ++q) {
        const double x = layout_.bandLeft + q * layout_.bandWidth / 4.0;
        Text(QRectF(x - 20, top, 40, 14), kLabels[q], Qt::AlignHCenter | Qt::AlignTop, font, Qt::black);
    }
}

void ChartPainter::DrawPositionScale(double top, double height, double fontPt) {
    const QFont font = Font("Courier New", fontPt, false);
    const double step = layout_.bandWidth / chart::kGridLines;
    for (int k = 0; k <= chart::kGridLines; ++k) {
        const int position = k == chart::kGridLines ? kPositions - 1 : k * kPositions / chart::kGridLines;
        const double x = layout_.bandLeft + step * k;
        Text(QRectF(x - step / 2, top, step, height), D4(position), Qt::AlignHCenter | Qt::AlignBottom, font,
             Qt::black);
    }
}

void ChartPainter::DrawCaptions(const Program& p) {
    const QFont font = Font("Courier New", chart::kCaptionFontPt, true);
    g_.fillRect(Map(chart::kSizeCaption), chart_colour::kSizeCaption);
    Text(chart::kSizeCaption, SizeCaption(p), Qt::AlignCenter, font, Qt::black);
    g_.fillRect(Map(chart::kCamCaption), chart_colour::kCamCaption);
    Text(chart::kCamCaption, CamCaption(p), Qt::AlignCenter, font, Qt::black);
    Text(chart::kRemarkCaption, cam::Text(p, txt::kRemarkCaption), Qt::AlignLeft | Qt::AlignBottom,
         Font("Arial", chart::kRemarkFontPt, true), Qt::black);
}

void ChartPainter::DrawSizeSpinner(bool leftPressed, bool rightPressed) {
    const QRectF box = chart::kSpinner;
    const double w = box.width();
    const double h = box.height();
    const double split = double(RoundHalfEven(w / 2 - 1));
    auto button = [&](QRectF design, bool pressed, bool pointsLeft) {
        const QRectF r = Map(design.translated(box.topLeft()));
        g_.fillRect(r, QColor(212, 208, 200));
        const QRectF in = r.adjusted(0, 0, -1, -1);
        g_.setPen(pressed ? QColor(128, 128, 128) : QColor(255, 255, 255));
        g_.drawLine(in.topLeft(), in.topRight());
        g_.drawLine(in.topLeft(), in.bottomLeft());
        g_.setPen(pressed ? QColor(255, 255, 255) : QColor(64, 64, 64));
        g_.drawLine(in.bottomLeft(), in.bottomRight());
        g_.drawLine(in.topRight(), in.bottomRight());
        // The arrow moves by a pixel when pressed, as a pushed scroll arrow does.
        const QPointF c = r.center() + (pressed ? QPointF(1, 1) : QPointF());
        const double a = std::min(r.width(), r.height()) * 0.22;
        QPolygonF tri;
        if (pointsLeft)
            tri << QPointF(c.x() - a, c.y()) << QPointF(c.x() + a * 0.6, c.y() - a)
                << QPointF(c.x() + a * 0.6, c.y() + a);
        else
            tri << QPointF(c.x() + a, c.y()) << QPointF(c.x() - a * 0.6, c.y() - a)
                << QPointF(c.x() - a * 0.6, c.y() + a);
        g_.setPen(Qt::NoPen);
        g_.setBrush(Qt::black);
        g_.drawPolygon(tri);
        g_.setBrush(Qt::NoBrush);
    };
    button(QRectF(0, 0, split, h), leftPressed, true);
    button(QRectF(split + 4, 0, w - split - 4, h), rightPressed, false);
}

QRectF ChartPainter::RowArea(int row) const {
    return Map(layout_.RowLabel(row).united(layout_.Band(row)).united(layout_.Remark(row))).adjusted(-1, -1, 1, 1);
}

void ChartPainter::DrawChartIn(const Program& p, const QRectF& area, bool leftPressed, bool rightPressed) {
    const int rows = std::clamp(p.NCams, 0, chart::kRows);
    QRectF rowsArea;
    for (int c = 0; c < rows; ++c) rowsArea = rowsArea.united(RowArea(c));
    if (!rowsArea.contains(area)) {  // captions, spinner or scale: the whole chart, clipped
        DrawChart(p, leftPressed, rightPressed);
        return;
    }
    g_.fillRect(area, chart_colour::kSurface);
    for (int c = 0; c < rows; ++c)
        if (RowArea(c).intersects(area)) DrawCamRow(p, p.CurSize, c, c == p.CurCam);
    DrawGrid(rows);
}

void ChartPainter::DrawChart(const Program& p, bool leftPressed, bool rightPressed) {
    const int rows = std::clamp(p.NCams, 0, chart::kRows);
    FillSurface(rows);
    DrawCaptions(p);
    DrawSizeSpinner(leftPressed, rightPressed);
    for (int c = 0; c < rows; ++c) DrawCamRow(p, p.CurSize, c, c == p.CurCam);
    DrawGrid(rows);
    DrawScale(rows);
}

}  // namespace cam
