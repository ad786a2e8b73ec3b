// The text listing of sizes (PrintSIZE): per size the header line and every cam with its
// remark and its phases, in Arial 9.75 points, wrapped at the right margin; a size that
// does not fit its page goes on over the next, under its header line and page number.
#pragma once

#include "paint/printout_painter.h"
#include "core/printing/size_listing.h"

namespace cam {

class SizeListingPrintout : public Printout {
public:
    // Unit of the layout: 1/1200 inch, fine enough that the wrapping does not depend on the device.
    static constexpr double kUnitsPerInch = 1200;
    static constexpr double kFontPoints = 9.75;

    SizeListingPrintout(const Program& p, const std::vector<int>& sizes, QSizeF printableInches);

    int PageCount() const override { return static_cast<int>(pages_.size()); }
    void DrawPage(QPainter& g, int page, double dpi) const override;

    struct PlacedLine {
        double baseline;  // from the top of the printable area, in layout units
        ListingLine line;
    };
    const std::vector<std::vector<PlacedLine>>& pages() const { return pages_; }

private:
    std::vector<std::vector<PlacedLine>> pages_;
};

}  // namespace cam
