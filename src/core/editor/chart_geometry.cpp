#include "core/editor/chart_geometry.h"

#include "core/model/program.h"
#include "core/model/text_format.h"

#include <algorithm>
#include <cmath>

namespace cam {

BandSpan BandSpanOf(double left, double width, int span) {
    return {std::lround(left), std::max(0L, std::lround(width)), span > 0 ? span : 1023};
}

namespace {
// Pixels per position, computed as the bars always were: the rounded width over the span.
double UnitsPerPosition(const BandSpan& band) { return double(band.width) / band.span; }
}  // namespace

long PixelOf(const BandSpan& band, double position) {
    return std::min(band.width, RoundHalfEven(position * UnitsPerPosition(band)));
}

namespace {
long Nearest(const BandSpan& band, double x) {
    if (band.width <= 0) return 0;
    return std::lround((x - band.left) / UnitsPerPosition(band));
}
}  // namespace

int PositionAt(const BandSpan& band, double x) {
    return static_cast<int>(std::clamp(Nearest(band, x), 0L, long(kPositions - 1)));
}

int BoundaryAt(const BandSpan& band, double x) {
    if (x > band.left + band.width) return kPositions;
    return PositionAt(band, x);
}

int PositionsPerPixel(const BandSpan& band) {
    if (band.width <= 0) return 1;
    return std::max(1, static_cast<int>(std::ceil(band.span / double(band.width))));
}

}  // namespace cam
