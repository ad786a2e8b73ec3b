#include "widgets/printing/print_window.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "paint/printout_painter.h"
#include "qt/cp1252.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace cam {

QPrinter& SharedPrinter::get() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool SystemPrinterPage(QPrinter& printer, const QString& title, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

bool ChoosePrinter(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent, const AskPrinter& ask) {
    const QString title = FromCp1252(Text(p, txt::kSelectPrinter));
    for (;;) {
        if (!ask(printer, title, parent)) return false;
        if (PrinterAnswerFits(printer.copyCount(), printer.printRange() != QPrinter::AllPages)) return true;
        // What the page asked for is undone, so that a cancel next time leaves a printable choice.
        printer.setCopyCount(1);
        printer.setPrintRange(QPrinter::AllPages);
        prompt.message(Text(p, txt::kOneCopyOnly), "", Buttons::Ok, Icon::None);
    }
}

std::string PrinterName(const Program& p, const QPrinter& printer) {
    if (!printer.printerName().isEmpty()) return ToCp1252(printer.printerName());
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return Fill(Text(p, txt::kPrintToFile), {ToCp1252(printer.outputFileName())});
    return Text(p, txt::kNoPrinterName);
}

void OfferPdfWithoutPrinter(const Program& p, QPrinter& printer) {
    if (!printer.printerName().isEmpty() || !printer.outputFileName().isEmpty()) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(PrintToFilePath(p))));
}

// ---- SizeBox ---------------------------------------------------------------------------

SizeBox::SizeBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(2);
    // Keys are filtered below; the validator keeps pasted text to digits as well.
    setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), this));
}

bool SizeBox::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit committed();  // the focus stays in the box
            return true;
        }
    }
    return QLineEdit::event(e);
}

void SizeBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit committed();
        return;
    }
    const QString t = e->text();
    if (t.isEmpty() || !t.at(0).isPrint() || (e->modifiers() & Qt::ControlModifier)) {
        QLineEdit::keyPressEvent(e);  // editing and cursor keys, copy and paste
        return;
    }
    const QChar c = t.at(0);
    insert(QString(QChar(SizeBoxKey(c.unicode() < 128 ? char(c.unicode()) : '?'))));
}

void SizeBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // After the press that gave the focus, which would place the cursor instead.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

void SizeBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    emit committed();
}

// ---- PrintWindow -----------------------------------------------------------------------

namespace {
QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

PrintWindow::PrintWindow(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent, AskPrinter ask)
    : QDialog(parent), p_(p), prompt_(prompt), printer_(printer), ask_(std::move(ask)), form_(p) {
    OfferPdfWithoutPrinter(p, printer);
    setObjectName("STAMPA");
    setWindowTitle(FromCp1252(Text(p, txt::kPrintTitle)));
    lform_ = new QLabel(FromCp1252(Text(p, txt::kPrintSizeNumber)), this);
    lform_->setObjectName("LFORM");
    nfrm_ = new SizeBox(this);
    nfrm_->setObjectName("NFrm");
    nfrm_->setFont(QFont(QStringList{"Courier New", "Liberation Mono"}));
    nfrm_->setFixedWidth(nfrm_->fontMetrics().horizontalAdvance("000") + 12);
    nfrm_->setText(QString::fromStdString(form_.sizeBox));
    printAll_ = new QCheckBox(FromCp1252(Text(p, txt::kPrintAllSizes)), this);
    printAll_->setObjectName("PRINTALL");
    auto* modes = new QGroupBox(FromCp1252(Text(p, txt::kPrintMode)), this);
    modes->setObjectName("Fr_MODS");
    graphic_ = new QRadioButton(FromCp1252(Text(p, txt::kPrintChart)), modes);
    graphic_->setObjectName("F_grh");
    text_ = new QRadioButton(FromCp1252(Text(p, txt::kPrintListing)), modes);
    text_->setObjectName("F_TXT");
    text_->setChecked(true);
    auto* modeLayout = new QVBoxLayout(modes);
    modeLayout->addWidget(graphic_);
    modeLayout->addWidget(text_);
    lbprn_ = new QLabel(this);
    lbprn_->setObjectName("LbPRN");
    lbprn_->setFrameShape(QFrame::Panel);
    lbprn_->setFrameShadow(QFrame::Sunken);
    lbprn_->setMinimumWidth(260);
    QPushButton* select = Button(this, "Command1", "&SELECT");
    QPushButton* ok = Button(this, "T_OK", "&PRINT");
    QPushButton* exit = Button(this, "T_EX", "&EXIT");

    auto* grid = new QGridLayout(this);
    grid->addWidget(lform_, 0, 0);
    grid->addWidget(nfrm_, 0, 1);
    grid->addWidget(printAll_, 1, 0, 1, 2);
    grid->addWidget(modes, 0, 2, 2, 1);
    grid->addWidget(lbprn_, 2, 0, 1, 2);
    grid->addWidget(select, 2, 2);
    grid->addWidget(ok, 3, 1);
    grid->addWidget(exit, 3, 2);

    connect(nfrm_, &SizeBox::committed, this, &PrintWindow::commitBox);
    connect(printAll_, &QCheckBox::toggled, this, [this](bool all) {
        form_.allSizes = all;
        render();
    });
    connect(graphic_, &QRadioButton::toggled, this,
            [this](bool chart) { form_.mode = chart ? PrintMode::Chart : PrintMode::Listing; });
    connect(select, &QPushButton::clicked, this, &PrintWindow::selectPrinter);
    connect(ok, &QPushButton::clicked, this, &PrintWindow::print);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    render();
}

void PrintWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    render();
    nfrm_->setFocus(Qt::OtherFocusReason);
}

void PrintWindow::render() {
    lform_->setVisible(!form_.allSizes);
    nfrm_->setVisible(!form_.allSizes);
    lbprn_->setText(FromCp1252(PrinterName(p_, printer_)));
}

void PrintWindow::commitBox() {
    form_.sizeBox = SizeBoxCommit(ToCp1252(nfrm_->text()), p_.NSizes);
    nfrm_->setText(QString::fromStdString(form_.sizeBox));
    nfrm_->deselect();
}

void PrintWindow::selectPrinter() {
    ChoosePrinter(p_, prompt_, printer_, this, ask_);
    render();
}

void PrintWindow::print() {
    if (!form_.allSizes) commitBox();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    UsePrintoutMargins(printer_);
    const std::unique_ptr<Printout> printout =
        MakeSizePrintout(p_, form_.mode, form_.SizesToPrint(p_.NSizes), PrintableInches(printer_));
    // A long listing shows how far it is and can be cancelled; a short one shows nothing.
    QProgressDialog progress(this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    progress.setRange(0, printout->PageCount());
    const Result printed =
        PrintPages(p_, *printout, printer_, PrinterName(p_, printer_), [&](int done, int total) {
            progress.setLabelText(FromCp1252(Fill(Text(p_, txt::kPrintingPage), {CStr(done), CStr(total)})));
            progress.setValue(done);
            if (!progress.wasCanceled()) return true;
            printer_.abort();
            return false;
        });
    QApplication::restoreOverrideCursor();
    if (!printed) prompt_.message(printed.reason(), "", Buttons::Ok, Icon::Exclamation);
}

void ShowPrintWindow(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent) {
    PrintWindow window(p, prompt, printer, parent);
    window.exec();
}

}  // namespace cam
