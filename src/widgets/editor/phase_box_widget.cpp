#include "widgets/editor/phase_box_widget.h"

#include "core/editor/phase_editing.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpressionValidator>

namespace cam {

PhaseBox::PhaseBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(4);
    setText("0000");
    // Keys are filtered below; the validator keeps pasted text to digits as well.
    setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), this));
}

bool PhaseBox::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            emit keyTyped();
            emit committed();
            return true;
        }
    }
    // Ctrl shortcuts belong to the menus (Ctrl+Z is Undo of the phase, not of the box text).
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() & Qt::ControlModifier) {
            e->ignore();
            return false;
        }
    }
    return QLineEdit::event(e);
}

void PhaseBox::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit keyTyped();
        emit committed();
        return;
    }
    if (e->modifiers() & Qt::ControlModifier) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QString t = e->text();
    const bool character = e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Escape ||
                           (!t.isEmpty() && e->key() != Qt::Key_Delete && t.at(0).isPrint());
    if (!character) {
        QLineEdit::keyPressEvent(e);  // cursor keys, Delete
        return;
    }
    const int ch = e->key() == Qt::Key_Backspace ? 8 : e->key() == Qt::Key_Escape ? 27 : t.at(0).unicode();
    const BoxKey k = FilterBoxKey(ch);
    emit keyTyped();
    if (k.kind == BoxKey::Insert) insert(QString(QChar(k.ch)));
}

namespace {
// Focus taken by another window or by an open menu comes back unchanged: not a leave.
bool UserMove(Qt::FocusReason r) { return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason; }
}  // namespace

void PhaseBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // The press that gave the focus would place the cursor and drop the selection made on
    // entry, and digits typed into the full box would then be refused without a sign.
    selectOnPress_ = e->reason() == Qt::MouseFocusReason;
    if (UserMove(e->reason())) emit focusEntered();
}

void PhaseBox::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (selectOnPress_) {
        selectOnPress_ = false;
        selectAll();
    }
}

void PhaseBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (UserMove(e->reason())) emit focusLeft();
}

}  // namespace cam
