#include "widgets/ui/programmer_window.h"

#include "qt/cp1252.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace cam {

namespace {

QRadioButton* Option(const QString& name, const QString& caption, QWidget* parent, QLayout* layout) {
    auto* b = new QRadioButton(caption, parent);
    b->setObjectName(name);
    layout->addWidget(b);
    return b;
}

}  // namespace

Carprg::Carprg(Program& p, std::function<bool(Program&)> identify, std::function<std::string()> statusText,
               QWidget* parent)
    : QDialog(parent), p_(p), model_(p), identify_(std::move(identify)), statusText_(std::move(statusText)) {
    setObjectName("Carprg");
    setWindowTitle("SELECT KLM");

    auto* frPrg = new QGroupBox("CAMS KLM", this);
    frPrg->setObjectName("FrPrg");
    auto* camsLayout = new QVBoxLayout(frPrg);
    px_[0] = Option("O_PX0", "PX 16", frPrg, camsLayout);
    px_[1] = Option("O_PX1", "PX 32", frPrg, camsLayout);

    auto* selNF = new QGroupBox("SIZES", this);
    selNF->setObjectName("SelNF");
    auto* sizesLayout = new QVBoxLayout(selNF);
    f_[0] = Option("O_F0", "", selNF, sizesLayout);
    f_[1] = Option("O_F1", "", selNF, sizesLayout);

    auto* selNC = new QGroupBox("ENCODERS", this);
    selNC->setObjectName("SelNC");
    auto* encLayout = new QVBoxLayout(selNC);
    enc_[0] = Option("O_ENC0", "1 ENCODER", selNC, encLayout);
    enc_[1] = Option("O_ENC1", "2 ENCODERS", selNC, encLayout);
    enc_[2] = Option("O_ENC2", "3 ENCODERS", selNC, encLayout);

    auto* autSel = new QPushButton("&AutoSelect", this);
    autSel->setObjectName("AutSel");
    auto* okp = new QPushButton("OK", this);
    okp->setObjectName("OKP");
    okp->setDefault(true);
    auto* clear = new QPushButton("Clear", this);
    clear->setObjectName("Command2");
    labCom_ = new QLabel("Porta", this);
    labCom_->setObjectName("LabCom");

    auto* grid = new QGridLayout(this);
    grid->addWidget(frPrg, 0, 0);
    grid->addWidget(selNF, 0, 1);
    grid->addWidget(selNC, 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(autSel);
    buttons->addStretch();
    buttons->addWidget(clear);
    buttons->addWidget(okp);
    grid->addLayout(buttons, 1, 0, 1, 3);
    grid->addWidget(labCom_, 2, 0, 1, 3);

    for (int i = 0; i < 2; ++i) {
        connect(px_[i], &QRadioButton::clicked, this, [this, i] {
            model_.clickCams(i);
            render();
        });
        connect(f_[i], &QRadioButton::clicked, this, [this, i] {
            model_.clickSizes(i);
            render();
        });
    }
    for (int i = 0; i < 3; ++i)
        connect(enc_[i], &QRadioButton::clicked, this, [this, i] {
            model_.clickEncoders(i);
            render();
        });
    connect(autSel, &QPushButton::clicked, this, [this] {
        if (model_.autoSelect(identify_)) render();
    });
    // OK and Clear close alike; the selection is applied in done().
    connect(okp, &QPushButton::clicked, this, &QDialog::accept);
    connect(clear, &QPushButton::clicked, this, &QDialog::accept);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &Carprg::refreshStatus);
    timer_->start();

    render();
    refreshStatus();
}

void Carprg::render() {
    for (int i = 0; i < 2; ++i) {
        px_[i]->setChecked(model_.camsIndex() == i);
        f_[i]->setText(QString::fromStdString(model_.sizeCaption(i)));
        f_[i]->setChecked(model_.sizesIndex() == i);
    }
    for (int i = 0; i < 3; ++i) {
        enc_[i]->setEnabled(model_.encoderEnabled(i));
        enc_[i]->setChecked(model_.encoderSelected(i));
    }
}

void Carprg::refreshStatus() {
    const std::string text = statusText_ ? statusText_() : PortStatusText(p_, false);
    labCom_->setText(FromCp1252(text));
}

void Carprg::done(int result) {
    if (!closed_) {
        closed_ = true;
        timer_->stop();
        model_.close();
    }
    QDialog::done(result);
}

void CarprgChooser::chooseModel(Program& p) {
    Carprg window(p, identify_, statusText_, parent_);
    window.exec();
}

}  // namespace cam
