// The print dialog ("STAMPA"): one size or all sizes, as a chart or a listing, on the printer
// shown; "&SELECT" chooses the printer, "&PRINT" prints and leaves the dialog open. Renders
// PrintForm; the printer choice refuses what cannot be printed (several copies, a range of
// pages) and asks again.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/printing/print_form.h"

#include <QDialog>
#include <QLineEdit>
#include <QPrinter>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace cam {

// The printer of the run, shared by the print dialog and "Se&lect Printer". Made when first
// needed: asking the system for its printers takes a moment.
class SharedPrinter {
public:
    QPrinter& get();

private:
    std::unique_ptr<QPrinter> printer_;
};

// Shows the system's printer page for printer with the title; true when the user accepted.
using AskPrinter = std::function<bool(QPrinter& printer, const QString& title, QWidget* parent)>;
bool SystemPrinterPage(QPrinter& printer, const QString& title, QWidget* parent);

// The printer choice: the printer page with title text 42 until its answer can be printed
// (one copy, every page; otherwise text 55 and the page again). False when cancelled.
bool ChoosePrinter(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent,
                   const AskPrinter& ask = SystemPrinterPage);

// The printer's name as the dialog shows it: the printer, the file printed to, or none.
std::string PrinterName(const Program& p, const QPrinter& printer);

// A printer that names neither a printer nor a file (the system has none) becomes the A4 PDF
// of PrintToFilePath, so that there is always somewhere to print.
void OfferPdfWithoutPrinter(const Program& p, QPrinter& printer);

// NFrm: two characters; digits pass, any other character is typed as "0"; Enter and Tab
// correct the box and keep the focus, leaving the box corrects it too.
class SizeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit SizeBox(QWidget* parent = nullptr);
signals:
    void committed();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class PrintWindow : public QDialog {
    Q_OBJECT
public:
    PrintWindow(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent = nullptr,
                AskPrinter ask = SystemPrinterPage);
    // The size box commits when it loses the focus, and it loses it while the dialog part
    // is taken down: by then this window's own part is gone.
    ~PrintWindow() override { nfrm_->disconnect(this); }

    const PrintForm& form() const { return form_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void commitBox();
    void selectPrinter();
    void print();
    void render();

    const Program& p_;
    Prompt& prompt_;
    QPrinter& printer_;
    AskPrinter ask_;
    PrintForm form_;
    QLabel* lform_ = nullptr;
    SizeBox* nfrm_ = nullptr;
    QCheckBox* printAll_ = nullptr;
    QRadioButton* graphic_ = nullptr;
    QRadioButton* text_ = nullptr;
    QLabel* lbprn_ = nullptr;
};

// "&Print": the print dialog, modal over parent. Printing reads the tables only.
void ShowPrintWindow(const Program& p, Prompt& prompt, QPrinter& printer, QWidget* parent);

}  // namespace cam
