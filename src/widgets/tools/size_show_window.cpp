#include "widgets/tools/size_show_window.h"

#include "core/model/text_format.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

namespace cam {

// ---- dial and lamps --------------------------------------------------------------------

void ShowDialWidget::setPosition(int position) {
    if (position == position_) return;
    position_ = position;
    update();
}

void ShowDialWidget::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height());
    const QRectF circle(0.5, 0.5, side - 1, side - 1);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    g.drawEllipse(circle);
    // Centre and radius as whole numbers, the hand from the centre to its end.
    const int cx = side / 2;
    const int cy = side / 2;
    const double r = (side - 1) / 2;
    const HandEnd end = ShowHandEnd(cx, cy, r, position_);
    g.setPen(QPen(QColor(128, 0, 0), std::max(2.0, side / 64.0), Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(cx, cy), QPointF(end.x, end.y));
}

const QColor ShowLampWidget::kLit{255, 0, 0};
const QColor ShowLampWidget::kDark{0, 0, 0};

void ShowLampWidget::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    update();
}

void ShowLampWidget::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(96, 96, 96), 1));
    g.setBrush(lit_ ? kLit : kDark);
    const int side = std::min(width(), height());
    g.drawEllipse(QRectF((width() - side) / 2.0 + 0.5, (height() - side) / 2.0 + 0.5, side - 1, side - 1));
}

// ---- the window ------------------------------------------------------------------------

namespace {

constexpr int kLampsPerRow = 16;

template <class W>
W* Place(W* w, const char* name, int x, int y, int width, int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(x, y, width, height);
    return w;
}

QLabel* Display(QWidget* parent, const char* name, int x, int y, int width) {
    auto* l = Place(new QLabel(parent), name, x, y, width, 22);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setFont(QFont(QStringList{"Courier New", "Liberation Mono"}, 10, QFont::Bold));
    return l;
}

// The timer's period for the screen the window is on.
int FrameMs(const QWidget* w) {
    const QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const double hz = s && s->refreshRate() > 1 ? s->refreshRate() : 60;
    return std::max(1, int(std::lround(1000 / hz)));
}

}  // namespace

SizeShowWindow::SizeShowWindow(Program& p, QWidget* parent) : QDialog(parent), p_(p), run_(p.ShowSavedPos) {
    setObjectName("SizeShow");
    setWindowTitle("SIZE SHOW");
    resize(640, 250);
    dial_ = Place(new ShowDialWidget(this), "CERCHIO", 16, 16, 128, 128);
    position_ = Display(this, "Vgradi", 40, 152, 80);
    for (int i = 0; i < kMaxCams; ++i) {
        const int x = 160 + 24 * (i % kLampsPerRow);
        const int y = 20 + 44 * (i / kLampsPerRow);
        const QByteArray n = QByteArray::number(i + 1);
        lamps_.push_back(Place(new ShowLampWidget(this), ("Shape1_" + n).constData(), x + 3, y, 16, 16));
        auto* number = Place(new QLabel(QString::number(i + 1), this), ("Label1_" + n).constData(), x, y + 17, 22, 16);
        number->setAlignment(Qt::AlignCenter);
        number->installEventFilter(this);
        numbers_.push_back(number);
    }
    Place(new QLabel("SPEED RPM", this), "Label3", 160, 112, 120, 18);
    speedBar_ = Place(new QScrollBar(Qt::Horizontal, this), "ScrolVel", 160, 132, 300, 18);
    speedBar_->setRange(0, size_show::kSpeedMax);
    speedBar_->setSingleStep(10);
    speedBar_->setPageStep(100);
    speedBar_->setValue(size_show::kSpeedStart);
    speed_ = Display(this, "lVeloc", 470, 130, 64);
    speed_->setText(QString::fromStdString(D4(0)));
    auto* sizeCaption = Place(new QLabel("SIZE SELECT", this), "Label2", 548, 4, 88, 18);
    sizeCaption->setAlignment(Qt::AlignCenter);
    sizeBar_ = Place(new QScrollBar(Qt::Vertical, this), "VScrForm", 583, 26, 18, 120);
    sizeNumber_ = Display(this, "LNFor", 568, 152, 48);
    startButton_ = Place(new QPushButton("&START", this), "Strt", 160, 200, 100, 30);
    stopButton_ = Place(new QPushButton("S&TOP", this), "Stp", 270, 200, 100, 30);
    auto* close = Place(new QPushButton("&Close", this), "Command1", 520, 200, 100, 30);
    for (QPushButton* b : {startButton_, stopButton_, close}) b->setAutoDefault(false);

    // A size outside the model (none chosen yet) starts the show at size 1.
    p_.CurSize = std::clamp(p_.CurSize, 1, std::max(1, p_.NSizes));
    sizeBar_->setRange(1, std::max(1, p_.NSizes));
    sizeBar_->setValue(p_.CurSize);
    for (int i = 0; i < kMaxCams; ++i) {
        lamps_[i]->setVisible(i < p_.NCams);
        numbers_[i]->setVisible(i < p_.NCams);
    }

    stepTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, [this] { Advance(double(sinceStep_.restart())); });
    speedTimer_.setInterval(1000);
    connect(&speedTimer_, &QTimer::timeout, this, &SizeShowWindow::showSpeed);
    connect(sizeBar_, &QScrollBar::valueChanged, this, &SizeShowWindow::sizeChanged);
    connect(speedBar_, &QScrollBar::valueChanged, this, [this](int speed) {
        if (stepTimer_.isActive()) stepTimer_.setInterval(ShowTickMs(speed, FrameMs(this)));
    });
    connect(startButton_, &QPushButton::clicked, this, &SizeShowWindow::start);
    connect(stopButton_, &QPushButton::clicked, this, &SizeShowWindow::stop);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resizer_.setSourceForm(this);
    render();
}

void SizeShowWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    resizer_.ResizeControls();
}

void SizeShowWindow::SetPosition(int position) {
    if (run_.running()) stop();
    run_.SetPosition(position);
    p_.ShowSavedPos = run_.position();
    render();
}

void SizeShowWindow::render() {
    const int pos = run_.position();
    dial_->setPosition(pos);
    position_->setText(QString::fromStdString(D4(pos)));
    sizeNumber_->setText(QString::fromStdString(D2(p_.CurSize)));
    // Lamps of cams beyond the model stay as they are (hidden).
    const std::vector<bool> lit = ShowLampsAt(p_, p_.CurSize, pos);
    for (std::size_t c = 0; c < lit.size() && c < lamps_.size(); ++c) lamps_[c]->setLit(lit[c]);
    startButton_->setEnabled(!run_.running());
}

void SizeShowWindow::Advance(double elapsedMs) {
    if (!run_.running()) return;
    run_.Tick(elapsedMs, speedBar_->value());
    render();
}

void SizeShowWindow::start() {
    if (run_.running()) return;
    run_.Start();
    run_.TakeSteps();
    sinceStep_.start();
    sinceSpeed_.start();
    stepTimer_.start(ShowTickMs(speedBar_->value(), FrameMs(this)));
    speedTimer_.start();
    render();
}

void SizeShowWindow::stop() {
    if (!run_.running()) return;
    run_.Stop();
    stepTimer_.stop();
    speedTimer_.stop();
    p_.ShowSavedPos = run_.position();
    speed_->setText(QString::fromStdString(D4(0)));  // nothing turns while stopped
    render();
}

void SizeShowWindow::showSpeed() {
    speed_->setText(QString::fromStdString(ShowRpmText(run_.TakeSteps(), double(sinceSpeed_.restart()))));
}

void SizeShowWindow::sizeChanged(int size) {
    p_.CurSize = size;
    render();  // while running, the lamps follow the new size
}

bool SizeShowWindow::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        for (std::size_t i = 0; i < numbers_.size(); ++i) {
            if (watched != numbers_[i]) continue;
            p_.CurCam = static_cast<int>(i);  // the cam of lamp i + 1
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

// However the window closes, a run stops and keeps its position for the next opening.
void SizeShowWindow::done(int result) {
    stop();
    QDialog::done(result);
}

void ShowSizeShowWindow(Program& p, QWidget* parent) {
    SizeShowWindow window(p, parent);
    window.exec();
}

}  // namespace cam
