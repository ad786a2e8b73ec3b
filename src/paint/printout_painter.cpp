#include "paint/printout_painter.h"

#include "core/camfile/atomic_write.h"
#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "paint/size_chart_painter.h"
#include "paint/size_listing_painter.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace cam {

std::unique_ptr<Printout> MakeSizePrintout(const Program& p, PrintMode mode, const std::vector<int>& sizes,
                                           QSizeF printableInches) {
    if (mode == PrintMode::Chart) return std::make_unique<SizeChartPrintout>(p, sizes, printableInches);
    return std::make_unique<SizeListingPrintout>(p, sizes, printableInches);
}

void UsePrintoutMargins(QPagedPaintDevice& device) {
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

QSizeF PrintableInches(const QPagedPaintDevice& device) {
    return {device.width() / double(std::max(1, device.logicalDpiX())),
            device.height() / double(std::max(1, device.logicalDpiY()))};
}

Result PrintPages(const Program& p, const Printout& printout, QPagedPaintDevice& device,
                  const std::string& deviceName, const PageProgress& progress) {
    // Without any font a PDF carries no text at all, and says nothing about it.
    if (QFontDatabase::families().isEmpty()) return Result::Failure(Text(p, txt::kNoFonts));
    const Result notStarted = Result::Failure(Fill(Text(p, txt::kPrinterNotStarted), {deviceName}));
    QPainter g;
    if (!g.begin(&device)) return notStarted;
    const int pages = printout.PageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) return notStarted;
        printout.DrawPage(g, page, device.logicalDpiX());
        if (progress && !progress(page + 1, pages) && page + 1 < pages) {
            g.end();
            return Result::Failure(Fill(Text(p, txt::kPrintCancelled), {CStr(page + 1), CStr(pages)}));
        }
    }
    if (!g.end()) return notStarted;
    return {};
}

Result WriteSizesPdf(const Program& p, PrintMode mode, const std::vector<int>& sizes, const std::string& path,
                     const PageProgress& progress) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        UsePrintoutMargins(pdf);
        pdf.setCreator(QStringLiteral("camdesk"));
        pdf.setTitle(QString::fromLocal8Bit(p.CamFileTitle.c_str()));
        const std::unique_ptr<Printout> printout = MakeSizePrintout(p, mode, sizes, PrintableInches(pdf));
        if (Result printed = PrintPages(p, *printout, pdf, path, progress); !printed) return printed;
    }
    return WriteFileDurably(path, std::string_view(buffer.data().constData(), size_t(buffer.data().size())));
}

}  // namespace cam
