#include "widgets/messages/message_modify_window.h"

#include "core/messages/message_file.h"
#include "core/messages/message_list_commands.h"
#include "qt/cp1252.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QValidator>

namespace cam {

namespace {

// What the device cannot show is refused while typing.
class Cp1252Only : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override { return IsCp1252(input) ? Acceptable : Invalid; }
};

QLabel* DisplayRow(const char* name, QWidget* parent) {
    auto* row = new QLabel(QStringLiteral("12345678901234567890"), parent);
    row->setObjectName(name);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(14);
    row->setFont(font);
    row->setAutoFillBackground(true);
    QPalette pal = row->palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::cyan);
    row->setPalette(pal);
    row->setMargin(2);
    // Room for the twenty characters however wide the font is here.
    row->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QString(kMsgRowLength, 'W')) + 8);
    return row;
}

}  // namespace

MsgModifyWindow::MsgModifyWindow(const std::string& text, int index, QWidget* parent) : QDialog(parent) {
    setObjectName("MsgModify");
    setWindowTitle(kMsgModifyCaption);
    ltx_ = new QLabel(FromCp1252(MsgModifyLabel(kMsgModifyLabel, index)), this);
    ltx_->setObjectName("ltx");
    QFont arial("Arial");
    arial.setBold(true);
    ltx_->setFont(arial);
    text1_ = new QLineEdit(this);
    text1_->setObjectName("Text1");
    text1_->setMaxLength(kMsgTextLength);
    text1_->setValidator(new Cp1252Only(text1_));
    QFont courier("Courier New");
    courier.setStyleHint(QFont::Monospace);
    text1_->setFont(courier);
    text1_->setMinimumWidth(QFontMetrics(courier).horizontalAdvance(QString(kMsgTextLength, 'W')) + 12);
    row1_ = DisplayRow("row1", this);
    row2_ = DisplayRow("row2", this);
    auto* kok = new QPushButton("&OK", this);
    kok->setObjectName("kok");
    kok->setDefault(true);
    auto* kcl = new QPushButton("&Clear", this);
    kcl->setObjectName("kcl");

    auto* grid = new QGridLayout(this);
    grid->addWidget(ltx_, 0, 0, 1, 2);
    grid->addWidget(text1_, 1, 0, 1, 2);
    grid->addWidget(row1_, 2, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(row2_, 3, 0, 1, 2, Qt::AlignHCenter);
    grid->addWidget(kok, 4, 0);
    grid->addWidget(kcl, 4, 1);

    const auto [first, second] = MsgPreviewRows(text);
    row1_->setText(FromCp1252(first));
    row2_->setText(FromCp1252(second));
    text1_->setText(FromCp1252(text.substr(0, kMsgTextLength)));
    connect(text1_, &QLineEdit::textChanged, this, &MsgModifyWindow::preview);
    text1_->installEventFilter(this);
    connect(kok, &QPushButton::clicked, this, &QDialog::accept);
    connect(kcl, &QPushButton::clicked, this, &QDialog::reject);
}

std::string MsgModifyWindow::typed() const { return ToCp1252(text1_->text()); }

void MsgModifyWindow::preview() {
    const auto [first, second] = MsgPreviewRows(typed());
    row1_->setText(FromCp1252(first));
    row2_->setText(FromCp1252(second));
}

bool MsgModifyWindow::eventFilter(QObject* watched, QEvent* e) {
    // The whole text is selected whenever the box gets the focus; after the click that gave
    // it the focus has placed the cursor.
    if (watched == text1_ && e->type() == QEvent::FocusIn)
        QTimer::singleShot(0, text1_, [box = text1_] { box->selectAll(); });
    return QDialog::eventFilter(watched, e);
}

void MsgModifyWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    text1_->setFocus();
    text1_->selectAll();
}

std::optional<std::string> ModifyMessage(const std::string& text, int index, QWidget* parent) {
    MsgModifyWindow window(text, index, parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.typed();
}

}  // namespace cam
