// The update window by its control names, and "&Update FLASH" as a user runs it from the main window.
#include "widgets/firmware/flash_window.h"
#include "find_child.h"
#include "main_window_fixture.h"
#include "qt/qt_line_port.h"
#include "widgets/link/progress_bar_widget.h"
#include "widgets/main/device_commands.h"

#include <QImage>

#include <thread>

namespace {

using namespace camtest;

const std::string k16Bytes = ":100000000102030405060708090A0B0C0D0E0F1068";
const std::string kEnd = ":00000001FF";
const std::string kIdent = ":1006000041314232433330332F31352F323032369D";  // "A1B2C303/15/2026"

// Dark pixels inside a rectangle of the image: text was drawn there (whatever the font).
int Ink(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(img.pixel(x, y)) < 128;
    return n;
}

class FlashWindowTest : public MainWindowFixture {
    Q_OBJECT

    std::string AbsFile(const char* name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        return WriteFile(name, bytes);
    }

private slots:
    // The rows of a verified file at their columns, then the lamp and the bar as the screen sets them.
    void verificationDrawsTheRowsAndTheLampAndBarFollowTheScreen() {
        Program p;
        ScriptedPrompt prompt;
        FlashWindow w;
        QCOMPARE((QStringList{w.objectName(), w.windowTitle()}), (QStringList{"UpdFlsh", "Update PX32"}));
        FlashScreen s;
        QVERIFY(VerifyFirmware(p, AbsFile("PX32.Abs", {kIdent, k16Bytes, kEnd}), s, w, prompt).ok());
        w.show();
        QImage img = child<QWidget>(&w, "Rows")->grab().toImage();
        // Inked: row 1, row 2's line count at 140 and byte total at 340, row 4; not row 3 nor below row 4.
        QCOMPARE((QList<bool>{Ink(img, {0, 0, 100, 18}) > 0, Ink(img, {140, 18, 30, 18}) > 0,
                              Ink(img, {340, 18, 30, 18}) > 0, Ink(img, {0, 36, img.width(), 18}) > 0,
                              Ink(img, {0, 54, 200, 18}) > 0, Ink(img, {0, 72, img.width(), img.height() - 72}) > 0}),
                 (QList<bool>{true, true, true, false, true, false}));
        auto* bar = child<ProgressBarWidget>(&w, "Barra");
        auto* lamp = child<QWidget>(&w, "LedConn");
        QCOMPARE(std::tuple(bar->isVisible(), lamp->isVisible()), std::tuple(false, false));

        s = FlashScreen();
        s.lamp = FlashScreen::Lamp::Red;
        w.display(s);
        QCOMPARE(std::tuple(lamp->isVisible(), lamp->palette().color(QPalette::Window)),
                 std::tuple(true, QColor(255, 0, 0)));
        std::tie(s.lamp, s.transmitting, s.percent) = std::tuple(FlashScreen::Lamp::Green, true, 40);
        w.display(s);
        QCOMPARE(std::tuple(lamp->palette().color(QPalette::Window), bar->isVisible(), bar->percent()),
                 std::tuple(QColor(0, 255, 0), true, 40));
        img = child<QWidget>(&w, "Rows")->grab().toImage();
        QVERIFY(Ink(img, {0, 90, 100, 18}) > 0);  // row 6
    }

    void screenFromTheUpdateThreadIsDrawnOnTheWindowsThread() {
        FlashWindow w;
        FlashScreen s;
        s.row8 = "DEVICE UPDATED WITH  x";
        std::thread([&] { w.display(s); }).join();
        QCOMPARE(w.screen().row8, std::string());
        QCoreApplication::processEvents();
        QCOMPARE(w.screen().row8, s.row8);
    }

    // A checksum error closes the update window only: the unsaved sizes stay. A port that cannot
    // be opened is one message; the dialog then starts in the folder of that file.
    void refusedFileAndPortThatCannotBeOpened() {
        Start();
        QtLinePort port;
        ConnectDevice(*w, *p, *prompt, port);
        p->ComDevice = dir->filePath("no-such-port").toStdString();
        EditPhase(1, 0, 100, 200);
        const std::string spoilt = std::string(k16Bytes).replace(15, 1, "F");
        prompt->push(AbsFile("bad.Abs", {k16Bytes, k16Bytes, spoilt, kEnd}).c_str());
        w->action("Upd_Flash")->trigger();
        QCOMPARE(prompt->messages(), Entries{"PARITY ERROR IN LINE 3"});
        QCOMPARE(std::tuple(QApplication::activeModalWidget() != nullptr, w->isVisible(), w->document().FileSaved(),
                            int(p->CamPos(1, 0, 150)), port.isOpen()),
                 std::tuple(false, true, false, 1, false));

        QDir().mkpath(dir->filePath("fw"));
        prompt->push(AbsFile("fw/PX32.Abs", {k16Bytes, kEnd}).c_str());
        w->action("Upd_Flash")->trigger();
        QCOMPARE(prompt->messages().size(), std::size_t(2));
        QVERIFY(prompt->messages()[1].rfind("Errore ", 0) == 0);
        QCOMPARE(
            std::tuple(QApplication::activeModalWidget() != nullptr, port.isOpen(), QString::fromStdString(p->FwDir)),
            std::tuple(false, false, dir->filePath("fw")));
        prompt->push("");  // the next time: cancelled, nothing happens
        w->action("Upd_Flash")->trigger();
        QCOMPARE(prompt->messages().size(), std::size_t(2));
    }
};

}  // namespace

QTEST_MAIN(FlashWindowTest)
#include "flash_window_test.moc"
