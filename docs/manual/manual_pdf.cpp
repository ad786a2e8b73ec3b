// Builds the user manual's PDF from its Markdown and its pictures with Qt's own PDF writer.
// usage: manual_pdf MANUAL.md OUT.pdf
#include "qt/command_line.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cstdio>

// Every picture at most `width` pixels of the page wide (a screenshot is wider than the
// text): the full picture is kept and drawn smaller, so it stays sharp in the PDF.
void FitPictures(QTextDocument& doc, int width) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(picture.name())).value<QImage>();
            if (image.isNull() || image.width() <= width) continue;
            picture.setWidth(width);
            picture.setHeight(double(image.height()) * width / image.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(picture);
        }
}

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
    FitPictures(doc, 640);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle("camdesk user manual");
    pdf.setCreator("camdesk");
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                  QPageLayout::Millimeter));
    doc.print(&pdf);
    return 0;
}
