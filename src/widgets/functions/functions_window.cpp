#include "widgets/functions/functions_window.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"
#include "paint/chart_painter.h"
#include "qt/cp1252.h"
#include "widgets/tools/advance_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTimer>

namespace cam {

namespace {

// Design geometry in pixels; the resizer keeps it in proportion to the window.
constexpr int kFormWidth = 780;
constexpr int kFormHeight = 520;
constexpr int kRowsTop = 34;
constexpr int kRowPitch = 14;
constexpr int kColumnLeft = 220;  // the bar column: cells 210 wide, 2 in from its left
constexpr int kColumnWidth = 214;
constexpr int kCellLeft = 2;
constexpr int kCellWidth = 210;
constexpr int kCellHeight = 12;
constexpr int kRight = 446;  // left edge of the controls beside the list

QRect RowRect(int left, int width, int row) { return {left, kRowsTop + kRowPitch * row, width, kRowPitch}; }

QFont WidgetFont(const char* family, double points, bool bold) {
    QFont f(QString::fromLatin1(family));
    f.setStyleHint(QString::fromLatin1(family).startsWith("Courier") ? QFont::TypeWriter : QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

template <class W>
W* Control(W* w, const char* name, const QRect& geometry) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel* Caption(QWidget* parent, const char* name, const std::string& text, const QRect& geometry) {
    return Control(new QLabel(FromCp1252(text), parent), name, geometry);
}

// A field entered shows its whole text selected, also after the mouse press that gave it the
// focus has placed the caret.
void SelectAllOnEntry(QLineEdit* field, const QFocusEvent* e) {
    field->selectAll();
    if (e->reason() == Qt::MouseFocusReason) QTimer::singleShot(0, field, &QLineEdit::selectAll);
}

// The bar column: every visible cell drawn by the chart's painter, scaled to the column.
class BarColumn : public QWidget {
public:
    BarColumn(const FunctionsForm& model, QWidget* parent) : QWidget(parent), model_(model) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        // The whole column erased first, in the window's colour.
        g.fillRect(rect(), palette().window());
        ChartPainter painter(g, width() / double(kColumnWidth), height() / double(kMaxCams * kRowPitch));
        for (int i = 0; i < model_.rows(); ++i) {
            const RowView r = model_.row(i);
            if (!r.cell) continue;
            const QRectF cell(kCellLeft, kRowPitch * i + 1, kCellWidth, kRowPitch * (r.span - 1) + kCellHeight);
            painter.DrawValueCell(cell, r.value, r.fullScale, r.current);
        }
    }

private:
    const FunctionsForm& model_;
};

}  // namespace

FuncSel::FuncSel(Program& p, Prompt& prompt, QWidget* parent) : QDialog(parent), p_(p), model_(p, prompt) {
    setObjectName("FuncSel");
    setWindowTitle("FUNCTIONS");
    setFont(WidgetFont("Arial", 8.25, false));
    resize(kFormWidth, kFormHeight);
    BuildRows();
    BuildSwitches();
    BuildConfiguration();
    BuildEditing();
    ConnectControls();
    // Records taken at the design size; every later resize scales them.
    resizer_.setSourceForm(this);
    resizer_.ReInitialise();
    model_.Activate();
    Render();
    tOk_->setFocus(Qt::OtherFocusReason);
}

void FuncSel::BuildRows() {
    Caption(this, "LabC", Text(p_, txt::kRemarkCaption), {32, 16, 150, 16});
    const int cell = kColumnLeft + kCellLeft;
    Caption(this, "Label12", "0", {cell - 2, 16, 24, 16});
    Caption(this, "Label11", "100", {cell + 100 - 10, 16, 24, 16});
    Caption(this, "Label10", "200", {cell + 200 - 10, 16, 24, 16});
    for (int i = 0; i < kMaxCams; ++i) {
        auto* lab = Caption(this, "", model_.rowLabel(i), RowRect(6, 24, i));
        lab->setObjectName(QString("LabCam%1").arg(i));
        lab->setFont(WidgetFont("Courier New", 9, true));
        lab->installEventFilter(this);
        labCam_.push_back(lab);
        auto* remark = Caption(this, "", "", RowRect(32, 150, i));
        remark->setObjectName(QString("LDefC%1").arg(i));
        remark->setFont(WidgetFont("Courier New", 8.25, true));
        lDefC_.push_back(remark);
        auto* value = Caption(this, "", "000", RowRect(186, 30, i));
        value->setObjectName(QString("lValAn%1").arg(i));
        value->setFont(WidgetFont("Courier New", 9, false));
        lValAn_.push_back(value);
    }
    barra_ = Control(new BarColumn(model_, this), "Barra", {kColumnLeft, kRowsTop, kColumnWidth, kMaxCams * kRowPitch});
}

void FuncSel::BuildSwitches() {
    auto* fr = Control(new QGroupBox(FromCp1252(Text(p_, txt::kFuncFrame)), this), "FrAbil", {kRight, 8, 326, 126});
    auto check = [&](const char* name, BuiltInText t, int y, int width) {
        return Control(new QCheckBox(FromCp1252(Text(p_, t)), fr), name, {10, y, width, 22});
    };
    chkAnt_ = check("ChkANT", txt::kFuncAdvances, 22, 150);
    txAnt_ = Field(fr, "TxANT", {166, 22, 36, 22}, 0);
    chkRit_ = check("ChkRIT", txt::kFuncDelays, 48, 220);
    chkRap17_ = check("ChkRAP17", txt::kFuncRatio17, 72, 220);
    chkRap25_ = check("ChkRAP25", txt::kFuncRatio25, 96, 220);
    auto* oForusc = Caption(this, "Oforusc", Text(p_, txt::kFuncOutSize), {kRight, 144, 160, 22});
    tForusc_ = Field(this, "Tforusc", {kRight + 166, 144, 36, 22}, 2);
    auto* oLimvel = Caption(this, "Olimvel", Text(p_, txt::kFuncSpeedLimit), {kRight, 172, 160, 22});
    tLimvel_ = Field(this, "Tlimvel", {kRight + 166, 172, 52, 22}, 4);
    captions_ = {{oForusc, tForusc_}, {oLimvel, tLimvel_}};
}

void FuncSel::BuildConfiguration() {
    auto* fr =
        Control(new QGroupBox(FromCp1252(Text(p_, txt::kFuncConfiguration)), this), "FrConf", {kRight, 204, 326, 132});
    Caption(fr, "Enc", "Encoders", {10, 22, 76, 22});
    for (int k = 0; k < 3; ++k) {
        const QString caption = QString("%1E").arg(k + 1);
        opE_[k] = Control(new QRadioButton(caption, fr), "", {96 + 56 * k, 22, 50, 22});
        opE_[k]->setObjectName(QString("OpE%1").arg(k));
    }
    Caption(fr, "LbENC", "Encoder  ", {10, 48, 76, 22});
    cmE_ = Control(new QComboBox(fr), "CmE", {96, 48, 60, 22});
    auto* oSfas = Caption(fr, "Osfas", Text(p_, txt::kFuncShift), {10, 76, 150, 22});
    tSfas_ = Field(fr, "Tsfas", {166, 76, 52, 22}, 4);
    auto* oRotaz = Caption(fr, "Orotaz", Text(p_, txt::kFuncDirection), {10, 102, 150, 22});
    tRotaz_ = Field(fr, "Trotaz", {166, 102, 30, 22}, 1);
    captions_.push_back({oSfas, tSfas_});
    captions_.push_back({oRotaz, tRotaz_});
    for (auto& [caption, field] : captions_) caption->installEventFilter(this);
}

void FuncSel::BuildEditing() {
    lantc_ = Caption(this, "Lantc", Text(p_, txt::kFuncEditedValue), {kRight, 346, 220, 20});
    lantc_->setFont(WidgetFont("Arial", 9.75, true));
    lNcam_ = Caption(this, "LNcam", "00", {kRight + 226, 346, 100, 20});
    lNcam_->setFont(WidgetFont("Arial", 9.75, true));
    scrVal_ = Control(new QScrollBar(Qt::Horizontal, this), "ScrVal", {kRight, 372, 326, 18});
    scrVal_->setRange(0, kMaxFunctionMs);
    // The unit stands before the typed value: "1 /" reads as the ratio 1/n.
    lmsec_ = Caption(this, "Lmsec", "mSec.", {kRight, 398, 60, 22});
    lmsec_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tmSec_ = Field(this, "TmSec", {kRight + 66, 398, 44, 22}, 3);
    tDemo_ = Control(new QPushButton("&Demo", this), "tDEMO", {kRight, 478, 100, 28});
    tDemo_->setAutoDefault(false);
    tOk_ = Control(new QPushButton("&OK", this), "tOK", {kRight + 226, 478, 100, 28});
    tOk_->setAutoDefault(false);
}

// A numeric field: digits only (a key or paste with anything else does nothing).
QLineEdit* FuncSel::Field(QWidget* parent, const char* name, const QRect& geometry, int maxLength) {
    auto* f = Control(new QLineEdit(parent), name, geometry);
    f->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), f));
    if (maxLength > 0) f->setMaxLength(maxLength);
    f->installEventFilter(this);
    return f;
}

void FuncSel::ConnectControls() {
    auto after = [this](auto&& action) {
        return [this, action](auto&&... args) {
            if (rendering_) return;
            action(args...);
            Render();
            ApplyFocus();
        };
    };
    connect(chkAnt_, &QCheckBox::clicked, this, after([this](bool on) { model_.clickAdvances(on); }));
    connect(chkRit_, &QCheckBox::clicked, this, after([this](bool on) { model_.clickDelays(on); }));
    connect(chkRap17_, &QCheckBox::clicked, this, after([this](bool on) { model_.clickRatio17(on); }));
    connect(chkRap25_, &QCheckBox::clicked, this, after([this](bool on) { model_.clickRatio25(on); }));
    connect(txAnt_, &QLineEdit::textEdited, this, after([this](const QString& t) { model_.changeCount(ToCp1252(t)); }));
    for (int k = 0; k < 3; ++k)
        connect(opE_[k], &QRadioButton::clicked, this, after([this, k](bool) { model_.clickEncoders(k + 1); }));
    connect(cmE_, &QComboBox::activated, this, after([this](int i) { model_.chooseListedEncoder(i + 1); }));
    connect(scrVal_, &QScrollBar::valueChanged, this, after([this](int v) { model_.moveSlider(v); }));
    connect(tmSec_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.typeEntry(ToCp1252(t)); });
    connect(tForusc_, &QLineEdit::textEdited, this,
            [this](const QString& t) { Correct(tForusc_, model_.changeOutSize(ToCp1252(t))); });
    connect(tLimvel_, &QLineEdit::textEdited, this,
            [this](const QString& t) { Correct(tLimvel_, model_.changeSpeedLimit(ToCp1252(t))); });
    connect(tRotaz_, &QLineEdit::textEdited, this,
            [this](const QString& t) { Correct(tRotaz_, model_.changeDirection(ToCp1252(t))); });
    connect(tSfas_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.changeShift(ToCp1252(t)); });
    // The advance computation for the current cam; nothing of this window is set again after it.
    connect(tDemo_, &QPushButton::clicked, this, [this] { CalcAnt(p_, this).exec(); });
    connect(tOk_, &QPushButton::clicked, this, &QDialog::accept);
}

// A corrected field shows its replacement; one put in for an emptied field is selected.
void FuncSel::Correct(QLineEdit* field, const FieldText& corrected) {
    const QString text = FromCp1252(corrected.text);
    if (field->text() != text) field->setText(text);
    if (corrected.selectAll) field->selectAll();
}

void FuncSel::clickRow(int row) {
    if (!model_.selectRow(row)) return;
    Render();
    ApplyFocus();
}

bool FuncSel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < static_cast<int>(labCam_.size()); ++i)
            if (watched == labCam_[i]) {
                clickRow(i);
                return true;
            }
        for (auto& [caption, field] : captions_)
            if (watched == caption) {
                field->setFocus(Qt::MouseFocusReason);
                return true;
            }
    }
    if (watched == txAnt_ && e->type() == QEvent::FocusIn) {
        SelectAllOnEntry(txAnt_, static_cast<QFocusEvent*>(e));
        return false;
    }
    const std::pair<QLineEdit*, FuncField> fields[] = {{tmSec_, FuncField::Entry},
                                                       {tForusc_, FuncField::OutSize},
                                                       {tLimvel_, FuncField::SpeedLimit},
                                                       {tSfas_, FuncField::Shift},
                                                       {tRotaz_, FuncField::Direction}};
    for (const auto& [field, which] : fields)
        if (watched == field) return FieldEvent(field, which, e);
    return QDialog::eventFilter(watched, e);
}

// Focus and keys of the typed entry and the four setting fields.
bool FuncSel::FieldEvent(QLineEdit* field, FuncField which, QEvent* e) {
    if (model_.closed()) return false;
    switch (e->type()) {
        case QEvent::FocusIn:
            model_.focusField(which);
            SelectAllOnEntry(field, static_cast<QFocusEvent*>(e));
            Render();
            return false;
        case QEvent::FocusOut:
            model_.leaveField(which);
            Render();
            return false;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                // Enter applies the field as leaving it does; once OK is the default button
                // again, Enter closes the window.
                if (which != FuncField::Entry && model_.okDefault()) return false;
                model_.leaveField(which);
                Render();
                if (which == FuncField::Entry) field->selectAll();
                return true;
            }
            if (which == FuncField::Entry && k->key() == Qt::Key_Backspace) {
                const bool has = field->hasSelectedText();
                const EntrySelection s = BackspaceSelection({has ? field->selectionStart() : field->cursorPosition(),
                                                             has ? int(field->selectedText().size()) : 0});
                field->setSelection(s.start, s.length);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

void FuncSel::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    resizer_.ResizeControls();
}

void FuncSel::keyPressEvent(QKeyEvent* e) {
    const int step = e->key() == Qt::Key_PageDown ? 1 : e->key() == Qt::Key_PageUp ? -1 : 0;
    if (step == 0 || e->modifiers() != Qt::NoModifier) return QDialog::keyPressEvent(e);
    if (model_.selectNeighbour(step)) {
        Render();
        ApplyFocus();
    }
}

void FuncSel::Render() {
    rendering_ = true;
    for (int i = 0; i < kMaxCams; ++i) {
        const bool exists = i < model_.rows();
        const RowView r = model_.row(i);
        labCam_[i]->setVisible(exists);
        labCam_[i]->setEnabled(r.selectable);
        labCam_[i]->setCursor(r.selectable ? Qt::PointingHandCursor : Qt::ArrowCursor);
        lDefC_[i]->setVisible(exists);
        lDefC_[i]->setText(FromCp1252(model_.remark(i)));
        lValAn_[i]->setVisible(r.cell);
        lValAn_[i]->setText(QString::fromStdString(D3(r.value)));
    }
    const std::pair<QCheckBox*, SwitchView> switches[] = {{chkAnt_, model_.advances()},
                                                          {chkRit_, model_.delays()},
                                                          {chkRap17_, model_.ratio17()},
                                                          {chkRap25_, model_.ratio25()}};
    for (const auto& [box, view] : switches) {
        box->setChecked(view.checked);
        box->setEnabled(view.enabled);
    }
    if (txAnt_->text() != FromCp1252(model_.countText())) txAnt_->setText(FromCp1252(model_.countText()));
    txAnt_->setEnabled(model_.countEnabled());
    for (int k = 0; k < 3; ++k) {
        opE_[k]->setEnabled(model_.encoderOptionEnabled(k + 1));
        opE_[k]->setChecked(model_.encoders() == k + 1);
    }
    if (cmE_->count() != model_.listCount()) {
        cmE_->clear();
        for (int k = 1; k <= model_.listCount(); ++k) cmE_->addItem(QString::number(k));
    }
    cmE_->setCurrentIndex(model_.listedEncoder() - 1);
    cmE_->setEnabled(model_.listEnabled());
    const std::pair<QLineEdit*, const std::string*> fields[] = {{tForusc_, &model_.outSizeText()},
                                                                {tLimvel_, &model_.speedLimitText()},
                                                                {tSfas_, &model_.shiftText()},
                                                                {tRotaz_, &model_.directionText()}};
    for (const auto& [field, text] : fields)
        if (field->text() != FromCp1252(*text)) field->setText(FromCp1252(*text));
    RenderEditing();
    tOk_->setDefault(model_.okDefault());
    barra_->update();
    rendering_ = false;
}

void FuncSel::RenderEditing() {
    lantc_->setText(FromCp1252(model_.kindCaption()));
    lNcam_->setText(FromCp1252(model_.rowCaption()));
    lmsec_->setText(FromCp1252(model_.unit()));
    scrVal_->setRange(0, model_.sliderMax());
    scrVal_->setPageStep(model_.largeStep());
    scrVal_->setValue(model_.sliderValue());
    scrVal_->setEnabled(model_.editing());
    tmSec_->setEnabled(model_.editing());
    if (tmSec_->text() != FromCp1252(model_.entryText())) tmSec_->setText(FromCp1252(model_.entryText()));
}

void FuncSel::ApplyFocus() {
    switch (model_.takeFocusRequest()) {
        case FocusRequest::Count:
            txAnt_->setFocus(Qt::OtherFocusReason);
            break;
        case FocusRequest::Entry:
            tmSec_->setFocus(Qt::OtherFocusReason);
            break;
        case FocusRequest::None:
            break;
    }
}

void FuncSel::done(int result) {
    if (!model_.closed()) model_.close();
    QDialog::done(result);
}

}  // namespace cam
