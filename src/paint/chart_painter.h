// Paints the cam chart of one size onto any QPainter: the screen canvas, a printer or a PNG
// all go through these routines, and every row is drawn from ChartPhasesOf, the routine the
// phase list is built from, so the bars and the listed phases cannot disagree.
// Geometry is in design pixels; the painter maps it with a horizontal and a vertical scale.
#pragma once

#include "core/model/program.h"

#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace cam {

// Design geometry of the chart canvas, in pixels (origin: top left of the canvas).
namespace chart {
inline constexpr int kRows = 32;
inline constexpr int kRowsTop = 30;      // top of the cam label of row 0
inline constexpr int kRowPitch = 14;     // rows 14 apart
inline constexpr int kLabelWidth = 381;  // cam label: the whole row, its click target
inline constexpr int kLabelHeight = 15;
inline constexpr int kBandLeft = 17;  // bar band
inline constexpr int kBandWidth = 360;
inline constexpr int kBandHeight = 10;
inline constexpr int kBandDrop = 3;      // band top below the cam label top
inline constexpr int kRemarkLeft = 381;  // remark label, right of the band
inline constexpr int kRemarkWidth = 150;
inline constexpr int kRemarkHeight = 14;
inline constexpr int kGridStep = 45;  // one grid line every eighth of a revolution
inline constexpr int kGridLines = 8;
inline constexpr int kWidth = 700;  // the whole canvas
inline constexpr int kHeight = 496;

// Captions above the rows and the size spinner (97 x 24, right of the size caption).
inline constexpr QRectF kSizeCaption{4, 3, 90, 20};
inline constexpr QRectF kSpinner{97, 1, 97, 24};
inline constexpr QRectF kCamCaption{214, 3, 80, 20};
inline constexpr QRectF kRemarkCaption{kRemarkLeft, 10, kRemarkWidth, 16};
// The position under the mouse, right of the cam caption.
inline constexpr QRectF kReadout{304, 5, 56, 18};

// Phase panel right of the chart: heading and boxes, phase list heading, list, count.
inline constexpr QRectF kBoxHeading{548, 30, 140, 16};
inline constexpr QRectF kOnBox{552, 48, 50, 22};
inline constexpr QRectF kOffBox{626, 48, 50, 22};
inline constexpr QRectF kListHeading{548, 80, 140, 16};
inline constexpr QRectF kList{548, 98, 140, 340};
inline constexpr QRectF kCount{548, 442, 140, 18};

inline QRectF RowLabel(int row) { return {0, double(kRowsTop + kRowPitch * row), kLabelWidth, kLabelHeight}; }
inline QRectF Band(int row) {
    return {kBandLeft, double(kRowsTop + kRowPitch * row + kBandDrop), kBandWidth, kBandHeight};
}
inline QRectF Remark(int row) { return {kRemarkLeft, double(kRowsTop + kRowPitch * row), kRemarkWidth, kRemarkHeight}; }
// Font sizes of the design in points; the painter turns them into pixels at 96 per inch.
inline constexpr double kCamFontPt = 9;
inline constexpr double kRemarkFontPt = 8.25;
inline constexpr double kCaptionFontPt = 9.75;
inline constexpr double kScaleFontPt = 8.25;
}  // namespace chart

// Colours of the chart, red-green-blue.
namespace chart_colour {
inline const QColor kCurrentBand{255, 255, 0};
inline const QColor kOtherBand{255, 255, 255};
inline const QColor kCurrentBar{0, 0, 255};
inline const QColor kOtherBar{0, 0, 0};
inline const QColor kCurrentRemarkText{0, 0, 255};
inline const QColor kOtherRemarkText{0, 0, 0};
inline const QColor kSizeCaption{255, 192, 128};  // orange
inline const QColor kCamCaption{255, 255, 0};
inline const QColor kGrid{128, 128, 128};
inline const QColor kSurface{192, 192, 192};
inline const QColor kGuide{255, 0, 0};  // the line under the mouse across the rows
// The advance computation's bars: QBasic colours 14 (light yellow) and 9 (light blue).
inline const QColor kPatternBack{255, 255, 0};
inline const QColor kPatternRun{0, 0, 255};
inline const QColor kCellBorder{0, 0, 0};
}  // namespace chart_colour

// Where the cam rows go, in design pixels: the screen's layout above by default; a printout
// lays the same rows out over its page.
struct ChartLayout {
    double rowsTop = chart::kRowsTop;
    double rowPitch = chart::kRowPitch;
    double labelWidth = chart::kLabelWidth;
    double labelHeight = chart::kLabelHeight;
    double bandLeft = chart::kBandLeft;
    double bandWidth = chart::kBandWidth;
    double bandHeight = chart::kBandHeight;
    double bandDrop = chart::kBandDrop;
    double remarkLeft = chart::kRemarkLeft;
    double remarkWidth = chart::kRemarkWidth;
    double remarkHeight = chart::kRemarkHeight;
    double camFontPt = chart::kCamFontPt;
    double remarkFontPt = chart::kRemarkFontPt;
    bool camPrefix = false;   // cam labels "C 01" as printed, instead of the screen's "1"
    bool bandBorder = false;  // a line round each band: on white paper there is no grey around it

    QRectF RowLabel(int row) const { return {0, rowsTop + rowPitch * row, labelWidth, labelHeight}; }
    QRectF Band(int row) const { return {bandLeft, rowsTop + rowPitch * row + bandDrop, bandWidth, bandHeight}; }
    QRectF Remark(int row) const { return {remarkLeft, rowsTop + rowPitch * row, remarkWidth, remarkHeight}; }
};

// The design's family ("Arial", "Courier New"), or its metric twin installed with the program
// where the family is not installed.
QFont DesignFamily(const char* family);
// A font of the design's family at points, in pixels of a device with unitsPerInch. The
// screen's chart, the printouts and the screenshots take their fonts here.
QFont DesignFont(const char* family, double points, bool bold, double unitsPerInch);

class ChartPainter {
public:
    // sx, sy: device units per design pixel; origin: where the canvas's top left goes.
    ChartPainter(QPainter& painter, double sx, double sy, QPointF origin = {}, const ChartLayout& layout = {});

    // Everything: surface, captions, spinner, every row of size (rows 0..NCams-1), grid, scale.
    void DrawChart(const Program& p, bool leftPressed = false, bool rightPressed = false);
    // What of the chart lies in area (device units), for a repaint of part of it: one changed
    // row costs one row. The painter is expected to be clipped to area.
    void DrawChartIn(const Program& p, const QRectF& area, bool leftPressed = false, bool rightPressed = false);
    // The rectangle of row (label, band and remark) in device units.
    QRectF RowArea(int row) const;
    // One row: band, bars, cam label and remark label, highlighted when cam is current.
    void DrawCamRow(const Program& p, int size, int cam, bool current);
    void DrawGrid(int rows);
    void DrawScale(int rows);
    // The printout's scale: a four-digit position at every grid line and 1023 at the band's
    // end, in a line of the given height above the rows.
    void DrawPositionScale(double top, double height, double fontPt);
    void DrawCaptions(const Program& p);
    void DrawSizeSpinner(bool leftPressed, bool rightPressed);

    // A cell of the functions list: value of fullScale fills the cell's width (never more),
    // over the cell's background; the current cell is yellow with a blue bar, the others
    // white with a black bar.
    void DrawValueCell(const QRectF& design, int value, int fullScale, bool current);
    // One revolution across a cell (the 1024 positions span its width): the cell in back,
    // every ON run in run colour, a run through position 0 drawn as its two pieces.
    void DrawPatternCell(const QRectF& design, const std::uint8_t* positions, const QColor& back, const QColor& run);

    QRectF Map(const QRectF& design) const;
    // A font of the design (size in points at 96 per inch) in device pixels of this painter;
    // "Arial" and "Courier New" fall back on their metric twins.
    QFont Font(const char* family, double points, bool bold) const;
    // A pen of the design's width, never thinner than one device pixel.
    QPen Pen(const QColor& colour, double width = 1) const;

private:
    void Text(const QRectF& design, const std::string& text, int flags, const QFont& font, const QColor& colour);
    std::optional<double> PixelRatio() const;
    // Pieces of ON runs (first and last position drawn) over a band filled with back.
    struct RunPiece {
        int first, last;
    };
    // span: positions the band's width stands for (1023 on the chart, 1024 in a cell).
    void Runs(const QRectF& band, const std::vector<RunPiece>& pieces, int span, const QColor& back, const QColor& run);
    // The chart's surface; on a screen around the bands of the first rows, which Runs covers.
    void FillSurface(int rows);

    QPainter& g_;
    double sx_, sy_;
    QPointF origin_;
    ChartLayout layout_;
};

}  // namespace cam
