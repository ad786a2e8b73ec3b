// The History window: every change of the tables since the file was opened, oldest first.
// Picking an entry shows its state on the main window's chart; Restore makes it the present
// state (an entry of its own); Close, Esc or the window's close button return to the present
// state. It renders HistoryForm.
#pragma once

#include "core/model/program.h"
#include "core/editor/history_form.h"
#include "widgets/ui/qt_resizer.h"

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace cam {

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    // showState redraws the chart behind the window after the tables or the size shown changed.
    HistoryWindow(Program& p, CamDocument& doc, std::function<void()> showState, QWidget* parent = nullptr);

    bool restored() const { return form_.restored(); }
    QListWidget* list() const { return list_; }

    void done(int result) override;  // every way out goes back to the present state

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void Fill();
    void Render();

    Program& p_;
    HistoryForm form_;
    std::function<void()> showState_;
    QListWidget* list_;
    QLabel* hint_;
    QLabel* reach_;
    QPushButton* restore_;
    QPushButton* close_;
    ClsResize resizer_;
};

}  // namespace cam
