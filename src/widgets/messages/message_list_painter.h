// The printed alarm message list: drawn on any QPainter (a printer, a PDF, an image in the
// tests), in the printer font of the run, page after page.
#pragma once

#include "core/model/program.h"
#include "core/model/result.h"

#include <QFont>
#include <QRect>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace cam {

// The printout's font: the chosen printer font, "Arial" when none has a name, 9.75 points
// when none has a size; always bold.
QFont MsgPrintFont(const Program& p);

// Draws lines from `first` on one page of the area, one line a text line; returns the index
// of the first line that did not fit (lines.size() when all did).
std::size_t PaintMsgListPage(QPainter& g, const QRect& area, const std::vector<std::string>& lines, std::size_t first,
                             const QFont& font);
// The whole list on a paged device (printer or PDF writer), new pages as needed.
bool PaintMsgList(QPagedPaintDevice& device, const std::vector<std::string>& lines, const QFont& font);

// The list of p as a PDF file (written durably: a failed write keeps the old file).
Result PrintMsgListPdf(const Program& p, const std::string& path);
// "&Print": to p.PrintToFile when the print dialog chose a PDF file, else to the chosen
// printer (p.PrinterName, or the system's default). The reason of a failure is in the result.
Result PrintMsgList(const Program& p);

// A printer set up as the run's choice (name or PDF file) says; the print dialog starts
// from it and stores its choice back with KeepPrinterChoice.
void ApplyPrinterChoice(const Program& p, QPrinter& printer);
void KeepPrinterChoice(Program& p, const QPrinter& printer);

}  // namespace cam
