#include "widgets/messages/message_list_painter.h"

#include "core/camfile/atomic_write.h"
#include "core/model/texts.h"
#include "core/messages/message_list_commands.h"
#include "qt/cp1252.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace cam {

QFont MsgPrintFont(const Program& p) {
    QFont font(p.PrnFontName.empty() ? QString("Arial") : FromCp1252(p.PrnFontName));
    font.setPointSizeF(p.PrnFontSize > 0 ? p.PrnFontSize : 9.75);
    font.setBold(true);
    font.setItalic(p.PrnFontItalic);
    return font;
}

std::size_t PaintMsgListPage(QPainter& g, const QRect& area, const std::vector<std::string>& lines, std::size_t first,
                             const QFont& font) {
    g.setFont(font);
    g.setPen(Qt::black);
    const QFontMetrics metrics(g.font(), g.device());
    const int step = std::max(metrics.lineSpacing(), 1);
    int y = area.top();
    std::size_t i = first;
    // At least one line a page, so that a page too small for a line cannot stop the printout.
    for (; i < lines.size() && (i == first || y + step <= area.bottom() + 1); ++i, y += step)
        g.drawText(QRect(area.left(), y, area.width(), step), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   FromCp1252(lines[i]));
    return i;
}

bool PaintMsgList(QPagedPaintDevice& device, const std::vector<std::string>& lines, const QFont& font) {
    QPainter g;
    if (!g.begin(&device)) return false;
    // A margin of half an inch inside what the device can print on.
    const int margin = device.logicalDpiX() / 2;
    const QRect area(margin, margin, std::max(device.width() - 2 * margin, 1),
                     std::max(device.height() - 2 * margin, 1));
    for (std::size_t next = 0; next < lines.size();) {
        if (next > 0 && !device.newPage()) return false;
        next = PaintMsgListPage(g, area, lines, next, font);
    }
    return g.end();
}

Result PrintMsgListPdf(const Program& p, const std::string& path) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setTitle(kMsgWindowCaption);
        writer.setCreator("camdesk");
        if (!PaintMsgList(writer, MsgPrintLines(p), MsgPrintFont(p)))
            return Result::Failure(Fill(Text(p, txt::kCannotWritePdf), {path}));
    }
    return WriteFileDurably(path, std::string_view(pdf.data().constData(), static_cast<std::size_t>(pdf.size())));
}

Result PrintMsgList(const Program& p) {
    if (!p.PrintToFile.empty()) return PrintMsgListPdf(p, p.PrintToFile);
    if (QPrinterInfo::availablePrinters().isEmpty()) return Result::Failure(Text(p, txt::kNoPrinter));
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterChoice(p, printer);
    printer.setDocName(kMsgWindowCaption);
    if (!printer.isValid() || !PaintMsgList(printer, MsgPrintLines(p), MsgPrintFont(p)))
        return Result::Failure(Text(p, txt::kNoPrinter));
    return {};
}

void ApplyPrinterChoice(const Program& p, QPrinter& printer) {
    if (!p.PrintToFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(p.PrintToFile)));
    } else if (!p.PrinterName.empty()) {
        printer.setPrinterName(FromCp1252(p.PrinterName));
    }
}

void KeepPrinterChoice(Program& p, const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        p.PrintToFile = QFile::encodeName(printer.outputFileName()).toStdString();
    } else {
        p.PrintToFile.clear();
        p.PrinterName = ToCp1252(printer.printerName());
    }
}

}  // namespace cam
