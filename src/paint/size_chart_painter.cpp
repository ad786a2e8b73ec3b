#include "paint/size_chart_painter.h"

#include "core/printing/size_listing.h"
#include "qt/cp1252.h"

#include <QPainter>
#include <algorithm>

namespace cam {

namespace {
constexpr double kLabelColumn = 40;  // "C 01" left of the bands
constexpr double kGap = 8;           // between a band and its remark
constexpr double kScaleHeight = 16;
}  // namespace

SizeChartPrintout::SizeChartPrintout(const Program& p, const std::vector<int>& sizes, QSizeF printableInches)
    : p_(p), rows_(std::clamp(std::min(p.NCams, p.CamPos.cams()), 0, chart::kRows)) {
    for (int s : sizes)
        if (s >= 1 && s <= p.CamPos.sizes()) sizes_.push_back(s);
    width_ = printableInches.width() * kUnitsPerInch;
    const double height = printableInches.height() * kUnitsPerInch;
    // An empty line, the header line and an empty line, then the scale, then the rows
    // sharing what is left of the page.
    lineHeight_ = kHeaderPoints * kUnitsPerInch / 72 * 1.3;
    scaleTop_ = 3 * lineHeight_;
    ChartLayout& l = layout_;
    l.rowsTop = scaleTop_ + kScaleHeight + 4;
    l.rowPitch = rows_ > 0 ? (height - l.rowsTop) / rows_ : height;
    l.labelHeight = std::min(l.rowPitch, 18.0);
    l.labelWidth = kLabelColumn;
    l.bandLeft = kLabelColumn;
    l.remarkWidth = chart::kRemarkWidth;
    l.remarkLeft = std::max(l.bandLeft + 100, width_ - l.remarkWidth);
    l.bandWidth = l.remarkLeft - kGap - l.bandLeft;
    l.bandHeight = std::min(l.rowPitch * 0.6, 12.0);
    l.bandDrop = (l.labelHeight - l.bandHeight) / 2;
    l.remarkHeight = l.labelHeight;
    l.camPrefix = true;
    l.bandBorder = true;
}

void SizeChartPrintout::DrawPage(QPainter& g, int page, double dpi) const {
    if (page < 0 || page >= PageCount()) return;
    const int size = sizes_[page];
    const double s = dpi / kUnitsPerInch;
    ChartPainter chart(g, s, s, {}, layout_);
    g.save();
    g.setFont(chart.Font("Courier New", kHeaderPoints, true));
    g.setPen(Qt::black);
    g.drawText(chart.Map(QRectF(0, lineHeight_, width_, lineHeight_)), Qt::AlignLeft | Qt::AlignVCenter,
               FromCp1252(PrintHeaderLine(p_, size)));
    chart.DrawPositionScale(scaleTop_, kScaleHeight, kScalePoints);
    // Every row in the colours of a cam that is not the current one: black bars on white.
    for (int c = 0; c < rows_; ++c) chart.DrawCamRow(p_, size, c, false);
    if (rows_ > 0) chart.DrawGrid(rows_);
    g.restore();
}

}  // namespace cam
