#include "paint/size_listing_painter.h"

#include "paint/chart_painter.h"
#include "qt/cp1252.h"

#include <QFontMetricsF>
#include <QPainter>

namespace cam {

SizeListingPrintout::SizeListingPrintout(const Program& p, const std::vector<int>& sizes, QSizeF printableInches) {
    const QFont plain = DesignFont("Arial", kFontPoints, false, kUnitsPerInch);
    const QFontMetricsF metrics(plain);
    const double width = printableInches.width() * kUnitsPerInch;
    const double height = printableInches.height() * kUnitsPerInch;
    const double pitch = metrics.lineSpacing();
    const TextWidth measure = [&](const std::string& text) { return metrics.horizontalAdvance(FromCp1252(text)); };
    for (int size : sizes) {
        pages_.emplace_back();
        double top = 0;
        int page = 1;
        for (ListingLine& line : ListingLines(p, size, measure, width)) {
            if (top + pitch > height && !pages_.back().empty()) {
                // The size goes on over the next page, which says which size it is and its
                // page of it, then an empty line.
                pages_.push_back({{metrics.ascent(), {ContinuedHeaderLine(p, size, ++page), true}}});
                top = 2 * pitch;
            }
            pages_.back().push_back({top + metrics.ascent(), std::move(line)});
            top += pitch;
        }
    }
}

void SizeListingPrintout::DrawPage(QPainter& g, int page, double dpi) const {
    if (page < 0 || page >= PageCount()) return;
    const QFont plain = DesignFont("Arial", kFontPoints, false, kUnitsPerInch);
    const QFont bold = DesignFont("Arial", kFontPoints, true, kUnitsPerInch);
    g.save();
    g.scale(dpi / kUnitsPerInch, dpi / kUnitsPerInch);
    g.setPen(Qt::black);
    for (const PlacedLine& placed : pages_[page]) {
        if (placed.line.text.empty()) continue;
        g.setFont(placed.line.bold ? bold : plain);
        g.drawText(QPointF(0, placed.baseline), FromCp1252(placed.line.text));
    }
    g.restore();
}

}  // namespace cam
