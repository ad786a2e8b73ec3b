#include "widgets/link/progress_bar_widget.h"

#include <QPainter>

#include <algorithm>

namespace cam {

void DrawProgress(QPainter& painter, const QRect& area, int percent) {
    percent = std::clamp(percent, 0, 100);
    const QColor blue(0, 0, 255);
    const QString text = QString::number(percent) + "%";
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setPen(blue);
    painter.drawText(area, Qt::AlignCenter, text);
    const QRect bar(area.left(), area.top(), area.width() * percent / 100, area.height());
    // The bar inverts what it covers: blue over white, white over the blue text.
    painter.fillRect(bar, blue);
    painter.setClipRect(bar);
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter, text);
    painter.restore();
}

ProgressBarWidget::ProgressBarWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("Barra");
    setMinimumSize(60, 16);
}

void ProgressBarWidget::setPercent(int percent) {
    percent_ = std::clamp(percent, 0, 100);
    setVisible(true);
    update();
}

void ProgressBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawProgress(painter, rect(), percent_);
}

}  // namespace cam
