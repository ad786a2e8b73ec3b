// ClsResize: keeps the child widgets of a window in proportion to the window's inner size.
// Each widget's geometry and font size are recorded once from the design size; every resize
// scales the records (never the present values, so repeated resizing does not drift).
// A widget may restrict what follows through its "resizeTag" property ("@L,T,W,H,F").
// Widgets placed by a layout are left to the layout.
#pragma once

#include "core/ui/resize_rules.h"

#include <QPointer>
#include <QSize>
#include <QWidget>
#include <vector>

namespace cam {

inline constexpr const char* kResizeTagProperty = "resizeTag";

class ClsResize {
public:
    ClsResize() = default;
    explicit ClsResize(QWidget* form) { setSourceForm(form); }

    void setSourceForm(QWidget* form);  // records are taken on the first ResizeControls
    QWidget* SourceForm() const { return form_; }
    void ReInitialise();    // take the records from the present layout
    void ResizeControls();  // apply the present inner size
    // Size the window to the given percentages of the screen's work area, centre it there,
    // then take the records and apply them.
    void SizeFormToScreen(int widthPercent, int heightPercent);
    int AvaibleAreaX() const;  // work area in pixels
    int AvaibleAreaY() const;

private:
    struct Entry {
        QPointer<QWidget> widget;
        ControlRecord record;
    };
    QPointer<QWidget> form_;
    QSize design_;
    std::vector<Entry> records_;
    bool firstTime_ = true;
};

}  // namespace cam
