// The functions and advance windows through their widgets; their rules have unit tests of their own.
#include "widgets/functions/functions_window.h"
#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "support/make_program.h"
#include "widgets/tools/advance_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include <tuple>

using namespace cam;

namespace {

const QColor kYellow(255, 255, 0), kBlue(0, 0, 255), kWhite(255, 255, 255), kBlack(0, 0, 0);

QLabel* Label(QWidget* w, const char* prefix, int i) {
    return child<QLabel>(w, QString("%1%2").arg(prefix).arg(i).toLatin1().constData());
}
QString Text(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }
QLineEdit* Edit(QWidget* w, const char* name) { return child<QLineEdit>(w, name); }
QCheckBox* Check(QWidget* w, const char* name) { return child<QCheckBox>(w, name); }
QScrollBar* Slider(QWidget* w, const char* name) { return child<QScrollBar>(w, name); }

// The bar column at the design size: cells 210 wide from x 2, row i from y 14 i + 1, 12 high.
QColor Cell(QWidget* w, int row, int x) {
    return child<QWidget>(w, "Barra")->grab().toImage().pixelColor(2 + x, 14 * row + 6);
}

void Type(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

}  // namespace

class FunctionsWindowTest : public QObject {
    Q_OBJECT

    Program p;
    ScriptedPrompt prompt;

    void Show(QWidget& w) {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    void ClickRow(QWidget& w, int row) { QTest::mouseClick(Label(&w, "LabCam", row), Qt::LeftButton); }

private slots:
    void init() { prompt.clear(); }

    // Two encoders and 32 cams: a click on cam 23 edits its group.
    void groupAdvancesAreEditedByTypingAndSlider() {
        p = camtest::MakeProgram(32, 7, 2);
        p.AdvMs[16] = 105;
        FuncSel w(p, prompt);
        Show(w);
        QCOMPARE(w.windowTitle(), QString("FUNCTIONS"));
        QCOMPARE(Cell(&w, 18, 150), kWhite);  // one cell spans rows 16-19

        ClickRow(w, 22);
        QCOMPARE(p.CurCam, 20);
        QLineEdit* tm = Edit(&w, "TmSec");
        QTRY_VERIFY(tm->hasFocus() && tm->hasSelectedText());

        Type(tm, "250");         // above the maximum: the maximum
        QVERIFY(w.isVisible());  // Enter in the entry never closes the window
        QCOMPARE(std::tuple(tm->text(), Slider(&w, "ScrVal")->value(), Label(&w, "lValAn", 20)->text()),
                 std::tuple(QString("210"), 210, QString("210")));
        // The current cell: yellow with a blue bar; another: white with a black bar.
        QCOMPARE((QList<QColor>{Cell(&w, 21, 100), Cell(&w, 17, 150), Cell(&w, 17, 50)}),
                 (QList<QColor>{kBlue, kWhite, kBlack}));

        // Backspace after the second digit selects it; the next digit overwrites it.
        Type(tm, "120");
        tm->setCursorPosition(2);
        QTest::keyClick(tm, Qt::Key_Backspace);
        QCOMPARE(tm->selectedText(), QString("2"));
        QTest::keyClicks(tm, "7");
        QTest::keyClick(tm, Qt::Key_Return);
        QCOMPARE(std::tuple(int(p.AdvMs[20]), Cell(&w, 21, 180)), std::tuple(170, kYellow));

        Slider(&w, "ScrVal")->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(tm->text(), QString("195"));
        QTest::keyClick(tm, Qt::Key_PageDown);  // on to the next group
        QCOMPARE(Text(&w, "LNcam"), QString("25 - 28"));
        child<QPushButton>(&w, "tOK")->click();
        QVERIFY(!w.isVisible());
    }

    void oneEncoderCountSwitchesAndFields() {
        p = camtest::MakeProgram(32, 7, 1);
        p.AdvMs[1] = 105;
        FuncSel w(p, prompt);
        Show(w);
        QLineEdit* count = Edit(&w, "TxANT");
        QVERIFY(!count->isEnabled());
        Check(&w, "ChkANT")->click();
        QTRY_VERIFY(count->hasFocus());
        QTest::keyClicks(count, "20");
        QCOMPARE(std::tuple(p.NAdvCams, Check(&w, "ChkRIT")->isEnabled(), Label(&w, "lValAn", 19)->isVisible()),
                 std::tuple(20, false, true));
        // Letters do nothing (the fields' validator refuses a paste with them as well).
        count->selectAll();
        QTest::keyClicks(count, "a5b");
        QCOMPARE(std::tuple(count->text(), Label(&w, "lValAn", 19)->isVisible()), std::tuple(QString("5"), false));

        Check(&w, "ChkRIT")->click();
        ClickRow(w, 19);  // cam 20
        QCOMPARE((QStringList{Text(&w, "LNcam"), Text(&w, "Lantc")}), (QStringList{"17 - 20", "DELAY OF CAMS"}));
        Check(&w, "ChkRIT")->click();
        QVERIFY(!Edit(&w, "TmSec")->isEnabled());  // the selected block is gone
        Check(&w, "ChkRAP25")->click();
        ClickRow(w, 30);
        QCOMPARE(std::tuple(Text(&w, "Lmsec"), Slider(&w, "ScrVal")->maximum()), std::tuple(QString("1 /"), 9));

        // Resized, the window keeps its controls and cells in proportion.
        ClickRow(w, 1);
        const QRect label = Label(&w, "LabCam", 3)->geometry();
        w.resize(w.width() * 2, w.height() * 2);
        QTRY_COMPARE(Label(&w, "LabCam", 3)->geometry().top(), label.top() * 2);
        const QImage img = child<QWidget>(&w, "Barra")->grab().toImage();
        // Row 1's cell: half of it blue, the rest yellow, at twice the design size.
        QCOMPARE(
            (QList<QColor>{img.pixelColor(2 * (2 + 50), 2 * (14 + 6)), img.pixelColor(2 * (2 + 160), 2 * (14 + 6))}),
            (QList<QColor>{kBlue, kYellow}));

        // Emptying a field puts its zero text in, selected; Enter leaves the field first.
        QLineEdit* out = Edit(&w, "Tforusc");
        out->setFocus();
        out->selectAll();
        QTest::keyClick(out, Qt::Key_Delete);
        QCOMPARE(std::tuple(out->text(), out->hasSelectedText()), std::tuple(QString("00"), true));
        QTest::keyClicks(out, "9");
        auto* ok = child<QPushButton>(&w, "tOK");
        QCOMPARE(std::tuple(out->text(), ok->isDefault()), std::tuple(QString("07"), false));  // above the 7 sizes
        QTest::keyClick(out, Qt::Key_Return);
        QCOMPARE(std::tuple(w.isVisible(), ok->isDefault()), std::tuple(true, true));
        QTest::keyClick(out, Qt::Key_Return);
        QCOMPARE(std::tuple(w.isVisible(), int(p.AdvOn), int(p.OutSize)), std::tuple(false, 1, 7));
    }

    // A refused shift is told as the field is left; the close box stores as OK does.
    void encoderListShiftAndOneEncoder() {
        p = camtest::MakeProgram(32, 7, 3);
        std::tie(p.EncShift, p.EncShift2) = std::tuple(7, 20);
        {
            FuncSel w(p, prompt);
            Show(w);
            auto* list = child<QComboBox>(&w, "CmE");
            QLineEdit* shift = Edit(&w, "Tsfas");
            QCOMPARE(shift->text(), QString("007"));
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(shift->text(), QString("20"));

            // A click on the caption enters the field.
            QTest::mouseClick(child<QLabel>(&w, "Osfas"), Qt::LeftButton);
            QTRY_VERIFY(shift->hasFocus() && shift->hasSelectedText());
            QTest::keyClicks(shift, "1025");
            QTest::keyClick(shift, Qt::Key_Tab);
            QCOMPARE(prompt.messages(), std::vector<std::string>{"The phase shift must not exceed 1024"});
            shift->setFocus();
            shift->selectAll();
            QTest::keyClicks(shift, "1024");
            w.reject();  // the cursor still in the field
            QCOMPARE(p.EncShift2, 1024);
        }
        FuncSel w(p, prompt);
        Show(w);
        QVERIFY(child<QRadioButton>(&w, "OpE2")->isChecked());
        child<QRadioButton>(&w, "OpE0")->click();
        QCOMPARE(std::tuple(p.NEncoders, child<QComboBox>(&w, "CmE")->isEnabled()), std::tuple(1, false));
        child<QPushButton>(&w, "tOK")->click();
        FuncSel again(p, prompt);
        Show(again);
        const auto radio = [&](const char* name) { return child<QRadioButton>(&again, name); };
        QCOMPARE((QList<bool>{radio("OpE0")->isChecked(), radio("OpE1")->isEnabled(), radio("OpE2")->isEnabled()}),
                 (QList<bool>{true, false, false}));
    }

    void advanceWindowComputesAndDrawsBothBars() {
        p = camtest::MakeProgram(32, 7, 1);
        std::tie(p.CurSize, p.CurCam) = std::tuple(2, 3);
        SetPhase(p, 2, 3, 1000, 24);
        CalcAnt w(p);
        Show(w);
        QCOMPARE((QStringList{w.windowTitle(), Text(&w, "FrC")}), (QStringList{"ADVANCE COMPUTATION", "S02C04"}));
        Slider(&w, "ScrollRPM")->setValue(100);
        QCOMPARE(Text(&w, "LRpm"), QString("100"));
        Slider(&w, "ScrAntRis")->setValue(360);  // steps down to what 210 ms reach
        QCOMPARE(Slider(&w, "ScrAntRis")->value(), 126);
        Slider(&w, "ScrAntRis")->setValue(30);
        QCOMPARE((QStringList{Text(&w, "LAntImp"), Text(&w, "LAntRis")}), (QStringList{"50", "30"}));
        // Bars 512 wide from x 12: the first at y 0, the second at y 50; two positions a pixel.
        const QImage img = child<QWidget>(&w, "Barra")->grab().toImage();
        auto at = [&](int bar, int position) { return img.pixelColor(12 + position / 2, 50 * bar + 12); };
        // The first: the wrapping run in two pieces; the second shifted by 30: 970..1017 in one.
        QCOMPARE((QList<QColor>{at(0, 4), at(0, 1016), at(0, 500), at(0, 990), at(1, 990), at(1, 4), at(1, 1022)}),
                 (QList<QColor>{kBlue, kBlue, kYellow, kYellow, kBlue, kYellow, kYellow}));
        // Entering the milliseconds slider takes the milliseconds found.
        Slider(&w, "ScrollAnt")->setFocus();
        QCOMPARE(Slider(&w, "ScrollAnt")->value(), 50);
        child<QPushButton>(&w, "Command1")->click();
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(FunctionsWindowTest)
#include "functions_window_test.moc"
