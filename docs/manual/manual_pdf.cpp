// Builds the user manual's PDF from its Markdown and its pictures with Qt's own PDF writer:
// A4 pages numbered at their foot, every picture fitted to the text column, and an outline of
// the headings (added after the writer, which cannot make one).
// usage: manual_pdf MANUAL.md OUT.pdf
#include "core/printing/pdf_outline.h"
#include "qt/command_line.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>
#include <memory>

namespace {

// Every picture at most `width` wide, in the document's pixels of 1/96 inch: a screenshot is
// wider than the text column. The full picture is kept and drawn smaller, so it stays sharp.
void FitPictures(QTextDocument& doc, double width) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
            if (image.isNull() || image.width() <= width) continue;
            picture.setWidth(width);
            picture.setHeight(image.height() * width / image.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
}

bool HasPicture(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat()) return true;
    return false;
}

// Lays the document out on pages of the given size on device.
void LayOut(QTextDocument& doc, QPagedPaintDevice& device, QSizeF page) {
    doc.documentLayout()->setPaintDevice(&device);
    doc.setDocumentMargin(0);
    doc.setPageSize(page);
}

// Page breaks so that no picture is cut by the end of a page and no heading stays alone at the
// foot of one: the first block that needs one gets it, and the layout is made again, until
// none needs one.
void KeepTogether(QTextDocument& doc, QPagedPaintDevice& device, QSizeF page) {
    for (;;) {
        const std::unique_ptr<QTextDocument> laid(doc.clone());
        LayOut(*laid, device, page);
        auto pageOf = [&](double y) { return static_cast<int>(y / page.height()); };
        auto rect = [&](const QTextBlock& b) { return laid->documentLayout()->blockBoundingRect(b); };
        int before = -1;
        for (QTextBlock b = laid->begin(); b.isValid() && before < 0; b = b.next()) {
            const QRectF r = rect(b);
            const bool heading = b.blockFormat().headingLevel() > 0;
            if (heading && b.next().isValid() && pageOf(rect(b.next()).bottom() - 1) != pageOf(r.top())) {
                before = b.blockNumber();
            } else if (HasPicture(b) && r.height() < page.height() && pageOf(r.bottom() - 1) != pageOf(r.top())) {
                const QTextBlock previous = b.previous();
                const bool caption = previous.isValid() && previous.blockFormat().headingLevel() > 0 &&
                                     pageOf(rect(previous).top()) == pageOf(r.top());
                before = caption ? previous.blockNumber() : b.blockNumber();
            }
        }
        if (before < 0) return;
        QTextCursor cursor(doc.findBlockByNumber(before));
        QTextBlockFormat format = cursor.blockFormat();
        if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) return;  // it cannot do better
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(format);
    }
}

// The headings, each with its page and its height above the page's bottom in points.
std::vector<cam::OutlineEntry> Headings(const QTextDocument& doc, double pageHeight, double pointsPerUnit,
                                        double bottomMargin) {
    std::vector<cam::OutlineEntry> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 0) continue;
        const double top = doc.documentLayout()->blockBoundingRect(block).top();
        const int page = static_cast<int>(top / pageHeight);
        const double fromBottom = (pageHeight * (page + 1) - top) * pointsPerUnit + bottomMargin;
        out.push_back({level, block.text().toStdString(), page, fromBottom});
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    cam::EnsureRuntimeDir();
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: manual_pdf MANUAL.md OUT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "manual_pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString markdown = QString::fromUtf8(in.readAll());
    QTextDocument doc;
    doc.setDefaultFont(QFont("Liberation Sans", 10));
    doc.setMarkdown(markdown);
    // The pictures lie beside the Markdown, named as its links name them (added after the text:
    // setting the text drops the resources).
    const QString folder = QFileInfo(in.fileName()).absolutePath() + "/";
    const QRegularExpression picture(R"(!\[[^\]]*\]\(([^)]+)\))");
    for (auto it = picture.globalMatch(markdown); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QImage image(folder + name);
        if (image.isNull()) {
            std::fprintf(stderr, "manual_pdf: cannot read the picture %s\n", qPrintable(name));
            return 1;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }

    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    constexpr double kMarginMm = 18, kFootMm = 8;  // the page number sits in the foot
    std::vector<cam::OutlineEntry> headings;
    {
        QPdfWriter pdf(&bytes);
        pdf.setTitle("camdesk user manual");
        pdf.setCreator("camdesk");
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
        // Laid out in the writer's own units, one page of text above the foot at a time.
        const double unitsPerMm = pdf.logicalDpiY() / 25.4;
        const QSizeF page(pdf.width(), pdf.height() - kFootMm * unitsPerMm);
        FitPictures(doc, page.width() * 96 / pdf.logicalDpiX());  // first: the layouts below take them
        KeepTogether(doc, pdf, page);
        LayOut(doc, pdf, page);
        headings = Headings(doc, page.height(), 72.0 / pdf.logicalDpiY(), (kMarginMm + kFootMm) * 72 / 25.4);

        QPainter g(&pdf);
        QFont numberFont = doc.defaultFont();
        for (int n = 0; n < doc.pageCount(); ++n) {
            if (n > 0) pdf.newPage();
            g.save();
            g.translate(0, -n * page.height());
            const QRectF shown(0, n * page.height(), page.width(), page.height());
            doc.drawContents(&g, shown);
            g.restore();
            g.setFont(numberFont);
            g.drawText(QRectF(0, page.height(), page.width(), kFootMm * unitsPerMm), Qt::AlignHCenter | Qt::AlignBottom,
                       QString::number(n + 1));
        }
    }
    std::string out = bytes.data().toStdString();
    if (const cam::Result outlined = cam::AddPdfOutline(out, headings); !outlined) {
        std::fprintf(stderr, "manual_pdf: %s\n", outlined.reason().c_str());
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out.data(), qint64(out.size())) != qint64(out.size())) {
        std::fprintf(stderr, "manual_pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
