#include "widgets/editor/chart_widget.h"

#include "core/model/text_format.h"
#include "core/editor/cam_drag.h"
#include "core/editor/captions.h"
#include "paint/chart_painter.h"
#include "core/editor/phase_list.h"
#include "qt/cp1252.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace cam {

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
    readoutLabel_ = MakeLabel(this, "LabPos", "0000");
    readoutLabel_->hide();
    setMouseTracking(true);  // the position readout follows the mouse without a button
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
        QFont f = DesignFamily(family);
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
    place(readoutLabel_, chart::kReadout, "Courier New", 9, true);
}

void ChartWidget::resizeEvent(QResizeEvent*) { layoutChildren(); }

void ChartWidget::paintEvent(QPaintEvent* e) {
    QPainter g(this);
    g.setClipRegion(e->region());
    ChartPainter(g, scaleX(), scaleY()).DrawChartIn(p_, e->rect(), leftPressed_, rightPressed_);
    if (guideX_ >= 0) {
        const QRect r = guideRect(guideX_);
        g.setPen(QPen(chart_colour::kGuide, 1));
        g.drawLine(guideX_, r.top(), guideX_, r.bottom());
    }
}

void ChartWidget::fillPhaseList() {
    const auto entries = PhaseListEntries(p_, p_.CurSize, p_.CurCam);
    QStringList items;
    items.reserve(qsizetype(entries.size()));
    for (const std::string& e : entries) items.push_back(FromCp1252(e));
    list_->clear();
    list_->addItems(items);  // at once: one layout of the list, not one an entry
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
    // On the band of the cam open for editing the press may begin a drag: it is a click
    // only when the button comes up before the mouse moved 4 pixels.
    if (t == Target::CamLabel && overDragBand(e->position(), row)) {
        pressPending_ = true;
        pressAt_ = e->position();
        pressRow_ = row;
        return;
    }
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
    if (dragging_ && e->button() != Qt::LeftButton) return;  // another button during a drag: no menu
    if (e->button() == Qt::LeftButton && dragging_) {
        emit dragMoved(BoundaryAt(bandSpan(), e->position().x()), e->modifiers() & Qt::ShiftModifier,
                       e->globalPosition().toPoint());
        endDrag();
        emit dragFinished();
        showReadout(e->position().x(), e->position().y());
        return;
    }
    if (e->button() == Qt::LeftButton && pressPending_) {
        pressPending_ = false;
        emit camClicked(pressRow_);  // it never moved 4 pixels: the click it always was
        return;
    }
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
    pressPending_ = false;
    if (dragging_) return;
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

// ---- Drag and position readout ----------------------------------------------------------

namespace {
constexpr double kDragThreshold = 4;  // pixels a press moves before it is a drag
constexpr int kGripPixels = 3;        // how near an end of a bar a press takes that end
}  // namespace

BandSpan ChartWidget::bandSpan() const { return BandSpanOf(chart::kBandLeft * scaleX(), chart::kBandWidth * scaleX()); }

int ChartWidget::gripReach() const { return kGripPixels * PositionsPerPixel(bandSpan()); }

QPoint ChartWidget::positionPoint(int row, int position) const {
    const BandSpan b = bandSpan();
    const QRectF band = chart::Band(row);
    return {int(b.left + PixelOf(b, position)), int(std::lround((band.y() + band.height() / 2) * scaleY()))};
}

void ChartWidget::setDragRow(int row) {
    dragRow_ = row;
    if (row < 0) pressPending_ = false;
}

bool ChartWidget::overDragBand(QPointF pos, int row) const {
    if (row < 0 || row != dragRow_) return false;
    const double x = pos.x() / scaleX();  // design pixels
    return x >= chart::kBandLeft - kGripPixels && x <= chart::kBandLeft + chart::kBandWidth + kGripPixels;
}

void ChartWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPointF pos = e->position();
    const bool held = e->buttons() & Qt::LeftButton;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if (dragging_ && !held) {  // the release went elsewhere: the drag ends where it is
        endDrag();
        emit dragFinished();
    } else if (dragging_) {
        lastAt_ = pos;
        emit dragMoved(BoundaryAt(bandSpan(), pos.x()), shift, e->globalPosition().toPoint());
    } else if (pressPending_ && held) {
        const QPointF d = pos - pressAt_;
        if (std::max(std::abs(d.x()), std::abs(d.y())) >= kDragThreshold) {
            pressPending_ = false;
            dragging_ = true;
            lastAt_ = pos;
            qApp->installEventFilter(this);  // Esc and Shift reach the drag wherever the focus is
            emit dragStarted(pressRow_, BoundaryAt(bandSpan(), pressAt_.x()), gripReach());
            emit dragMoved(BoundaryAt(bandSpan(), pos.x()), shift, e->globalPosition().toPoint());
        }
    } else if (pressPending_) {
        pressPending_ = false;  // the button came up elsewhere: no click
    }
    showReadout(pos.x(), pos.y());
    setHoverCursor(pos);
}

void ChartWidget::endDrag() {
    if (!dragging_) return;
    dragging_ = false;
    qApp->removeEventFilter(this);
}

bool ChartWidget::eventFilter(QObject* watched, QEvent* e) {
    if (!dragging_) return QWidget::eventFilter(watched, e);
    switch (e->type()) {
        case QEvent::ShortcutOverride:
            e->accept();  // no menu shortcut acts in the middle of a drag
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            const bool press = e->type() == QEvent::KeyPress;
            if (press && k->key() == Qt::Key_Escape) {
                endDrag();
                emit dragCancelled();
            } else if (k->key() == Qt::Key_Shift && !k->isAutoRepeat()) {
                emit dragMoved(BoundaryAt(bandSpan(), lastAt_.x()), press, mapToGlobal(lastAt_.toPoint()));
            }
            return true;  // other keys wait for the release
        }
        default:
            return QWidget::eventFilter(watched, e);
    }
}

void ChartWidget::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    if (!dragging_) showReadout(-1, -1);
}

QRect ChartWidget::guideRect(int x) const {
    const int rows = std::clamp(p_.NCams, 1, chart::kRows);
    const int top = int(std::lround(chart::Band(0).top() * scaleY()));
    const int bottom = int(std::lround(chart::Band(rows - 1).bottom() * scaleY()));
    return QRect(x - 1, top, 3, bottom - top + 1);
}

void ChartWidget::setGuide(int x) {
    if (x == guideX_) return;
    if (guideX_ >= 0) update(guideRect(guideX_));
    guideX_ = x;
    if (x >= 0) update(guideRect(x));
}

void ChartWidget::showReadout(double x, double y) {
    const int rows = std::clamp(p_.NCams, 0, chart::kRows);
    const QPointF d(x / scaleX(), y / scaleY());
    const bool over = rows > 0 && d.x() >= chart::kBandLeft && d.x() <= chart::kBandLeft + chart::kBandWidth &&
                      d.y() >= chart::Band(0).top() && d.y() <= chart::Band(rows - 1).bottom();
    if (!over && !dragging_) {
        readout_ = -1;
        readoutLabel_->hide();
        setGuide(-1);
        return;
    }
    const BandSpan b = bandSpan();
    readout_ = PositionAt(b, x);
    readoutLabel_->setText(FromCp1252(D4(readout_)));
    readoutLabel_->show();
    setGuide(int(b.left + PixelOf(b, readout_)));
}

void ChartWidget::setHoverCursor(QPointF pos) {
    if (dragging_) return;
    int row = -1;
    if (hit(pos, &row) != Target::CamLabel || !overDragBand(pos, row) || !p_.CamPos.contains(p_.CurSize, row)) {
        unsetCursor();
        return;
    }
    const DragGrip g = GripAt(p_.CamPos.cam(p_.CurSize, row), PositionAt(bandSpan(), pos.x()), gripReach());
    setCursor(g.kind == DragGrip::NewPhase ? Qt::CrossCursor
              : g.kind == DragGrip::Whole  ? Qt::SizeAllCursor
                                           : Qt::SizeHorCursor);
}

}  // namespace cam
