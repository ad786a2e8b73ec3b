// The printed message list: the printer font, the printer choice, the PDF listing and the
// painter that draws it.
#include "gui_tests.h"
#include "message_window_fixture.h"
#include "widgets/messages/message_list_painter.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

namespace {

using namespace camtest;

class MessagePrintingTest : public MessageWindowFixture {
    Q_OBJECT

private slots:
    void fontSelectionTakesTheChosenFontAndCancelKeepsIt() {
        Show();
        // A family of this machine that has an italic style, whichever it is.
        QString family;
        for (const QString& f : QFontDatabase::families())
            if (QFontDatabase::styles(f).contains("Italic")) family = f;
        if (family.isEmpty()) QSKIP("no font with an italic style here");
        WhenModal("FontDialog", [family](QWidget* d) {
            QFont f(family);
            f.setPointSize(14);
            f.setItalic(true);
            static_cast<QFontDialog*>(d)->setCurrentFont(f);
            static_cast<QDialog*>(d)->accept();
        });
        Trigger("f_Font");
        QCOMPARE(QString::fromStdString(p->PrnFontName), family);
        QCOMPARE(p->PrnFontSize, 14.0);
        QVERIFY(p->PrnFontItalic);
        QCOMPARE(MsgPrintFont(*p).family(), family);
        QVERIFY(MsgPrintFont(*p).bold());  // the printout is bold whatever the choice
        WhenModal("FontDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_Font");
        QCOMPARE(QString::fromStdString(p->PrnFontName), family);
        QCOMPARE(p->PrnFontSize, 14.0);
    }

    void printerSelectionCancelledChangesNothing() {
        Show();
        p->PrintToFile = File("chosen.pdf");
        WhenModal("PrintDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_SelPr");
        QCOMPARE(p->PrintToFile, File("chosen.pdf"));
        // What the dialog chose is kept for the run: a PDF file, or a printer.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(File("other.pdf")));
        KeepPrinterChoice(*p, printer);
        QCOMPARE(p->PrintToFile, File("other.pdf"));
        QPrinter back;
        ApplyPrinterChoice(*p, back);
        QCOMPARE(back.outputFormat(), QPrinter::PdfFormat);
    }

    void printToPdfListsTheMessages() {
        Show();
        p->MsgFile = File("plant.Msg");
        p->PrintToFile = File("list.pdf");
        Trigger("f_Print");
        QVERIFY(prompt->messages().empty());
        QVERIFY(Bytes(p->PrintToFile).rfind("%PDF", 0) == 0);
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess run;
        run.start(pdftotext, {"-layout", QString::fromStdString(p->PrintToFile), "-"});
        QVERIFY(run.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QStringList trimmed;
        for (const QString& l : lines)
            if (!l.trimmed().isEmpty()) trimmed << l.trimmed();
        QCOMPARE(trimmed, (QStringList{"MESSAGES: plant.Msg", "N.003OIL PRESSURE LOW", "N.009Oil level low",
                                       "******************************"}));
    }

    void aPrintThatCannotBeWrittenSaysWhy() {
        Show();
        p->PrintToFile = File("missing-folder/list.pdf");
        Trigger("f_Print");
        QCOMPARE(prompt->messages().size(), std::size_t(1));
        QVERIFY(prompt->messages()[0].rfind("The list could not be printed: ", 0) == 0);
    }

    // The painter on an image: one text line a list line, as many as fit on the page.
    void painterDrawsOneRowPerLineAndStopsAtThePageEnd() {
        QImage page(400, 100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter g(&page);
        QFont font("Courier New");
        font.setPixelSize(10);
        const std::vector<std::string> lines(20, "N.001XXXX");
        const std::size_t next = PaintMsgListPage(g, page.rect(), lines, 0, font);
        g.end();
        const int step = QFontMetrics(font, &page).lineSpacing();
        QCOMPARE(next, std::size_t(100 / step));
        // Ink in the first line's band, none below the last line drawn.
        auto inkIn = [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (page.pixel(x, y) != qRgb(255, 255, 255)) return true;
            return false;
        };
        QVERIFY(inkIn(0, step));
        QVERIFY(!inkIn(static_cast<int>(next) * step + 1, page.height()));
    }
};

RegisterGuiTest<MessagePrintingTest> registered;

}  // namespace

#include "message_printing_test.moc"
