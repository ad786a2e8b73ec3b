// The chart printout of sizes: per size, on a page of its own, the header line, a scale of
// four-digit positions and one row per cam ("C 01", the bars of its ON phases over 0..1023
// with the phase through position 0 at both ends, its remark), drawn by the screen chart's
// own ChartPainter over a layout that fills the page.
#pragma once

#include "paint/chart_painter.h"
#include "paint/printout_painter.h"

namespace cam {

class SizeChartPrintout : public Printout {
public:
    // Unit of the layout: the chart's design pixel, 1/96 inch.
    static constexpr double kUnitsPerInch = 96;
    static constexpr double kHeaderPoints = 9.75;
    static constexpr double kScalePoints = 8.25;

    SizeChartPrintout(const Program& p, const std::vector<int>& sizes, QSizeF printableInches);

    int PageCount() const override { return static_cast<int>(sizes_.size()); }
    void DrawPage(QPainter& g, int page, double dpi) const override;

    const ChartLayout& layout() const { return layout_; }
    double scaleTop() const { return scaleTop_; }

private:
    const Program& p_;
    std::vector<int> sizes_;
    int rows_ = 0;
    double width_ = 0;
    double lineHeight_ = 0;
    double scaleTop_ = 0;
    ChartLayout layout_;
};

}  // namespace cam
