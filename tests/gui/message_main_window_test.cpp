// The message commands of the main window: the message window reached from it, its unsaved
// edits asked about when the program closes or another list comes, and its screenshot.
#include "widgets/main/device_commands.h"
#include "widgets/main/window_shots.h"
#include "gui_tests.h"
#include "qt/qt_line_port.h"
#include "main_window_fixture.h"
#include "message_window_fixture.h"

namespace {

using namespace camtest;

// The message window reached from the main window: edits of an earlier visit are kept and
// asked about when the program closes.
class MessagesInMainWindowTest : public camtest::MainWindowFixture {
    Q_OBJECT

    std::unique_ptr<QtLinePort> port;

    void Connect() {
        port = std::make_unique<QtLinePort>();
        ConnectDevice(*w, *p, *prompt, *port);
    }

private slots:
    void editsOfAnEarlierVisitAreAskedAboutWhenTheProgramCloses() {
        Start();
        Connect();
        WhenModal("Messages", [this](QWidget* m) {
            child<QListWidget>(m, "LstAlr")->setCurrentRow(0);
            WhenModal("MsgModify", [](QWidget* modify) {
                QTest::keyClicks(child<QLineEdit>(modify, "Text1"), "EDITED");
                child<QPushButton>(modify, "kok")->click();
            });
            child<QPushButton>(m, "tMOD")->click();
            prompt->push(Answer::Ok);  // FILE NOT SAVED / EXIT ANYWAY ?
            child<QPushButton>(m, "tEX")->click();
        });
        w->action("Al_Msg")->trigger();
        QVERIFY(!MsgSaved(*p));

        // A second visit shows the edit and still knows it is not saved.
        QString first;
        std::size_t asked = 0;
        WhenModal("Messages", [&](QWidget* m) {
            first = child<QListWidget>(m, "LstAlr")->item(0)->text();
            asked = prompt->asked().size();
            prompt->push(Answer::Ok);
            child<QPushButton>(m, "tEX")->click();
        });
        w->action("Al_Msg")->trigger();
        QCOMPARE(first, QString("001 EDITED"));
        QCOMPARE(prompt->asked().size(), asked + 1);

        // Closing the program asks about them too; Cancel keeps it open.
        prompt->push(Answer::Cancel);
        w->close();
        QVERIFY(w->isVisible());
        QCOMPARE(prompt->asked().back().text, std::string("FILE NOT SAVED\rEXIT ANYWAY ?"));
        MarkMsgSaved(*p);
    }

    // camdesk --screenshot --window messages FILE: the window with the file loaded, as after Open.
    void screenshotWindowShowsItsFile() {
        Start();
        const std::string path = dir->filePath("shot.Msg").toStdString();
        std::ofstream(path, std::ios::binary) << "N. 001 \"SHOWN\"\r\n";
        const WindowShot* shot = FindWindowShot("messages");
        QVERIFY(shot);
        QVERIFY(!shot->camFile);
        CommandLine cl;
        cl.file = path;
        const std::unique_ptr<QWidget> window = shot->make(*w, *p, *prompt, cl);
        QVERIFY(window);
        window->show();
        QCOMPARE(child<QListWidget>(window.get(), "LstAlr")->item(0)->text(), QString("001 SHOWN"));
        QVERIFY(window->windowTitle().endsWith(QString::fromStdString(path)));
        cl.file = dir->filePath("missing.Msg").toStdString();
        QVERIFY(!shot->make(*w, *p, *prompt, cl));
    }

    void receivingWithUnsavedEditsAsksFirstAndCancelKeepsThem() {
        Start();
        Connect();
        p->AlarmMsg[1] = "MINE";
        prompt->push(Answer::Cancel);
        w->action("Msg_Rec")->trigger();
        QCOMPARE(prompt->asked().size(), std::size_t(1));
        QCOMPARE(prompt->asked()[0].text, std::string("FILE NOT SAVED\rEXIT ANYWAY ?"));
        QCOMPARE(p->AlarmMsg[1], std::string("MINE"));
        QVERIFY(!port->isOpen());
        MarkMsgSaved(*p);
    }
};

RegisterGuiTest<MessagesInMainWindowTest> registeredWithMain;

}  // namespace

#include "message_main_window_test.moc"
