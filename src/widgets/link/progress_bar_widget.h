// DrawProgress: the progress bar of the transfer windows. The percentage is printed in blue
// in the middle of a white area and the blue bar grows over it, the text under the bar
// showing inverted (white on blue).
#pragma once

#include <QWidget>

class QPainter;

namespace cam {

// Paints the bar for percent (clamped to 0..100) into area: the one drawing routine for the
// widget and for tests.
void DrawProgress(QPainter& painter, const QRect& area, int percent);

class ProgressBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBarWidget(QWidget* parent = nullptr);
    int percent() const { return percent_; }
    // Shows the widget and redraws it at percent.
    void setPercent(int percent);
    QSize sizeHint() const override { return {200, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
};

}  // namespace cam
