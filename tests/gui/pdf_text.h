// What a PDF shows, read with poppler's tools (a dependency of the build, like the fonts):
// its text laid out as on the page, and a page as an image.
#pragma once

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace camtest {

// pdftotext -layout: the pages' text, pages separated by form feeds; "" when it failed.
inline QString PdfText(const QString& pdf) {
    QProcess run;
    run.start("pdftotext", {"-layout", pdf, "-"});
    if (!run.waitForFinished(60000) || run.exitCode() != 0) return {};
    return QString::fromUtf8(run.readAllStandardOutput());
}

// The text of each page.
inline QStringList PdfPages(const QString& pdf) {
    QStringList pages = PdfText(pdf).split('\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

// pdftoppm: page (1-based) at dpi as an image; null when it failed.
inline QImage PdfPageImage(const QString& pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.filePath("page");
    QProcess run;
    run.start("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                           "-singlefile", pdf, base});
    if (!run.waitForFinished(60000) || run.exitCode() != 0) return {};
    return QImage(base + ".png");
}

}  // namespace camtest
