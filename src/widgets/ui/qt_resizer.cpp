#include "widgets/ui/qt_resizer.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>

namespace cam {

namespace {

// Widgets that hold other controls, as frames do; the inside of other widgets is theirs.
bool IsContainer(const QWidget* w) {
    const QByteArray name = w->metaObject()->className();
    return name == "QWidget" || name == "QFrame" || name == "QGroupBox";
}

// The area the controls are laid out in: the central widget of a main window.
QWidget* Surface(QWidget* form) {
    if (auto* main = qobject_cast<QMainWindow*>(form); main && main->centralWidget()) return main->centralWidget();
    return form;
}

void Collect(QWidget* parent, std::vector<QWidget*>& out) {
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || w->objectName().startsWith("qt_")) continue;
        const bool placedByLayout = parent->layout() && parent->layout()->indexOf(w) >= 0;
        if (!placedByLayout) out.push_back(w);
        if (IsContainer(w)) Collect(w, out);
    }
}

}  // namespace

void ClsResize::setSourceForm(QWidget* form) {
    form_ = form;
    records_.clear();
    firstTime_ = true;
}

void ClsResize::ReInitialise() {
    records_.clear();
    if (!form_) return;
    QWidget* surface = Surface(form_);
    design_ = surface->size();
    std::vector<QWidget*> widgets;
    Collect(surface, widgets);
    for (QWidget* w : widgets) {
        const QRect g = w->geometry();
        ControlRecord r{g.x(), g.y(), g.width(), g.height(), w->font().pointSizeF()};
        records_.push_back({w, r});
    }
    firstTime_ = false;
}

void ClsResize::ResizeControls() {
    if (!form_ || form_->isMinimized()) return;
    if (firstTime_) ReInitialise();
    if (records_.empty() || design_.width() <= 0 || design_.height() <= 0) return;
    const QSize now = Surface(form_)->size();
    if (now.width() <= 0 || now.height() <= 0) return;
    const double rx = double(now.width()) / design_.width();
    const double ry = double(now.height()) / design_.height();
    for (const Entry& e : records_) {
        if (!e.widget) continue;
        const ResizeTag tag = ParseResizeTag(e.widget->property(kResizeTagProperty).toString().toUpper().toStdString());
        const ControlRecord s = ScaleRecord(e.record, tag, rx, ry);
        if (tag.font && s.fontSize > 0 && e.widget->font().pointSizeF() != s.fontSize) {
            QFont f = e.widget->font();
            f.setPointSizeF(s.fontSize);
            e.widget->setFont(f);
        }
        e.widget->setGeometry(int(s.left), int(s.top), int(s.width), int(s.height));
    }
}

int ClsResize::AvaibleAreaX() const {
    QScreen* s = form_ ? form_->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry().width() : 0;
}

int ClsResize::AvaibleAreaY() const {
    QScreen* s = form_ ? form_->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry().height() : 0;
}

void ClsResize::SizeFormToScreen(int widthPercent, int heightPercent) {
    if (!form_) return;
    QScreen* s = form_->screen();
    if (!s) return;
    if (firstTime_) ReInitialise();  // the layout as designed, before the window changes size
    const QRect area = s->availableGeometry();
    const int w = area.width() * widthPercent / 100;
    const int h = area.height() * heightPercent / 100;
    form_->resize(w, h);
    form_->move(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2);
    ResizeControls();
}

}  // namespace cam
