// The port window and the progress bar, driven by their control names.
#include "core/model/options.h"
#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "qt/qt_line_port.h"
#include "widgets/link/port_window.h"
#include "widgets/link/progress_bar_widget.h"
#include "widgets/link/qt_link_runner.h"

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

static const std::vector<PortEntry> kPorts = {
    {"ttyS9 (COM10)", "COM10"}, {"ttyS0 (COM1)", "COM1"}, {"ttyUSB0 FT232R (/dev/ttyUSB0)", "/dev/ttyUSB0"}};

class LinkWindowsTest : public QObject {
    Q_OBJECT

private slots:
    // Exit keeps a choice made in the lists for the run but saves nothing; a typed port is taken
    // and OK saves it.
    void portWindowShowsTakesAndSavesThePort() {
        QTemporaryDir dir;
        Program p;
        p.WorkDir = dir.path().toStdString();
        std::tie(p.ComPort, p.ComSpeed) = std::tuple(1, 19200);
        ScriptedPrompt prompt;
        {
            SelPort w(p, prompt, kPorts);
            auto* sel = child<QComboBox>(&w, "ComSel");
            auto* baud = child<QComboBox>(&w, "ComBaud");
            QCOMPARE(std::tuple(w.windowTitle(), sel->currentText(), baud->currentText(), baud->count()),
                     std::tuple(QString("Select Port"), QString("ttyS0 (COM1)"), QString("19200"), 4));
            sel->setCurrentIndex(2);
            emit sel->activated(2);
            baud->setCurrentIndex(0);
            emit baud->activated(0);
            QCOMPARE(child<QLabel>(&w, "Panset")->text(),
                     QString("Current Settings: /dev/ttyUSB0, 2400baud, NO parity, 8 bits, 1stop"));
            child<QPushButton>(&w, "TCL")->click();
        }
        QCOMPARE(
            std::tuple(QString::fromStdString(p.ComDevice), p.ComSpeed, QFile::exists(dir.filePath(kOptionsFileName))),
            std::tuple(QString("/dev/ttyUSB0"), 2400L, false));
        for (const char* typed : {"/dev/pts/5", "rfc2217://plant-server:7000", "tcp://10.0.0.7:4001"}) {
            SelPort w(p, prompt, kPorts);
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
        // Under the bar, up to its end at width x 50 / 100, then beyond it.
        QCOMPARE((QList<QRgb>{img.pixel(2, 2), img.pixel(99, 1), img.pixel(100, 1), img.pixel(197, 2)}),
                 (QList<QRgb>{blue, blue, white, white}));
        // The text "50%" straddles the end of the bar: drawn light on the bar and blue beyond it.
        bool textInBar = false, textBeyond = false;
        for (int x = 60; x < 100; ++x)
            for (int y = 0; y < 20; ++y) textInBar |= img.pixel(x, y) != blue;
        for (int x = 100; x < 140; ++x)
            for (int y = 0; y < 20; ++y) textBeyond |= img.pixel(x, y) != white;
        QCOMPARE(std::pair(textInBar, textBeyond), std::pair(true, true));
        // Nothing but the bar, its text and the white ground: the area is all painted.
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y) QVERIFY(img.pixel(x, y) != qRgb(255, 0, 0));
        ProgressBarWidget w;
        w.hide();
        w.setPercent(140);
        QCOMPARE(std::tuple(w.percent(), w.isVisible()), std::tuple(100, true));
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
        QCOMPARE(std::pair(prompt.messages().size(), port.isOpen()), std::pair(std::size_t(1), false));
        QVERIFY(prompt.messages()[0].find("cam table index") != std::string::npos);
        bool ran = false;
        runner.run([&](Link&) { ran = true; }, nullptr, "test");
        QCOMPARE(std::tuple(ran, prompt.messages().size()), std::tuple(true, std::size_t(1)));
    }
};

QTEST_MAIN(LinkWindowsTest)
#include "link_windows_test.moc"
