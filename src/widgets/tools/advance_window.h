// CalcAnt, the advance computation window ("ADVANCE COMPUTATION"): renders AdvanceForm for
// the current size and cam: three sliders, the effective advance, and two bars, the cam's
// pattern as programmed and as advanced. It changes no table.
#pragma once

#include "core/tools/advance_calc.h"

#include <QDialog>

class QLabel;
class QScrollBar;

namespace cam {

class CalcAnt : public QDialog {
    Q_OBJECT
public:
    explicit CalcAnt(const Program& p, QWidget* parent = nullptr);

    const AdvanceForm& model() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QScrollBar* Slider(const char* name, int y, int min, int max, int largeStep);
    void Render();

    AdvanceForm model_;
    QScrollBar *scrollRpm_ = nullptr, *scrollAnt_ = nullptr, *scrAntRis_ = nullptr;
    QLabel *lRpm_ = nullptr, *lAntImp_ = nullptr, *lAntRis_ = nullptr, *lGirAnt_ = nullptr, *frC_ = nullptr;
    QWidget* bars_ = nullptr;
    bool rendering_ = false;
};

}  // namespace cam
