#include "paint/size_listing_painter.h"

#include "paint/chart_painter.h"
#include "qt/cp1252.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <string_view>

namespace cam {

namespace {

// The listing's own characters: a phase line is nothing else.
constexpr std::string_view kPhaseCharacters = "0123456789 -";

}  // namespace

// Digits, blanks and dashes have advances that do not depend on their neighbours (no kerning,
// no ligatures), so a phase line is measured by adding up its characters' advances, and drawn
// as glyphs placed one after the other, as shaping it would place them. A listing of every
// size measures about a million candidate lines; shaping each whole took most of its time.
SizeListingPrintout::PhaseFont::PhaseFont(const QFont& font) : raw_(QRawFont::fromFont(font)) {
    for (const char c : kPhaseCharacters) {
        const QList<quint32> glyph = raw_.glyphIndexesForString(QString(QChar(c)));
        if (glyph.size() != 1) return;
        const auto u = static_cast<unsigned char>(c);
        glyph_[u] = glyph[0];
        advance_[u] = raw_.advancesForGlyphIndexes(glyph, QRawFont::UseDesignMetrics)[0].x();
    }
    usable_ = raw_.isValid();
}

std::optional<double> SizeListingPrintout::PhaseFont::width(const std::string& text) const {
    double sum = 0;
    for (const char c : text) {
        const double a = advance_[static_cast<unsigned char>(c)];
        if (!usable_ || a == 0) return std::nullopt;
        sum += a;
    }
    return sum;
}

bool SizeListingPrintout::PhaseFont::draw(QPainter& g, const std::string& text, QPointF baseline) const {
    if (!width(text)) return false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(qsizetype(text.size()));
    positions.reserve(qsizetype(text.size()));
    double x = 0;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        glyphs.push_back(glyph_[u]);
        positions.push_back({x, 0});
        x += advance_[u];
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    g.drawGlyphRun(baseline, run);
    return true;
}

SizeListingPrintout::SizeListingPrintout(const Program& p, const std::vector<int>& sizes, QSizeF printableInches)
    : plain_(DesignFont("Arial", kFontPoints, false, kUnitsPerInch)),
      bold_(DesignFont("Arial", kFontPoints, true, kUnitsPerInch)),
      phaseFont_(plain_) {
    const QFontMetricsF metrics(plain_);
    const double width = printableInches.width() * kUnitsPerInch;
    const double height = printableInches.height() * kUnitsPerInch;
    const double pitch = metrics.lineSpacing();
    const TextWidth measure = [&](const std::string& text) {
        const std::optional<double> phases = phaseFont_.width(text);
        return phases ? *phases : metrics.horizontalAdvance(FromCp1252(text));
    };
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
    g.save();
    g.scale(dpi / kUnitsPerInch, dpi / kUnitsPerInch);
    g.setPen(Qt::black);
    for (const PlacedLine& placed : pages_[page]) {
        const QPointF at(0, placed.baseline);
        if (placed.line.text.empty() || (!placed.line.bold && phaseFont_.draw(g, placed.line.text, at))) continue;
        g.setFont(placed.line.bold ? bold_ : plain_);
        g.drawText(at, FromCp1252(placed.line.text));
    }
    g.restore();
}

}  // namespace cam
