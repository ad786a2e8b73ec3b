// The text listing of sizes (PrintSIZE): per size the header line and every cam with its
// remark and its phases, in Arial 9.75 points, wrapped at the right margin; a size that
// does not fit its page goes on over the next, under its header line and page number.
#pragma once

#include "paint/printout_painter.h"
#include "core/printing/size_listing.h"

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>

#include <array>
#include <optional>

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
    class PhaseFont {
    public:
        explicit PhaseFont(const QFont& font);
        // nullopt for a text with any character a phase line does not have
        std::optional<double> width(const std::string& text) const;
        // Draws a phase line; false, drawing nothing, for any other text.
        bool draw(QPainter& g, const std::string& text, QPointF baseline) const;

    private:
        QRawFont raw_;
        bool usable_ = false;
        std::array<quint32, 256> glyph_{};
        std::array<double, 256> advance_{};
    };

    QFont plain_;
    QFont bold_;
    PhaseFont phaseFont_;
    std::vector<std::vector<PlacedLine>> pages_;
};

}  // namespace cam
