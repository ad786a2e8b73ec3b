// The print dialog driven through its controls: captions, the size box's keys and correction,
// all sizes, printing into a PDF printer (read back with pdftotext) and the printer choice.
#include "widgets/printing/print_window.h"
#include "core/model/scripted_prompt.h"
#include "core/editor/phase_list.h"
#include "find_child.h"
#include "gui_tests.h"
#include "pdf_text.h"
#include "paint/printout_painter.h"
#include "support/make_program.h"
#include "support/shipped_texts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <utility>

using namespace cam;

namespace {

// Every phase of every cam of every size, to see that printing changed none.
std::vector<std::string> AllPhases(const Program& p) {
    std::vector<std::string> out;
    for (int s = 1; s <= p.CamPos.sizes(); ++s)
        for (int c = 0; c < p.CamPos.cams(); ++c)
            for (const std::string& e : PhaseListEntries(p, s, c)) out.push_back(std::to_string(s) + e);
    return out;
}

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

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        p = camtest::MakeProgram(32, 7);
        p.LngTxt = camtest::ShippedTexts();
        p.CamFileTitle = "demo.Cam";
        p.CurSize = 3;
        p.CamRemark[0] = "MAIN KNIFE";
        for (int s = 1; s <= 7; ++s) QVERIFY(SetPhase(p, s, 0, 100 * s, 100 * s + 50));
        QVERIFY(SetPhase(p, 2, 4, 1000, 24));
        prompt = std::make_unique<ScriptedPrompt>();
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(Out());
    }
    void cleanup() { w.reset(); }

    void captionsComeFromTheLanguageTexts() {
        Open();
        QCOMPARE(w->windowTitle(), QString("Print"));
        for (auto [name, caption] : {std::pair{"LFORM", "PRINT SIZE N. "}, {"PRINTALL", "All sizes"}, {"Fr_MODS", "Print mode"},
                                     {"F_grh", "Chart"}, {"F_TXT", "Listing"}, {"LbPRN", ""}}) {
            QWidget* c = child<QWidget>(w.get(), name);
            const QString shown = c->property(qobject_cast<QGroupBox*>(c) ? "title" : "text").toString();
            QVERIFY2(shown == (*caption ? QString(caption) : "File " + Out()), name);
        }
        QVERIFY(child<QRadioButton>(w.get(), "F_TXT")->isChecked());
        QCOMPARE(Box()->text(), QString("03"));
        QVERIFY(Box()->hasFocus());
        // Without a script: the built-in wording.
        p.LngTxt.assign(p.LngTxt.size(), "");
        Open();
        QCOMPARE(w->windowTitle(), QString("STAMPA"));
        QCOMPARE(child<QLabel>(w.get(), "LFORM")->text(), QString("STAMPA FORMATO N. "));
    }

    void sizeBoxFiltersKeysAndCorrectsOnEnterAndTab() {
        p.NSizes = 30;
        ResizeTables(p);
        Open();
        SizeBox* box = Box();
        QTRY_COMPARE(box->selectedText(), QString("03"));  // the whole text is selected on entry
        QTest::keyClicks(box, "99");
        QCOMPARE(box->text(), QString("99"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QString("30"));
        QVERIFY(box->hasFocus());
        QVERIFY(!box->hasSelectedText());
        // Any other character is typed as a zero; Tab corrects and keeps the focus.
        box->selectAll();
        QTest::keyClicks(box, "a5");
        QCOMPARE(box->text(), QString("05"));
        box->selectAll();
        QTest::keyClicks(box, "7");
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->text(), QString("07"));
        QVERIFY(box->hasFocus());
        // Pasted text keeps to digits too.
        box->selectAll();
        QApplication::clipboard()->setText("x9");
        box->paste();
        QCOMPARE(box->text(), QString("07"));  // refused whole
        // Two characters at most; an empty box or "00" is size 1.
        QTest::keyClicks(box, "123");
        QCOMPARE(box->text().size(), 2);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(box->text(), QString("01"));
        box->selectAll();
        QTest::keyClicks(box, "00");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QString("01"));
    }

    void allSizesHidesTheSizeBox() {
        Open();
        Click("PRINTALL");
        QVERIFY(!Box()->isVisible());
        QVERIFY(!child<QLabel>(w.get(), "LFORM")->isVisible());
        Click("PRINTALL");
        QVERIFY(Box()->isVisible());
        QVERIFY(child<QLabel>(w.get(), "LFORM")->isVisible());
    }

    void printWritesTheSizeOfTheBoxAndTheDialogStaysOpen() {
        const std::vector<std::string> before = AllPhases(p);
        Open();
        Box()->selectAll();
        QTest::keyClicks(Box(), "2");
        Click("T_OK");
        QVERIFY(w->isVisible());
        const QStringList pages = camtest::PdfPages(Out());
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages[0].contains("FORMATO N. 02"), qPrintable(pages[0]));
        QVERIFY(pages[0].contains("File:demo.Cam"));
        QVERIFY(pages[0].contains("C 01 \"MAIN KNIFE\"") || pages[0].contains("C 01  \"MAIN KNIFE\""));
        QVERIFY(pages[0].contains("0200 0250"));
        QVERIFY(pages[0].contains("1000 0024"));
        QVERIFY(!pages[0].contains("0300 0350"));
        // Printing reads: the selection and the tables are as they were.
        QCOMPARE(p.CurSize, 3);
        QVERIFY(AllPhases(p) == before);
        QVERIFY(prompt->asked().empty());
    }

    void aSizeBeyondTheModelIsNeverPrinted() {
        Open();
        Box()->selectAll();
        QTest::keyClicks(Box(), "99");
        Click("T_OK");  // without Enter: the box is corrected as it is left
        QCOMPARE(Box()->text(), QString("07"));
        QVERIFY(camtest::PdfText(Out()).contains("FORMATO N. 07"));
        Box()->selectAll();
        QTest::keyClicks(Box(), "00");
        Click("T_OK");
        QVERIFY(camtest::PdfText(Out()).contains("FORMATO N. 01"));
    }

    void allSizesAsChartsGiveAPageEach() {
        Open();
        Click("PRINTALL");
        Click("F_grh");
        Click("T_OK");
        const QStringList pages = camtest::PdfPages(Out());
        QCOMPARE(pages.size(), 7);
        for (int n = 1; n <= 7; ++n) {
            QVERIFY2(pages[n - 1].contains(QString("FORMATO N. 0%1").arg(n)), qPrintable(pages[n - 1]));
            QVERIFY(pages[n - 1].contains("C 32"));
            QVERIFY(pages[n - 1].contains("1023"));
        }
        QCOMPARE(p.CurSize, 3);
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
        QCOMPARE(asked, 3);
        QCOMPARE(prompt->messages(), (std::vector<std::string>{"Only one copy of all pages can be printed",
                                                               "Only one copy of all pages can be printed"}));
        QCOMPARE(printer->copyCount(), 1);
        QCOMPARE(printer->printRange(), QPrinter::AllPages);
        QCOMPARE(child<QLabel>(w.get(), "LbPRN")->text(), "File " + chosen);
        // A cancelled choice keeps the printer and says nothing.
        prompt->clear();
        asked = 10;
        Click("Command1");
        QCOMPARE(asked, 11);
        QVERIFY(prompt->asked().empty());
        QCOMPARE(printer->outputFileName(), chosen);
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
        Box()->selectAll();
        QTest::keyClicks(Box(), "1");
        Click("T_OK");
        QVERIFY(prompt->asked().empty());
        const QString camctl = dir->filePath("camctl.pdf");
        QVERIFY(WriteSizesPdf(p, PrintMode::Listing, {1}, camctl.toStdString()).ok());
        const QStringList printed = camtest::PdfPages(dir->filePath("demo.pdf"));
        QVERIFY(printed.size() >= 3);
        QCOMPARE(printed, camtest::PdfPages(camctl));
        QVERIFY2(printed[1].contains("FORMATO N. 01") && printed[1].contains("- 2 -"), qPrintable(printed[1]));
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
