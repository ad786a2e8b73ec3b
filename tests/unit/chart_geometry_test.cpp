// The one mapping between pixels and shaft positions, shared by the painter and the mouse.
#include "core/editor/chart_geometry.h"

#include <gtest/gtest.h>

using namespace cam;

namespace {

TEST(ChartGeometry, BandIsRoundedAsThePainterRoundsIt) {
    const BandSpan b = BandSpanOf(17 * 1.5, 360 * 1.5);  // 25.5 and 540
    EXPECT_EQ(b.left, 26);
    EXPECT_EQ(b.width, 540);
    EXPECT_EQ(b.span, 1023);
    EXPECT_EQ(BandSpanOf(10, 100, 1024).span, 1024);
}

TEST(ChartGeometry, PositionsLieWhereTheBarsAreDrawn) {
    const BandSpan b{17, 360};
    // N(position x 360 / 1023), the chart's own rounding: 100 -> 35.19, 199 -> 70.03.
    EXPECT_EQ(PixelOf(b, 0), 0);
    EXPECT_EQ(PixelOf(b, 100), 35);
    EXPECT_EQ(PixelOf(b, 199), 70);
    EXPECT_EQ(PixelOf(b, 1023), 360);
    EXPECT_EQ(PixelOf(b, 1024), 360);  // never past the right edge
    // Halves go to the even pixel: a cell of 512 pixels for 1024 positions.
    const BandSpan cell{0, 512, 1024};
    EXPECT_EQ(PixelOf(cell, 1), 0);
    EXPECT_EQ(PixelOf(cell, 3), 2);
    EXPECT_EQ(PixelOf(cell, 5), 2);
    EXPECT_EQ(PixelOf(cell, 7), 4);
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
    EXPECT_EQ(PositionAt(b, 0), 0);
    EXPECT_EQ(PositionAt(b, -50), 0);
    EXPECT_EQ(PositionAt(b, 377), 1023);
    EXPECT_EQ(PositionAt(b, 5000), 1023);
    // A drag reaches the end of the revolution only beyond the right edge.
    EXPECT_EQ(BoundaryAt(b, 377), 1023);
    EXPECT_EQ(BoundaryAt(b, 378), 1024);
    EXPECT_EQ(BoundaryAt(b, 5000), 1024);
    EXPECT_EQ(BoundaryAt(b, -3), 0);
}

TEST(ChartGeometry, PositionsPerPixelRoundsUp) {
    EXPECT_EQ(PositionsPerPixel({17, 360}), 3);  // 2.84
    EXPECT_EQ(PositionsPerPixel({0, 1023}), 1);
    EXPECT_EQ(PositionsPerPixel({0, 2000}), 1);
    EXPECT_EQ(PositionsPerPixel({0, 0}), 1);  // a band of no width: no division by zero
    EXPECT_EQ(PositionAt({5, 0}, 100), 0);
}

}  // namespace
