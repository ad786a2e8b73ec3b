// The port window and the progress bar, driven by their control names.
#include "core/model/options.h"
#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "qt/qt_line_port.h"
#include "widgets/link/port_window.h"
#include "widgets/link/progress_bar_widget.h"
#include "widgets/link/qt_link_runner.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using namespace cam;

class LinkWindowsTest : public QObject {
    Q_OBJECT

private:
    static std::vector<PortEntry> ports() {
        return {
            {"ttyS9 (COM10)", "COM10"}, {"ttyS0 (COM1)", "COM1"}, {"ttyUSB0 FT232R (/dev/ttyUSB0)", "/dev/ttyUSB0"}};
    }

private slots:
    // The stored port and speed shown; Exit keeps a choice made in the lists for the run but
    // saves nothing (the settings line is the port choice's own: here that it follows the
    // lists); a typed port is taken and OK saves it.
    void portWindowShowsTakesAndSavesThePort() {
        QTemporaryDir dir;
        Program p;
        p.WorkDir = dir.path().toStdString();
        p.ComPort = 1;
        p.ComSpeed = 19200;
        ScriptedPrompt prompt;
        {
            SelPort w(p, prompt, ports());
            QCOMPARE(w.windowTitle(), QString("Select Port"));
            auto* sel = child<QComboBox>(&w, "ComSel");
            auto* baud = child<QComboBox>(&w, "ComBaud");
            QCOMPARE(sel->currentText(), QString("ttyS0 (COM1)"));
            QCOMPARE(baud->currentText(), QString("19200"));
            QCOMPARE(baud->count(), 4);
            sel->setCurrentIndex(2);
            emit sel->activated(2);
            baud->setCurrentIndex(0);
            emit baud->activated(0);
            QCOMPARE(child<QLabel>(&w, "Panset")->text(),
                     QString("Current Settings: /dev/ttyUSB0, 2400baud, NO parity, 8 bits, 1stop"));
            child<QPushButton>(&w, "TCL")->click();
        }
        QCOMPARE(p.ComDevice, std::string("/dev/ttyUSB0"));
        QCOMPARE(p.ComSpeed, 2400L);
        QVERIFY(!QFile::exists(dir.filePath(kOptionsFileName)));
        for (const char* typed : {"/dev/pts/5", "rfc2217://plant-server:7000", "tcp://10.0.0.7:4001"}) {
            SelPort w(p, prompt, ports());
            child<QComboBox>(&w, "ComSel")->lineEdit()->setText(typed);
            child<QPushButton>(&w, "TOK")->click();
            QCOMPARE(p.ComDevice, std::string(typed));
            // A raw TCP port runs at its server's speed: nothing to choose.
            QCOMPARE(child<QComboBox>(&w, "ComBaud")->isEnabled(), std::string(typed).rfind("tcp:", 0) != 0);
            Program again;
            again.WorkDir = p.WorkDir;
            QVERIFY(ReadOptions(again).ok());
            QCOMPARE(again.ComDevice, std::string(typed));
        }
        QVERIFY(prompt.messages().empty());
    }

    // Whatever font the machine draws with: the text is found as pixels of another colour
    // than the ground they stand on, never by the shapes of its glyphs.
    void progressBarInvertsTheTextItCoversAndClamps() {
        QImage img(200, 20, QImage::Format_RGB32);
        img.fill(Qt::red);
        {
            QPainter painter(&img);
            QFont font("Liberation Sans");  // installed by the set-up; any font passes
            font.setPixelSize(14);
            painter.setFont(font);
            DrawProgress(painter, img.rect(), 50);
        }
        const QRgb blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
        QCOMPARE(img.pixel(2, 2), blue);     // under the bar
        QCOMPARE(img.pixel(197, 2), white);  // beyond it
        QCOMPARE(img.pixel(99, 1), blue);    // the bar ends at width x 50 / 100
        QCOMPARE(img.pixel(100, 1), white);
        // The text "50%" straddles the end of the bar: drawn light on the bar and blue beyond it.
        bool textInBar = false, textBeyond = false;
        for (int x = 60; x < 100; ++x)
            for (int y = 0; y < 20; ++y) textInBar |= img.pixel(x, y) != blue;
        for (int x = 100; x < 140; ++x)
            for (int y = 0; y < 20; ++y) textBeyond |= img.pixel(x, y) != white;
        QVERIFY(textInBar);
        QVERIFY(textBeyond);
        // Nothing but the bar, its text and the white ground: the area is all painted.
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y) QVERIFY(img.pixel(x, y) != qRgb(255, 0, 0));
        // The widget clamps its percentage and shows itself when given one.
        ProgressBarWidget w;
        w.hide();
        w.setPercent(140);
        QCOMPARE(w.percent(), 100);
        QVERIFY(w.isVisible());
        w.setPercent(-3);
        QCOMPARE(w.percent(), 0);
    }

    // A fault inside an exchange (a table index out of range) ends it like a failed
    // transfer: reported, the port closed and handed back, the next exchange runs.
    void faultOnTheWorkerIsReportedAndThePortHandedBack() {
        QtLinePort port;
        ScriptedPrompt prompt;
        Program p;
        LinkRunner runner(p, port, prompt, nullptr);
        runner.run([](Link&) { throw std::out_of_range("cam table index"); }, nullptr, "test");
        QCOMPARE(prompt.messages().size(), std::size_t(1));
        QVERIFY(prompt.messages()[0].find("cam table index") != std::string::npos);
        QVERIFY(!port.isOpen());
        bool ran = false;
        runner.run([&](Link&) { ran = true; }, nullptr, "test");
        QVERIFY(ran);
        QCOMPARE(prompt.messages().size(), std::size_t(1));
    }
};

QTEST_MAIN(LinkWindowsTest)
#include "link_windows_test.moc"
