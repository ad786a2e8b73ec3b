// The size show ("SIZE SHOW", "&Rotate Demo"): a hand turns on a dial while a lamp per cam
// lights whenever that cam is ON at the hand's position. A timer brings the steps (the
// window stays responsive and the processor idle between them); SizeShow decides them.
// The size scroll bar changes CurSize; a double click on a cam number chooses that cam
// (CurCam) and closes the window.
#pragma once

#include "core/model/program.h"
#include "core/tools/size_show.h"
#include "widgets/ui/qt_resizer.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <vector>

class QLabel;
class QPushButton;
class QScrollBar;

namespace cam {

// CERCHIO: the dial, white, with the hand of a position in dark red.
class ShowDialWidget : public QWidget {
    Q_OBJECT
public:
    explicit ShowDialWidget(QWidget* parent = nullptr) : QWidget(parent) {}
    void setPosition(int position);
    int position() const { return position_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int position_ = 0;
};

// Shape1(i): a round lamp, light red when lit, black otherwise.
class ShowLampWidget : public QWidget {
    Q_OBJECT
public:
    static const QColor kLit;
    static const QColor kDark;
    explicit ShowLampWidget(QWidget* parent = nullptr) : QWidget(parent) {}
    void setLit(bool lit);
    bool lit() const { return lit_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool lit_ = false;
};

class SizeShowWindow : public QDialog {
    Q_OBJECT
public:
    explicit SizeShowWindow(Program& p, QWidget* parent = nullptr);

    // The hand and the lamps at a position, the run stopped there (the next START goes on from it).
    void SetPosition(int position);
    const SizeShow& run() const { return run_; }
    // What the step timer does when elapsedMs have passed since its last tick.
    void Advance(double elapsedMs);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void done(int result) override;

private:
    void start();
    void stop();
    void sizeChanged(int size);
    void showSpeed();
    void render();

    Program& p_;
    SizeShow run_;
    ShowDialWidget* dial_ = nullptr;
    std::vector<ShowLampWidget*> lamps_;
    std::vector<QLabel*> numbers_;
    QScrollBar* sizeBar_ = nullptr;
    QScrollBar* speedBar_ = nullptr;
    QLabel* sizeNumber_ = nullptr;
    QLabel* speed_ = nullptr;
    QLabel* position_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QTimer stepTimer_;
    QTimer speedTimer_;
    QElapsedTimer sinceStep_;
    QElapsedTimer sinceSpeed_;
    ClsResize resizer_;
};

// "&Rotate Demo": the size show, modal over parent.
void ShowSizeShowWindow(Program& p, QWidget* parent);

}  // namespace cam
