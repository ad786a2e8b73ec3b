// The print dialog driven through its controls, printing into a PDF read back with pdftotext.
#include "widgets/printing/print_window.h"
#include "core/camfile/cam_file.h"
#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "gui_tests.h"
#include "paint/printout_painter.h"
#include "pdf_text.h"
#include "support/make_program.h"
#include "support/shipped_texts.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace cam;

namespace {

class PrintWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    Program p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<PrintWindow> w;

    QString Out() const { return dir->filePath("out.pdf"); }
    SizeBox* Box() const { return child<SizeBox>(w.get(), "NFrm"); }
    void Open(AskPrinter ask = SystemPrinterPage) {
        w = std::make_unique<PrintWindow>(p, *prompt, *printer, nullptr, std::move(ask));
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    // A click on the control's box or circle, at its left.
    void Click(const char* name) {
        auto* b = child<QAbstractButton>(w.get(), name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(qMin(8, b->width() / 2), b->height() / 2));
    }
    void Print(const char* size) {
        Box()->selectAll();
        QTest::keyClicks(Box(), size);
        Click("T_OK");
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        p = camtest::MakeProgram(32, 7);
        p.LngTxt = camtest::ShippedTexts();
        std::tie(p.CamFileTitle, p.CurSize) = std::tuple("demo.Cam", 3);
        for (int s = 1; s <= 7; ++s) QVERIFY(SetPhase(p, s, 0, 100 * s, 100 * s + 50));
        QVERIFY(SetPhase(p, 2, 4, 1000, 24));
        prompt = std::make_unique<ScriptedPrompt>();
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(Out());
    }
    void cleanup() { w.reset(); }

    // One size, a size beyond the model, then all sizes as charts: the tables stay as they were.
    void printsTheSizeOfTheBoxOrAllSizes() {
        const std::string before = CamFileText(p);
        Open();
        QStringList shown = {w->windowTitle()};
        for (const char* name : {"LFORM", "PRINTALL", "Fr_MODS", "F_grh", "F_TXT", "LbPRN"}) {
            QWidget* c = child<QWidget>(w.get(), name);
            shown << c->property(qobject_cast<QGroupBox*>(c) ? "title" : "text").toString();
        }
        QCOMPARE(shown, (QStringList{"Print", "PRINT SIZE N. ", "All sizes", "Print mode", "Chart", "Listing",
                                     "File " + Out()}));
        QCOMPARE(std::tuple(child<QRadioButton>(w.get(), "F_TXT")->isChecked(), Box()->text(), Box()->hasFocus()),
                 std::tuple(true, QString("03"), true));

        // Without Enter the box is corrected as it is left: a size beyond the model is never printed.
        Print("99");
        QCOMPARE(std::pair(w->isVisible(), Box()->text()), std::pair(true, QString("07")));
        QStringList pages = camtest::PdfPages(Out());
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("FORMATO N. 07"), qPrintable(pages[0]));

        Click("PRINTALL");
        QCOMPARE(std::pair(Box()->isVisible(), child<QLabel>(w.get(), "LFORM")->isVisible()), std::pair(false, false));
        Click("F_grh");
        Click("T_OK");
        pages = camtest::PdfPages(Out());
        QCOMPARE(pages.size(), 7);
        // The last size, and a chart: its scale ends at 1023.
        QVERIFY2(pages[6].contains("FORMATO N. 07") && pages[6].contains("1023"), qPrintable(pages[6]));
        QCOMPARE(std::tuple(p.CurSize, CamFileText(p) == before, prompt->asked().empty()), std::tuple(3, true, true));
        // Without a script: the built-in wording.
        p.LngTxt.assign(p.LngTxt.size(), "");
        Open();
        QCOMPARE((QStringList{w->windowTitle(), child<QLabel>(w.get(), "LFORM")->text()}),
                 (QStringList{"STAMPA", "STAMPA FORMATO N. "}));
    }

    // The box's rules are the print form's; here that keys, Enter, Tab and pasting reach them.
    void sizeBoxFiltersKeysAndCorrectsOnEnterAndTab() {
        p.NSizes = 30;
        ResizeTables(p);
        Open();
        SizeBox* box = Box();
        QTRY_COMPARE(box->selectedText(), QString("03"));  // the whole text is selected on entry
        QTest::keyClicks(box, "a5");                       // any other character is typed as a zero
        QCOMPARE(box->text(), QString("05"));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab}) {
            box->selectAll();
            QTest::keyClicks(box, "99");
            QCOMPARE(box->text(), QString("99"));  // corrected on the key, not as typed
            QTest::keyClick(box, key);
            QCOMPARE(std::pair(box->text(), box->hasFocus()), std::pair(QString("30"), true));
        }
        QVERIFY(!box->hasSelectedText());
        box->selectAll();
        QApplication::clipboard()->setText("x9");
        box->paste();
        QCOMPARE(box->text(), QString("30"));  // a paste with a non-digit is refused whole
        QTest::keyClicks(box, "123");
        QCOMPARE(box->text().size(), 2);
    }

    void selectRefusesCopiesAndPageRangesAndAsksAgain() {
        int asked = 0;
        const QString chosen = dir->filePath("chosen.pdf");
        Open([&](QPrinter& pr, const QString& title, QWidget*) {
            ++asked;
            if (title != "Select printer") return false;
            if (asked == 1) pr.setCopyCount(3);
            if (asked == 2) {
                pr.setPrintRange(QPrinter::PageRange);
                pr.setFromTo(2, 3);
            }
            if (asked == 3) pr.setOutputFileName(chosen);
            return true;
        });
        Click("Command1");
        const std::string oneCopy = "Only one copy of all pages can be printed";
        QCOMPARE(std::pair(asked, prompt->messages()), std::pair(3, std::vector<std::string>{oneCopy, oneCopy}));
        QCOMPARE(std::pair(printer->copyCount(), printer->printRange()), std::pair(1, QPrinter::AllPages));
        QCOMPARE(child<QLabel>(w.get(), "LbPRN")->text(), "File " + chosen);
        // A cancelled choice keeps the printer and says nothing.
        prompt->clear();
        Click("Command1");
        QCOMPARE(std::tuple(asked, prompt->asked().empty(), printer->outputFileName()), std::tuple(4, true, chosen));
    }

    // No printer at all: the dialog offers a PDF beside the cam file's name, and its pages are
    // the pages camctl print writes, a long size going on over pages that name it.
    void withoutAPrinterThePagesAreAPdfAsCamctlWritesThem() {
        printer->setOutputFileName("");
        QVERIFY(printer->printerName().isEmpty());
        p.WorkDir = dir->path().toStdString();
        for (int c = 0; c < 32; ++c)
            for (int on = 1; on < 1000; on += 8) QVERIFY(SetPhase(p, 1, c, on, on + 3));
        Open();
        QCOMPARE(child<QLabel>(w.get(), "LbPRN")->text(), "File " + dir->filePath("demo.pdf"));
        Print("1");
        QVERIFY(prompt->asked().empty());
        const QString camctl = dir->filePath("camctl.pdf");
        QVERIFY(WriteSizesPdf(p, PrintMode::Listing, {1}, camctl.toStdString()).ok());
        const QStringList printed = camtest::PdfPages(dir->filePath("demo.pdf"));
        QVERIFY(printed.size() >= 3);
        QCOMPARE(printed, camtest::PdfPages(camctl));
    }

    void aPrinterThatCannotStartIsTold() {
        const QString nowhere = dir->filePath("no/such/folder/out.pdf");
        printer->setOutputFileName(nowhere);
        Open();
        Click("T_OK");
        QCOMPARE(prompt->messages(),
                 std::vector<std::string>{"The printout could not be started on File " + nowhere.toStdString() + "."});
        QVERIFY(w->isVisible());
        QVERIFY(!QApplication::overrideCursor());  // the wait cursor is gone
    }
};

RegisterGuiTest<PrintWindowTest> registerPrintWindowTest;

}  // namespace

#include "print_window_test.moc"
