#include "widgets/ui/info_window.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTimer>

namespace cam {

INTESTA::INTESTA(Program& p, Prompt& prompt, QWidget* parent, std::function<bool(const QUrl&)> openUrl)
    : QDialog(parent), p_(p), prompt_(prompt), openUrl_(std::move(openUrl)) {
    if (!openUrl_) openUrl_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setObjectName("INTESTA");
    setWindowTitle("CAMS PROGRAMMER INTERFACE");
    // Placed by hand at the design size; the resizer keeps the proportions.
    resize(420, 240);

    // The programmer, drawn from its picture finer than shown, so that it stays sharp as the
    // window grows.
    auto* image = new QLabel(this);
    image->setObjectName("Image2");
    image->setGeometry(20, 20, 120, 120);
    image->setScaledContents(true);
    QPixmap picture(480, 480);
    picture.fill(Qt::transparent);
    QPainter g(&picture);
    QSvgRenderer(QStringLiteral(":/pictures/programmer.svg")).render(&g);
    g.end();
    image->setPixmap(picture);

    auto* title = new QLabel("CAMS PROGRAMMER INTERFACE", this);
    title->setObjectName("Label1");
    title->setGeometry(160, 30, 240, 24);
    version_ = new QLabel(this);
    version_->setObjectName("Label2");
    version_->setGeometry(160, 70, 240, 24);

    auto button = [this](const char* name, const char* caption, int x, int y) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(x, y, 90, 28);
        b->setAutoDefault(false);
        return b;
    };
    connect(button("Command3", "HELP", 20, 190), &QPushButton::clicked, this, &INTESTA::openManual);
    connect(button("Command2", "Internet", 120, 190), &QPushButton::clicked, this, &INTESTA::openWeb);
    connect(button("Command1", "eMail", 220, 190), &QPushButton::clicked, this, &INTESTA::openMail);
    auto* ok = button("T_OK", "OK", 320, 190);
    ok->setVisible(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    resizer_.setSourceForm(this);
}

void INTESTA::showEvent(QShowEvent* e) {
    version_->setText(QString::fromStdString(kVersionText));
    QDialog::showEvent(e);
}

void INTESTA::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    resizer_.ResizeControls();
}

void INTESTA::openManual() {
    const std::string found = ManualPath(p_, exeDir_);
    if (found.empty()) return;  // no manual installed: nothing to do
    const QString path = QFile::decodeName(QByteArray::fromStdString(found));
    if (!openUrl_(QUrl::fromLocalFile(path))) {
        // No program is associated with the manual's type.
        prompt_.message("ERROR 31", "", Buttons::Ok, Icon::None);
        return;
    }
    // The viewer takes a moment to appear; input waits for it instead of opening it twice.
    setEnabled(false);
    QTimer::singleShot(1000, this, [this] { setEnabled(true); });
}

void INTESTA::openWeb() { openUrl_(QUrl(kMakerWeb)); }
void INTESTA::openMail() { openUrl_(QUrl(kMakerMail)); }

}  // namespace cam
