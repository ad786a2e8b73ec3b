// The boxes of phase entry on the chart canvas.
#pragma once

#include <QLineEdit>

namespace cam {

// GRADION and GRADIOFF: four-character boxes that take digits only (every other character
// is typed as "0"); Enter and Tab commit the box. Focus changes caused by another window
// or a menu are not the user leaving the box, so they are not reported.
class PhaseBox : public QLineEdit {
    Q_OBJECT
public:
    explicit PhaseBox(QWidget* parent = nullptr);
signals:
    void keyTyped();   // any character typed, Enter and Tab included
    void committed();  // Enter or Tab
    void focusEntered();
    void focusLeft();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool selectOnPress_ = false;  // the focus came with a mouse press: select all after it
};

}  // namespace cam
