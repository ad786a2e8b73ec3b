// The size show through its controls; which cams are ON where is for the size show's unit tests.
#include "widgets/tools/size_show_window.h"
#include "find_child.h"
#include "gui_tests.h"
#include "support/make_program.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace cam;

namespace {

class SizeShowWindowTest : public QObject {
    Q_OBJECT
    Program p;
    std::unique_ptr<SizeShowWindow> w;

    void Open() {
        w = std::make_unique<SizeShowWindow>(p);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    QString Shown(const char* name) const { return child<QLabel>(w.get(), name)->text(); }
    ShowLampWidget* Lamp(int i) const {
        return child<ShowLampWidget>(w.get(), qPrintable(QString("Shape1_%1").arg(i)));
    }
    // The lamps lit, by the numbers under them.
    std::vector<int> LitLamps() const {
        std::vector<int> out;
        for (int i = 1; i <= 32; ++i) {
            if (!Lamp(i)->lit()) continue;
            out.push_back(i);
            // What the screen shows, not only the flag: the lamp's middle in light red.
            const QImage img = Lamp(i)->grab().toImage();
            if (img.pixelColor(img.width() / 2, img.height() / 2) != QColor(255, 0, 0)) return {-1};
        }
        return out;
    }
    void Click(const char* name) { QTest::mouseClick(child<QPushButton>(w.get(), name), Qt::LeftButton); }

private slots:
    void init() {
        p = camtest::MakeProgram(32, 7);
        p.CurSize = 2;
        QVERIFY(SetPhase(p, 2, 0, 100, 200));
        QVERIFY(SetPhase(p, 2, 4, 900, 50));  // through position 0
        QVERIFY(SetPhase(p, 2, 31, 0, 1024));
        QVERIFY(SetPhase(p, 3, 1, 0, 1024));
    }
    void cleanup() { w.reset(); }

    // The size scroll bar offers the model's sizes; the position reaches the dial, its label and the lamps.
    void lampsMatchTheChartAtTheHandsPosition() {
        p.CurSize = 0;
        Open();
        auto* size = child<QScrollBar>(w.get(), "VScrForm");
        QCOMPARE((QList<int>{size->minimum(), size->maximum(), p.CurSize}), (QList<int>{1, 7, 1}));
        size->setValue(2);
        QCOMPARE(Shown("LNFor"), QString("02"));
        for (const auto& [pos, lit] : std::vector<std::pair<int, std::vector<int>>>{{49, {5, 32}}, {100, {1, 32}}}) {
            w->SetPosition(pos);
            QCOMPARE(std::tuple(Shown("Vgradi"), child<ShowDialWidget>(w.get(), "CERCHIO")->position(), LitLamps()),
                     std::tuple(QString("%1").arg(pos, 4, 10, QChar('0')), pos, lit));
        }
        const QImage img = Lamp(2)->grab().toImage();
        QCOMPARE(img.pixelColor(img.width() / 2, img.height() / 2), QColor(0, 0, 0));
    }

    // The next opening shows the dial where this one stopped.
    void stopStartAndChooseACam() {
        Open();
        w->SetPosition(495);
        Click("Strt");
        QVERIFY(!child<QPushButton>(w.get(), "Strt")->isEnabled());
        for (int i = 0; i < 5; ++i) w->Advance(0);
        Click("Stp");
        QCOMPARE(std::tuple(child<QPushButton>(w.get(), "Strt")->isEnabled(), p.ShowSavedPos, Shown("lVeloc")),
                 std::tuple(true, 500, QString("0000")));
        Click("Strt");
        w->Advance(0);
        QCOMPARE(Shown("Vgradi"), QString("0501"));
        QTest::mouseDClick(child<QLabel>(w.get(), "Label1_5"), Qt::LeftButton);
        QCOMPARE(std::tuple(p.CurCam, w->isVisible(), w->result(), w->run().running()),
                 std::tuple(4, false, int(QDialog::Accepted), false));
        const int stopped = p.ShowSavedPos;
        QVERIFY(stopped >= 501);
        Open();
        QCOMPARE(w->run().position(), stopped);
        Click("Command1");
        QVERIFY(!w->isVisible());
    }

    void theTimerTurnsTheDialAndTheWindowStaysResponsive() {
        Open();
        auto* speed = child<QScrollBar>(w.get(), "ScrolVel");
        QCOMPARE((QList<int>{speed->minimum(), speed->maximum(), speed->value()}), (QList<int>{0, 2000, 1000}));
        speed->setValue(2000);
        w->SetPosition(10);
        Click("Strt");
        QTRY_VERIFY(w->run().position() > 100);
        // The size changes while running; the speed display shows revolutions a minute.
        child<QScrollBar>(w.get(), "VScrForm")->setValue(3);
        QCOMPARE(p.CurSize, 3);
        QTRY_VERIFY(Lamp(2)->lit() && Shown("lVeloc") != "0000");
        Click("Stp");
        QCOMPARE(p.ShowSavedPos, w->run().position());
    }

    void camsBeyondTheModelHaveNoLamp() {
        p.NCams = 16;
        ResizeTables(p);
        Open();
        QCOMPARE((QList<bool>{Lamp(16)->isVisible(), Lamp(17)->isVisible(),
                              child<QLabel>(w.get(), "Label1_17")->isVisible()}),
                 (QList<bool>{true, false, false}));
    }
};

RegisterGuiTest<SizeShowWindowTest> registerSizeShowWindowTest;

}  // namespace

#include "size_show_window_test.moc"
