#include "widgets/tools/advance_window.h"

#include "paint/chart_painter.h"
#include "qt/cp1252.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace cam {

namespace {

// Design geometry in pixels.
constexpr int kWidth = 560;
constexpr int kHeight = 330;
constexpr int kBarsLeft = 12;  // inside the bars widget: cells 512 wide, scale labels below
constexpr int kBarWidth = 512;
constexpr int kBarHeight = 24;
constexpr int kBarPitch = 50;

// The two bar cells, the programmed pattern over the advanced one, each with its quarter marks.
class PatternBars : public QWidget {
public:
    PatternBars(const AdvanceForm& model, QWidget* parent) : QWidget(parent), model_(model) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        ChartPainter painter(g, 1.0, 1.0);
        const Revolution* patterns[2] = {&model_.programmed(), &model_.AdvPos()};
        static const char* const kMarks[] = {"0", "90", "180", "270", "360"};
        g.setFont(painter.Font("Arial", 8.25, false));
        g.setPen(Qt::black);
        for (int k = 0; k < 2; ++k) {
            const QRectF cell(kBarsLeft, kBarPitch * k, kBarWidth, kBarHeight);
            painter.DrawPatternCell(cell, patterns[k]->data(), chart_colour::kPatternBack, chart_colour::kPatternRun);
            for (int q = 0; q < 5; ++q) {
                const double x = kBarsLeft + q * kBarWidth / 4.0;
                g.drawText(QRectF(x - 20, cell.bottom() + 2, 40, 14), Qt::AlignHCenter | Qt::AlignTop, kMarks[q]);
            }
        }
    }

private:
    const AdvanceForm& model_;
};

template <class W>
W* Control(W* w, const char* name, const QRect& geometry) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, const QRect& geometry) {
    return Control(new QLabel(QString::fromLatin1(text), parent), name, geometry);
}

}  // namespace

CalcAnt::CalcAnt(const Program& p, QWidget* parent) : QDialog(parent), model_(p) {
    setObjectName("CalcAnt");
    setWindowTitle("ADVANCE COMPUTATION");
    setFixedSize(kWidth, kHeight);
    frC_ = Label(this, "FrC", "F00  C00", {20, 10, 160, 20});
    QFont bold = frC_->font();
    bold.setBold(true);
    frC_->setFont(bold);
    bars_ = Control(new PatternBars(model_, this), "Barra", {10, 36, kBarsLeft * 2 + kBarWidth, kBarPitch * 2});

    Label(this, "Label11", "R.P.M.", {20, 150, 170, 20});
    scrollRpm_ = Slider("ScrollRPM", 150, advance::kMinRpm, advance::kMaxRpm, 100);
    lRpm_ = Label(this, "LRpm", "0000", {470, 150, 70, 20});
    Label(this, "Label13", "ADVANCE (mSec.)", {20, 180, 170, 20});
    scrollAnt_ = Slider("ScrollAnt", 180, 0, advance::kMaxMs, 20);
    lAntImp_ = Label(this, "LAntImp", "000", {470, 180, 70, 20});
    Label(this, "Label15", "EFFECTIVE ADVANCE (DEG)", {20, 210, 170, 20});
    scrAntRis_ = Slider("ScrAntRis", 210, advance::kMinWanted, advance::kMaxWanted, 10);
    lAntRis_ = Label(this, "LAntRis", "000", {470, 210, 40, 20});
    Label(this, "Label16", "DEG", {512, 210, 40, 20});
    lGirAnt_ = Label(this, "LGirAnt", "0", {470, 240, 40, 20});
    Label(this, "Label14", "REV", {512, 240, 40, 20});
    auto* exit = Control(new QPushButton("&EXIT", this), "Command1", {440, 286, 100, 28});
    exit->setDefault(true);

    connect(scrollRpm_, &QScrollBar::valueChanged, this, [this](int v) {
        if (rendering_) return;
        model_.setRpm(v);
        Render();
    });
    connect(scrollAnt_, &QScrollBar::valueChanged, this, [this](int v) {
        if (rendering_) return;
        model_.setMs(v);
        Render();
    });
    connect(scrAntRis_, &QScrollBar::valueChanged, this, [this](int v) {
        if (rendering_) return;
        model_.setWanted(v);
        Render();
    });
    scrollAnt_->installEventFilter(this);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    Render();
}

QScrollBar* CalcAnt::Slider(const char* name, int y, int min, int max, int largeStep) {
    auto* s = Control(new QScrollBar(Qt::Horizontal, this), name, {200, y, 260, 18});
    s->setRange(min, max);
    s->setSingleStep(1);
    s->setPageStep(largeStep);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

// Entering the milliseconds slider takes the milliseconds a wanted advance needs.
bool CalcAnt::eventFilter(QObject* watched, QEvent* e) {
    if (watched == scrollAnt_ && e->type() == QEvent::FocusIn) {
        model_.focusMs();
        Render();
    }
    return QDialog::eventFilter(watched, e);
}

void CalcAnt::Render() {
    rendering_ = true;
    scrollRpm_->setValue(model_.rpm());
    scrollAnt_->setValue(model_.ms());
    scrAntRis_->setValue(model_.wanted());
    frC_->setText(FromCp1252(model_.frameText()));
    lRpm_->setText(FromCp1252(model_.rpmText()));
    lAntImp_->setText(FromCp1252(model_.msText()));
    lAntRis_->setText(FromCp1252(model_.withinText()));
    lGirAnt_->setText(FromCp1252(model_.turnsText()));
    bars_->update();
    rendering_ = false;
}

}  // namespace cam
