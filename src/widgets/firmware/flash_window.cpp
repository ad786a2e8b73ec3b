#include "widgets/firmware/flash_window.h"

#include "widgets/link/progress_bar_widget.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "qt/cp1252.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QPainter>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace cam {

namespace {

constexpr int kRows = 8;
constexpr int kMinWidth = 600;   // the address column and its value fit
constexpr int kMaxWidth = 1000;  // longer paths are shortened in the middle

QFont RowFont(int row) {
    QFont f("Courier New");
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPointSize(row == 1 ? 11 : 12);
    f.setBold(row != 1);
    return f;
}

}  // namespace

// The text rows, drawn at their pixel columns on white.
class FlashRowsWidget : public QWidget {
public:
    explicit FlashRowsWidget(QWidget* parent) : QWidget(parent) {
        setObjectName("Rows");
        setFixedSize(kMinWidth, kRows * kRowPitch + 4);
    }
    void setTexts(std::vector<PlacedText> texts) {
        texts_ = std::move(texts);
        // Wide enough for the longest row, within reason.
        int wanted = width();
        for (const PlacedText& t : texts_)
            wanted = std::max(wanted, t.x + QFontMetrics(RowFont(t.row)).horizontalAdvance(FromCp1252(t.text)) + 8);
        wanted = std::min(wanted, kMaxWidth);
        if (wanted > width()) setFixedWidth(wanted);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        for (const PlacedText& t : texts_) {
            painter.setFont(RowFont(t.row));
            const QRect area(t.x, (t.row - 1) * kRowPitch, width() - t.x, kRowPitch);
            const QString text = painter.fontMetrics().elidedText(FromCp1252(t.text), Qt::ElideMiddle, area.width());
            painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }

private:
    std::vector<PlacedText> texts_;
};

FlashWindow::FlashWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("UpdFlsh");
    setWindowTitle("Update PX32");
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    rows_ = new FlashRowsWidget(this);
    bar_ = new ProgressBarWidget(this);
    bar_->setObjectName("Barra");
    bar_->setFixedHeight(22);
    bar_->hide();
    lamp_ = new QWidget(this);
    lamp_->setObjectName("LedConn");
    lamp_->setFixedSize(22, 22);
    lamp_->setAutoFillBackground(true);
    lamp_->hide();

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bar_, 1);
    bottom->addWidget(lamp_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows_);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    render(screen_);
}

void FlashWindow::display(const FlashScreen& screen) {
    if (QThread::currentThread() == thread())
        render(screen);
    else
        QMetaObject::invokeMethod(
            this, [this, screen] { render(screen); }, Qt::QueuedConnection);
}

void FlashWindow::render(const FlashScreen& screen) {
    screen_ = screen;
    rows_->setTexts(ScreenTexts(screen));
    if (screen.percent >= 0) {
        if (screen.percent != bar_->percent() || !bar_->isVisibleTo(this)) bar_->setPercent(screen.percent);
    }
    if (screen.lamp != FlashScreen::Lamp::Hidden) {
        QPalette pal = lamp_->palette();
        // Pure green or pure red, as the lamp of the device's CTS line.
        pal.setColor(QPalette::Window, screen.lamp == FlashScreen::Lamp::Green ? QColor(0, 255, 0) : QColor(255, 0, 0));
        lamp_->setPalette(pal);
        lamp_->show();
    }
}

FlashOutcome RunFlashFile(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent,
                          const std::string& path) {
    // The exchange works on its own copy of the settings and texts; the tables stay untouched.
    Program scratch = LinkScratch(p);
    FlashOutcome outcome = FlashOutcome::FileRefused;
    FlashWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { outcome = FlashUpdate(scratch, link, path, window); }, &window);
    return outcome;
}

void RunFlashUpdate(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    const std::string path = ChooseFirmwareFile(p, screenPrompt);
    if (path.empty()) return;
    RunFlashFile(p, port, screenPrompt, parent, path);
}

}  // namespace cam
