#include "widgets/link/port_window.h"

#include "core/model/startup.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"
#include "qt/qt_serial_port.h"
#include "qt/cp1252.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace cam {

SelPort::SelPort(Program& p, Prompt& prompt, std::vector<PortEntry> ports, QWidget* parent)
    : QDialog(parent), p_(p), prompt_(prompt), before_(p.Port()), choice_(p, std::move(ports)) {
    setObjectName("SelPort");
    setWindowTitle("Select Port");
    auto* label1 = new QLabel("PORT NR", this);
    label1->setObjectName("Label1");
    auto* label2 = new QLabel("BAUD RATE", this);
    label2->setObjectName("Label2");
    comSel_ = new QComboBox(this);
    comSel_->setObjectName("ComSel");
    // Adapters the system does not list (and pseudo-terminals) are typed in by path, network
    // ports as tcp://HOST:PORT or rfc2217://HOST:PORT.
    comSel_->setEditable(true);
    comSel_->setInsertPolicy(QComboBox::NoInsert);
    comSel_->setMinimumContentsLength(28);
    for (const PortEntry& e : choice_.ports()) comSel_->addItem(FromCp1252(e.caption));
    comBaud_ = new QComboBox(this);
    comBaud_->setObjectName("ComBaud");
    for (const char* s : PortChoice::kSpeeds) comBaud_->addItem(s);
    panset_ = new QLabel(this);
    panset_->setObjectName("Panset");
    const std::string warning = Text(p_, txt::kPortWarning);
    auto* lwarn = new QLabel(FromCp1252(warning), this);
    lwarn->setObjectName("Lwarn");
    lwarn->setWordWrap(true);
    auto* tok = new QPushButton("OK", this);
    tok->setObjectName("TOK");
    tok->setDefault(true);
    auto* tcl = new QPushButton("&EXIT", this);
    tcl->setObjectName("TCL");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(comSel_, 0, 1, 1, 2);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(comBaud_, 1, 1);
    grid->addWidget(panset_, 2, 0, 1, 3);
    grid->addWidget(lwarn, 3, 0, 1, 3);
    grid->addWidget(tok, 4, 1);
    grid->addWidget(tcl, 4, 2);

    connect(comSel_, &QComboBox::activated, this, [this](int i) {
        choice_.selectPort(i);
        render();
    });
    connect(comSel_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        takeTypedPort();
        render();
    });
    connect(comBaud_, &QComboBox::activated, this, [this](int i) {
        choice_.selectSpeed(i);
        render();
    });
    connect(tok, &QPushButton::clicked, this, &SelPort::confirm);
    connect(tcl, &QPushButton::clicked, this, [this] {
        takeTypedPort();
        reject();
    });
    connect(this, &QDialog::rejected, this, [this] {
        // EXIT, Escape or the close button: the choice holds for this run, the options keep theirs.
        if (p_.Port() != before_) KeepPortForThisRun(p_, before_);
    });
    render();
}

SelPort::~SelPort() { comSel_->lineEdit()->disconnect(this); }

void SelPort::takeTypedPort() {
    const QString text = comSel_->currentText().trimmed();
    if (!text.isEmpty()) choice_.typePort(ToCp1252(text));
}

void SelPort::render() {
    QSignalBlocker a(comSel_), b(comBaud_);
    if (choice_.portIndex() >= 0)
        comSel_->setCurrentIndex(choice_.portIndex());
    else
        comSel_->setEditText(FromCp1252(PortDisplayName(p_)));
    comBaud_->setCurrentIndex(choice_.speedIndex());
    comBaud_->setEnabled(choice_.speedApplies());
    panset_->setText(FromCp1252(choice_.settingsLine()));
}

void SelPort::confirm() {
    takeTypedPort();
    render();
    KeepPort(p_);
    // The choice holds for this run either way; the user learns when it was not kept.
    SaveOptions(p_, prompt_);
    accept();
}

bool ShowPortWindow(Program& p, Prompt& prompt, QWidget* parent) {
    SelPort window(p, prompt, SystemPorts(), parent);
    return window.exec() == QDialog::Accepted;
}

}  // namespace cam
