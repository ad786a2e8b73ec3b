// FuncSel, the functions window ("FUNCTIONS"): renders FunctionsForm. One row per cam on the
// left (label, remark, value, bar cell), the switches, settings, encoders and the editing
// area of the selected row on the right. Closing it by any means stores the fields.
#pragma once

#include "core/functions/functions_form.h"
#include "widgets/ui/qt_resizer.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace cam {

class FuncSel : public QDialog {
    Q_OBJECT
public:
    // Loads the window and runs its activation.
    FuncSel(Program& p, Prompt& prompt, QWidget* parent = nullptr);

    const FunctionsForm& model() const { return model_; }
    void clickRow(int row);  // as a click on the label of that row

    void done(int result) override;  // stores the fields once

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;  // Page Up / Page Down: previous / next row

private:
    void BuildRows();
    void BuildSwitches();
    void BuildConfiguration();
    void BuildEditing();
    void ConnectControls();
    QLineEdit* Field(QWidget* parent, const char* name, const QRect& geometry, int maxLength);
    bool FieldEvent(QLineEdit* field, FuncField which, QEvent* e);
    void Correct(QLineEdit* field, const FieldText& corrected);
    void Render();
    void RenderEditing();
    void ApplyFocus();

    Program& p_;
    FunctionsForm model_;
    ClsResize resizer_;
    bool rendering_ = false;

    std::vector<QLabel*> labCam_, lDefC_, lValAn_;
    QWidget* barra_ = nullptr;
    QCheckBox *chkAnt_ = nullptr, *chkRit_ = nullptr, *chkRap17_ = nullptr, *chkRap25_ = nullptr;
    QLineEdit *txAnt_ = nullptr, *tForusc_ = nullptr, *tLimvel_ = nullptr, *tSfas_ = nullptr, *tRotaz_ = nullptr;
    QRadioButton* opE_[3]{};
    QComboBox* cmE_ = nullptr;
    QLabel *lantc_ = nullptr, *lNcam_ = nullptr, *lmsec_ = nullptr;
    QScrollBar* scrVal_ = nullptr;
    QLineEdit* tmSec_ = nullptr;
    QPushButton *tDemo_ = nullptr, *tOk_ = nullptr;
    std::vector<std::pair<QLabel*, QLineEdit*>> captions_;  // a click on the caption enters the field
};

}  // namespace cam
