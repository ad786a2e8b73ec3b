// A printout of sizes: its pages are built once from the program data and can then be drawn
// on any QPainter: a printer, a PDF, an image in the tests. Printing reads the tables only:
// it never changes CurSize or a phase.
#pragma once

#include "core/model/program.h"
#include "core/model/result.h"
#include "core/printing/print_form.h"

#include <QFont>
#include <QSizeF>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace cam {

class Printout {
public:
    virtual ~Printout() = default;
    virtual int PageCount() const = 0;
    // Draws one page (0-based) with the top left of its printable area at the painter's
    // origin; dpi: the device's units per inch.
    virtual void DrawPage(QPainter& g, int page, double dpi) const = 0;
};

// The listing or the chart of every size in sizes, each size from a new page, laid out for
// a printable area of the given size in inches. The chart reads p when drawn: p outlives it.
std::unique_ptr<Printout> MakeSizePrintout(const Program& p, PrintMode mode, const std::vector<int>& sizes,
                                           QSizeF printableInches);

// The page layout of every printout, printed or written by camctl: 15 mm margins all round.
void UsePrintoutMargins(QPagedPaintDevice& device);

// The printable area of a device in inches.
QSizeF PrintableInches(const QPagedPaintDevice& device);

// Told after every page: the pages done and the pages in all. False cancels the printout.
using PageProgress = std::function<bool(int done, int total)>;

// Draws every page on device, each after the first on a new page, and ends the job.
// A device that cannot be painted on is a failure that names it (deviceName); a cancel is a
// failure that says at which page.
Result PrintPages(const Program& p, const Printout& printout, QPagedPaintDevice& device, const std::string& deviceName,
                  const PageProgress& progress = {});

// The printout of sizes as a PDF file (A4), written whole or not at all.
Result WriteSizesPdf(const Program& p, PrintMode mode, const std::vector<int>& sizes, const std::string& path,
                     const PageProgress& progress = {});

}  // namespace cam
