// Where a shaft position lies across a bar band, and which position lies under a pixel.
// The painter draws every bar through PixelOf and the chart canvas reads the mouse through
// PositionAt, so a drag ends exactly where the bar it leaves behind is drawn.
#pragma once

namespace cam {

// A band in device pixels, as the painter rounds it: its left column and its width. The
// band's width stands for span positions: 1023 on the chart (position 1023 at the right
// edge), 1024 where a cell shows the whole revolution.
struct BandSpan {
    long left = 0;
    long width = 0;
    int span = 1023;
};

// The band of a rectangle given in device units (not yet rounded).
BandSpan BandSpanOf(double left, double width, int span = 1023);

// The column of a position, counted from the band's left edge: the nearest pixel, halves
// going to the even one, never past the right edge.
long PixelOf(const BandSpan& band, double position);

// The position under device column x: the nearest one, 0..1023 (a column left of the band
// is 0, one right of it 1023).
int PositionAt(const BandSpan& band, double x);

// The same for the end of a drag: 0..1024, where 1024 is the end of the revolution, reached
// only beyond the band's right edge.
int BoundaryAt(const BandSpan& band, double x);

// Positions that one pixel of the band covers, rounded up (at least 1): the reach of a grip.
int PositionsPerPixel(const BandSpan& band);

}  // namespace cam
