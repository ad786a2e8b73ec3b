#include "widgets/editor/history_window.h"

#include "core/model/texts.h"
#include "qt/cp1252.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace cam {

HistoryWindow::HistoryWindow(Program& p, CamDocument& doc, std::function<void()> showState, QWidget* parent)
    : QDialog(parent), p_(p), form_(p, doc), showState_(std::move(showState)) {
    setObjectName("History");
    setWindowTitle(FromCp1252(Text(p_, txt::kHistoryTitle)));
    resize(360, 352);
    hint_ = new QLabel(FromCp1252(Text(p_, txt::kHistoryHint)), this);
    hint_->setObjectName("LabHint");
    hint_->setWordWrap(true);
    hint_->setGeometry(10, 6, 340, 36);
    list_ = new QListWidget(this);
    list_->setObjectName("LstHistory");
    list_->setUniformItemSizes(true);
    list_->setGeometry(10, 46, 340, 240);
    QFont mono(QStringLiteral("Courier New"));
    mono.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    mono.setStyleHint(QFont::TypeWriter);
    mono.setPointSizeF(9);
    list_->setFont(mono);
    reach_ = new QLabel(this);
    reach_->setObjectName("LabReach");
    reach_->setGeometry(10, 290, 340, 20);
    restore_ = new QPushButton(FromCp1252(Text(p_, txt::kHistoryRestore)), this);
    restore_->setObjectName("CmdRestore");
    restore_->setGeometry(10, 316, 110, 28);
    close_ = new QPushButton(FromCp1252(Text(p_, txt::kHistoryClose)), this);
    close_->setObjectName("CmdClose");
    close_->setGeometry(240, 316, 110, 28);
    for (QPushButton* b : {restore_, close_}) b->setAutoDefault(false);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row == form_.selectedRow()) return;
        form_.Select(row);
        Render();
        showState_();
    });
    connect(restore_, &QPushButton::clicked, this, [this] {
        if (form_.Restore()) Fill();
        Render();
        showState_();
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    Fill();
    Render();
    resizer_.setSourceForm(this);
}

void HistoryWindow::Fill() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string& row : form_.Rows()) list_->addItem(FromCp1252(row));
    // The present state stands out; it is where the list opens.
    if (QListWidgetItem* present = list_->item(form_.presentRow())) {
        QFont bold = list_->font();
        bold.setBold(true);
        present->setFont(bold);
    }
    list_->setCurrentRow(form_.selectedRow() >= 0 ? form_.selectedRow() : form_.presentRow());
    list_->scrollToItem(list_->currentItem());
    reach_->setText(FromCp1252(form_.ReachText()));
}

void HistoryWindow::Render() { restore_->setEnabled(form_.restoreEnabled()); }

void HistoryWindow::done(int result) {
    form_.Close();
    showState_();
    QDialog::done(result);
}

void HistoryWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    resizer_.ResizeControls();
}

}  // namespace cam
