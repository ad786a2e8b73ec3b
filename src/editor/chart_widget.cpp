#include "editor/chart_widget.h"

#include "editor/captions.h"
#include "editor/chart_painter.h"
#include "editor/phase_editing.h"
#include "editor/phase_list.h"
#include "qt/cp1252.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <cmath>

namespace cam {

// ---- PhaseBox -------------------------------------------------------------------------

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

// ---- ChartWidget ----------------------------------------------------------------------

namespace {
QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
}  // namespace

ChartWidget::ChartWidget(Program& p, QWidget* parent) : QWidget(parent), p_(p) {
    setObjectName("Chart");
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    heading_ = MakeLabel(this, "LGrad", "ON    DEG  OFF");
    on_ = new PhaseBox(this);
    on_->setObjectName("GRADION");
    off_ = new PhaseBox(this);
    off_->setObjectName("GRADIOFF");
    off_->setEnabled(false);
    listHeading_ = MakeLabel(this, "LGrONOF", "DEG ON  OFF");
    list_ = new QListWidget(this);
    list_->setObjectName("Fase");
    list_->setUniformItemSizes(true);  // hundreds of phases are listed without measuring each
    list_->addItem("F000 0000 0000");
    count_ = MakeLabel(this, "Tot_fasi", "PHASES");
    for (QWidget* w : {static_cast<QWidget*>(heading_), static_cast<QWidget*>(on_), static_cast<QWidget*>(off_)})
        w->hide();
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit entryClicked(ToCp1252(item->text())); });
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit entryDoubleClicked(ToCp1252(item->text())); });
    resize(chart::kWidth, chart::kHeight);
    layoutChildren();
}

double ChartWidget::scaleX() const { return width() / double(chart::kWidth); }
double ChartWidget::scaleY() const { return height() / double(chart::kHeight); }

void ChartWidget::layoutChildren() {
    const double sx = scaleX();
    const double sy = scaleY();
    auto place = [&](QWidget* w, const QRectF& d, const char* family, double points, bool bold) {
        w->setGeometry(QRectF(d.x() * sx, d.y() * sy, d.width() * sx, d.height() * sy).toRect());
        QFont f(QString::fromLatin1(family));
        f.setBold(bold);
        f.setPointSizeF(std::max(1.0, points * sx));
        w->setFont(f);
    };
    place(heading_, chart::kBoxHeading, "Courier New", 9, true);
    place(on_, chart::kOnBox, "Arial", 9.75, false);
    place(off_, chart::kOffBox, "Arial", 9.75, false);
    place(listHeading_, chart::kListHeading, "Courier New", 9, true);
    place(list_, chart::kList, "Courier New", 9.75, false);
    place(count_, chart::kCount, "Courier New", 9, true);
}

void ChartWidget::resizeEvent(QResizeEvent*) { layoutChildren(); }

void ChartWidget::paintEvent(QPaintEvent* e) {
    QPainter g(this);
    g.setClipRegion(e->region());
    ChartPainter(g, scaleX(), scaleY()).DrawChartIn(p_, e->rect(), leftPressed_, rightPressed_);
}

void ChartWidget::fillPhaseList() {
    const auto entries = PhaseListEntries(p_, p_.CurSize, p_.CurCam);
    list_->clear();
    for (const std::string& e : entries) list_->addItem(FromCp1252(e));
    count_->setText(FromCp1252(PhaseCountCaption(p_, static_cast<int>(entries.size()))));
}

void ChartWidget::RedrawChart() {
    fillPhaseList();
    update();
}

void ChartWidget::DrawCamRow(int cam) {
    if (cam == p_.CurCam) fillPhaseList();
    // Only that row is painted again.
    const QRectF row = chart::RowLabel(cam).united(chart::Band(cam)).united(chart::Remark(cam));
    update(QRectF(row.x() * scaleX(), row.y() * scaleY(), row.width() * scaleX(), row.height() * scaleY())
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

QString ChartWidget::sizeCaption() const { return FromCp1252(SizeCaption(p_)); }
QString ChartWidget::camCaption() const { return FromCp1252(CamCaption(p_)); }

void ChartWidget::showBoxes(bool shown) {
    heading_->setVisible(shown);
    on_->setVisible(shown);
    off_->setVisible(shown);
}

namespace {
QPoint Centre(const QRectF& d, double sx, double sy) {
    return QPointF((d.x() + d.width() / 2) * sx, (d.y() + d.height() / 2) * sy).toPoint();
}
}  // namespace

QPoint ChartWidget::camLabelPoint(int row) const {
    return Centre(QRectF(2, chart::RowLabel(row).y(), 12, chart::kLabelHeight), scaleX(), scaleY());
}
QPoint ChartWidget::remarkPoint(int row) const { return Centre(chart::Remark(row), scaleX(), scaleY()); }
QPoint ChartWidget::sizeCaptionPoint() const { return Centre(chart::kSizeCaption, scaleX(), scaleY()); }
QPoint ChartWidget::spinnerPoint(bool right) const {
    const QRectF s = chart::kSpinner;
    return Centre(QRectF(s.x() + (right ? s.width() * 0.75 : s.width() * 0.25), s.y(), 0, s.height()), scaleX(),
                  scaleY());
}

ChartWidget::Target ChartWidget::hit(QPointF pos, int* row) const {
    const QPointF d(pos.x() / scaleX(), pos.y() / scaleY());  // back to design pixels
    if (chart::kSpinner.contains(d)) return Target::Spinner;
    if (chart::kSizeCaption.contains(d)) return Target::SizeCaption;
    const int rows = std::clamp(p_.NCams, 0, chart::kRows);
    for (int i = rows - 1; i >= 0; --i) {  // rows overlap by a pixel: the lower row is on top
        if (chart::Remark(i).contains(d)) {
            *row = i;
            return Target::Remark;
        }
        if (chart::RowLabel(i).contains(d)) {
            *row = i;
            return Target::CamLabel;
        }
    }
    return Target::None;
}

void ChartWidget::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    int row = -1;
    const Target t = hit(e->position(), &row);
    // A row is chosen on the press: the second press of a double click arrives as the
    // double click itself, so a double click selects once and then opens.
    if (t == Target::CamLabel || t == Target::Remark) {
        emit camClicked(row);
        return;
    }
    if (t != Target::Spinner) return;
    const double x = e->position().x() / scaleX() - chart::kSpinner.x();
    const bool right = x >= chart::kSpinner.width() / 2;
    (right ? rightPressed_ : leftPressed_) = true;
    update();
    emit spinnerPressed(right ? +1 : -1);
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (leftPressed_ || rightPressed_) {
        leftPressed_ = rightPressed_ = false;
        update();
        return;
    }
    int row = -1;
    const Target t = hit(e->position(), &row);
    if (e->button() == Qt::RightButton && t == Target::CamLabel)
        emit camRightClicked(row, e->globalPosition().toPoint());
    else if (e->button() == Qt::RightButton && t == Target::SizeCaption)
        emit sizeCaptionRightClicked(e->globalPosition().toPoint());
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    int row = -1;
    const Target t = hit(e->position(), &row);
    if (e->button() != Qt::LeftButton) return;
    if (t == Target::Spinner) {
        mousePressEvent(e);  // each press of a quick pair steps the size
        return;
    }
    if (t == Target::CamLabel)
        emit camDoubleClicked(row);
    else if (t == Target::Remark)
        emit remarkDoubleClicked(row);
    else if (t == Target::SizeCaption)
        emit sizeCaptionDoubleClicked();
}

}  // namespace cam
