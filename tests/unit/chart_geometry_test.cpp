// The one mapping between pixels and shaft positions, shared by the painter and the mouse.
#include "core/editor/chart_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace cam;

namespace {

TEST(ChartGeometry, BandIsRoundedAsThePainterRoundsIt) {
    const BandSpan b = BandSpanOf(17 * 1.5, 360 * 1.5);  // 25.5 and 540
    EXPECT_EQ((std::vector<long>{b.left, b.width, b.span, BandSpanOf(10, 100, 1024).span}),
              (std::vector<long>{26, 540, 1023, 1024}));
}

TEST(ChartGeometry, PositionsLieWhereTheBarsAreDrawn) {
    // N(position x 360 / 1023), the chart's own rounding: 100 -> 35.19, 199 -> 70.03; 1024 is
    // never past the right edge.
    for (auto [pos, pixel] : std::vector<std::pair<int, long>>{{0, 0}, {100, 35}, {199, 70}, {1023, 360}, {1024, 360}})
        EXPECT_EQ(PixelOf({17, 360}, pos), pixel) << pos;
    // Halves go to the even pixel: a cell of 512 pixels for 1024 positions.
    for (auto [pos, pixel] : std::vector<std::pair<int, long>>{{1, 0}, {3, 2}, {5, 2}, {7, 4}})
        EXPECT_EQ(PixelOf({0, 512, 1024}, pos), pixel) << pos;
}

TEST(ChartGeometry, ThePositionUnderAColumnIsDrawnOnThatColumn) {
    for (const BandSpan b : {BandSpan{17, 360}, BandSpan{25, 527}, BandSpan{0, 1000}}) {
        for (long x = b.left; x <= b.left + b.width; ++x)
            EXPECT_EQ(b.left + PixelOf(b, PositionAt(b, double(x))), x) << b.width << " " << x;
        // And every position is found again within the positions one pixel covers.
        for (int p = 0; p < 1024; ++p)
            EXPECT_LE(std::abs(PositionAt(b, double(b.left + PixelOf(b, p))) - p), PositionsPerPixel(b) / 2 + 1);
    }
}

TEST(ChartGeometry, OutsideTheBandTheNearestEndIsTaken) {
    const BandSpan b{17, 360};
    // pixel, the position there, the boundary a drag reaches: the end of the revolution only
    // beyond the right edge.
    for (auto [x, pos, boundary] : std::vector<std::array<int, 3>>{
             {-50, 0, 0}, {-3, 0, 0}, {0, 0, 0}, {377, 1023, 1023}, {378, 1023, 1024}, {5000, 1023, 1024}})
        EXPECT_EQ((std::array{PositionAt(b, x), BoundaryAt(b, x)}), (std::array{pos, boundary})) << x;
}

TEST(ChartGeometry, PositionsPerPixelRoundsUp) {
    // 360 pixels: 2.84 positions each; a band of no width must not divide by zero.
    EXPECT_EQ((std::array{PositionsPerPixel({17, 360}), PositionsPerPixel({0, 1023}), PositionsPerPixel({0, 2000}),
                          PositionsPerPixel({0, 0}), PositionAt({5, 0}, 100)}),
              (std::array{3, 1, 1, 1, 0}));
}

}  // namespace
