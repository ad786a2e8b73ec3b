// The message window and its modify window driven through their real widgets; the printed list;
// and the message commands of the main window.
#include "widgets/messages/message_window.h"
#include "core/messages/message_file.h"
#include "find_child.h"
#include "gui_tests.h"
#include "main_window_fixture.h"
#include "pdf_text.h"
#include "qt/qt_line_port.h"
#include "widgets/main/device_commands.h"
#include "widgets/main/window_shots.h"
#include "widgets/messages/message_list_painter.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

namespace {

using namespace camtest;

// Runs f on the modal window named `name` as soon as it is shown (the caller then opens it).
void WhenModal(const char* name, std::function<void(QWidget*)> f) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, f] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != name) return;
        timer->stop();
        timer->deleteLater();
        f(modal);
    });
    timer->start();
}

// The window on a private folder, over a list with "OIL" in messages 3 and 9.
class MessageWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<MsgWindow> w;

    std::string File(const char* name) const { return dir->filePath(name).toStdString(); }
    QListWidget* List() const { return child<QListWidget>(w.get(), "LstAlr"); }
    QString Entry(int row) const { return List()->item(row)->text(); }
    QString Label(const char* name) const { return child<QLabel>(w.get(), name)->text(); }
    template <class... A>
    void Trigger(const char* action, const A&... answers) {
        prompt->push(answers...);
        w->action(action)->trigger();
    }
    void Show() {
        w = std::make_unique<MsgWindow>(*p, *prompt, nullptr);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    // Modifies message row + 1: types `keys` into the modify window, then OK or Clear.
    void Modify(int row, const QString& keys, bool ok) {
        List()->setCurrentRow(row);
        WhenModal("MsgModify", [keys, ok](QWidget* m) {
            QTest::keyClicks(child<QLineEdit>(m, "Text1"), keys);
            child<QPushButton>(m, ok ? "kok" : "kcl")->click();
        });
        child<QPushButton>(w.get(), "tMOD")->click();
    }
    int Search(const char* action, const char* answer) {
        Trigger(action, answer);
        return List()->currentRow();
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        p = std::make_unique<Program>();
        ResizeTables(*p);
        p->WorkDir = dir->path().toStdString();
        prompt = std::make_unique<ScriptedPrompt>(false);
        std::tie(p->AlarmMsg[3], p->AlarmMsg[9]) = std::tuple("OIL PRESSURE LOW", "Oil level low");
        MarkMsgSaved(*p);  // as read from a file
    }
    void cleanup() {
        MarkMsgSaved(*p);
        if (w) w->close();
        w.reset();
    }

    // The list commands are checked on their own: here the window calls them and shows what they give.
    void theListItsCaptionsAndItsCommands() {
        p->LngTxt[94] = "&Modifica";
        Show();
        QCOMPARE((QStringList{w->windowTitle(), Entry(2), Label("LM"), child<QPushButton>(w.get(), "tMOD")->text(),
                              child<QPushButton>(w.get(), "tEX")->text()}),
                 (QStringList{"MESSAGES", "003 OIL PRESSURE LOW", "MESSAGE  N.", "&Modifica", "E&XIT"}));
        QCOMPARE(std::pair(List()->count(), List()->currentRow()), std::pair(255, 0));
        QVERIFY(!w->action("c_Rec")->isEnabled());  // no port given to this window
        QCOMPARE(Search("s_Text", "oil"), 2);
        QCOMPARE(Label("LNMsg"), QString("3"));
        QCOMPARE(Search("s_Number", "255"), 254);
        QCOMPARE(Search("s_Number", "0"), 254);  // refused: the selection stays
        QCOMPARE(prompt->messages(), (std::vector<std::string>{"0 = NUMERO NON VALIDO"}));
        List()->setCurrentRow(41);  // as a click on an entry does
        QCOMPARE(Label("LNMsg"), QString("42"));
        Trigger("f_New");
        QCOMPARE(Entry(2), QString("003 "));

        const std::string file = File("plant.Msg");
        std::ofstream(file, std::ios::binary) << "N. 001 \"FROM FILE\"\r\n";
        Trigger("f_Open", file);
        QCOMPARE((QStringList{w->windowTitle(), Entry(0)}),
                 (QStringList{QString::fromStdString("ZETO-QOR -  PROGRAMMATORE DI CAMME PX32 -  " + file),
                              "001 FROM FILE"}));
        Modify(1, "SECOND", true);
        prompt->push(Answer::Yes);  // OVERWRITE FILE
        child<QToolButton>(w.get(), "Sv_Fil")->click();
        QVERIFY(MsgSaved(*p));
        QCOMPARE(ReadFileBytes(file, 1 << 20).bytes.substr(20, 17), std::string("N. 002 \"SECOND\"\r\n"));
        Trigger("f_SaveAs", File("copy"));
        QVERIFY(w->windowTitle().endsWith("copy.Msg"));
    }

    // Clear keeps the message, OK takes what was typed, previewed in two rows; closing then asks.
    void modifyThenCloseWithUnsavedEdits() {
        Show();
        Modify(2, "SOMETHING ELSE", false);
        QCOMPARE(Entry(2), QString("003 OIL PRESSURE LOW"));
        WhenModal("MsgModify", [](QWidget* m) { child<QPushButton>(m, "kcl")->click(); });
        emit List()->itemDoubleClicked(List()->item(2));  // opens the modify window too
        QVERIFY(!QApplication::activeModalWidget());

        List()->setCurrentRow(6);
        QStringList seen;  // title, caption, focus, the two preview rows
        WhenModal("MsgModify", [&](QWidget* m) {
            auto* text1 = child<QLineEdit>(m, "Text1");
            seen << m->windowTitle() << child<QLabel>(m, "ltx")->text() << (text1->hasFocus() ? "focus" : "no focus");
            QTest::keyClicks(text1, "12345678901234567890ABCDEFGHIJKLMNOPQRSTUVWXY");  // 45 characters
            seen << child<QLabel>(m, "row1")->text() + "|" + child<QLabel>(m, "row2")->text();
            const QPalette row1 = child<QLabel>(m, "row1")->palette();
            QCOMPARE(std::pair(row1.color(QPalette::WindowText), row1.color(QPalette::Window)),
                     std::pair(QColor(Qt::cyan), QColor(Qt::black)));
            child<QPushButton>(m, "kok")->click();
        });
        child<QPushButton>(w.get(), "tMOD")->click();
        QCOMPARE(seen << Entry(6), (QStringList{"ALARM MESSAGE MODIFY", "MOIDFY  N. 007", "focus",
                                                "12345678901234567890|ABCDEFGHIJKLMNOPQRST",
                                                "007 12345678901234567890ABCDEFGHIJKLMNOPQRST"}));
        QVERIFY(!MsgSaved(*p));

        prompt->push(Answer::Cancel);
        child<QPushButton>(w.get(), "tEX")->click();
        QVERIFY(w->isVisible());
        QCOMPARE(prompt->asked().back().text, std::string("FILE NOT SAVED\rEXIT ANYWAY ?"));
        prompt->push(Answer::Ok);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    void fontSelectionTakesTheChosenFontAndCancelKeepsIt() {
        Show();
        // A family of this machine that has an italic style, whichever it is.
        QString family;
        for (const QString& f : QFontDatabase::families())
            if (QFontDatabase::styles(f).contains("Italic")) family = f;
        if (family.isEmpty()) QSKIP("no font with an italic style here");
        WhenModal("FontDialog", [family](QWidget* d) {
            static_cast<QFontDialog*>(d)->setCurrentFont(QFont(family, 14, -1, true));
            static_cast<QDialog*>(d)->accept();
        });
        Trigger("f_Font");
        QCOMPARE(std::tuple(QString::fromStdString(p->PrnFontName), p->PrnFontSize, p->PrnFontItalic),
                 std::tuple(family, 14.0, true));
        // The printout is bold whatever the choice.
        QCOMPARE(std::pair(MsgPrintFont(*p).family(), MsgPrintFont(*p).bold()), std::pair(family, true));
        WhenModal("FontDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_Font");
        QCOMPARE(std::pair(QString::fromStdString(p->PrnFontName), p->PrnFontSize), std::pair(family, 14.0));
    }

    void printListsTheMessagesAndThePrinterChoiceIsKept() {
        Show();
        p->MsgFile = File("plant.Msg");
        p->PrintToFile = File("list.pdf");
        Trigger("f_Print");
        QVERIFY(prompt->messages().empty());
        QStringList lines;
        for (const QString& l : PdfText(QString::fromStdString(p->PrintToFile)).split('\n'))
            if (!l.trimmed().isEmpty()) lines << l.trimmed();
        QCOMPARE(lines, (QStringList{"MESSAGES: plant.Msg", "N.003OIL PRESSURE LOW", "N.009Oil level low",
                                     "******************************"}));
        p->PrintToFile = File("missing-folder/list.pdf");
        Trigger("f_Print");
        QCOMPARE(prompt->messages().size(), std::size_t(1));
        QVERIFY(prompt->messages()[0].rfind("The list could not be printed: ", 0) == 0);

        WhenModal("PrintDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_SelPr");
        QCOMPARE(p->PrintToFile, File("missing-folder/list.pdf"));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(File("other.pdf")));
        KeepPrinterChoice(*p, printer);
        QCOMPARE(p->PrintToFile, File("other.pdf"));
        QPrinter back;
        ApplyPrinterChoice(*p, back);
        QCOMPARE(back.outputFormat(), QPrinter::PdfFormat);
    }

    void painterDrawsOneRowPerLineAndStopsAtThePageEnd() {
        QImage page(400, 100, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter g(&page);
        QFont font("Courier New");
        font.setPixelSize(10);
        const std::vector<std::string> lines(20, "N.001XXXX");
        const std::size_t next = PaintMsgListPage(g, page.rect(), lines, 0, font);
        g.end();
        const int step = QFontMetrics(font, &page).lineSpacing();
        QCOMPARE(next, std::size_t(100 / step));
        // Ink in the first line's band, none below the last line drawn.
        auto inkIn = [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < page.width(); ++x)
                    if (page.pixel(x, y) != qRgb(255, 255, 255)) return true;
            return false;
        };
        QCOMPARE(std::pair(inkIn(0, step), inkIn(int(next) * step + 1, page.height())), std::pair(true, false));
    }
};

RegisterGuiTest<MessageWindowTest> registered;

// From the main window: edits of an earlier visit are kept, and asked about before another list
// comes or the program closes.
class MessagesInMainWindowTest : public MainWindowFixture {
    Q_OBJECT

private slots:
    void editsOfAnEarlierVisitAreAskedAboutLater() {
        Start();
        QtLinePort port;
        ConnectDevice(*w, *p, *prompt, port);
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
        QCOMPARE(std::pair(first, prompt->asked().size()), std::pair(QString("001 EDITED"), asked + 1));

        // Receiving asks first; Cancel keeps the edits and opens no port.
        Trigger("Msg_Rec", Answer::Cancel);
        QCOMPARE(std::pair(prompt->asked().size(), prompt->asked().back().text),
                 std::pair(asked + 2, std::string("FILE NOT SAVED\rEXIT ANYWAY ?")));
        QCOMPARE(std::pair(QString::fromStdString(p->AlarmMsg[1]), port.isOpen()), std::pair(QString("EDITED"), false));

        // Closing the program asks too; Cancel keeps it open.
        prompt->push(Answer::Cancel);
        w->close();
        QCOMPARE(
            std::tuple(w->isVisible(), prompt->asked().size(), QString::fromStdString(prompt->asked().back().text)),
            std::tuple(true, asked + 3, QString("FILE NOT SAVED\rEXIT ANYWAY ?")));
        MarkMsgSaved(*p);
    }

    // camdesk --screenshot --window messages FILE: the window with the file loaded, as after Open.
    void screenshotWindowShowsItsFile() {
        Start();
        CommandLine cl;
        cl.file = WriteFile("shot.Msg", "N. 001 \"SHOWN\"\r\n");
        const WindowShot* shot = FindWindowShot("messages");
        QVERIFY(shot && !shot->camFile);
        const std::unique_ptr<QWidget> window = shot->make(*w, *p, *prompt, cl);
        QVERIFY(window);
        window->show();
        QCOMPARE(child<QListWidget>(window.get(), "LstAlr")->item(0)->text(), QString("001 SHOWN"));
        QVERIFY(window->windowTitle().endsWith(QString::fromStdString(cl.file)));
        cl.file = Path("missing.Msg");
        QVERIFY(!shot->make(*w, *p, *prompt, cl));
    }
};

RegisterGuiTest<MessagesInMainWindowTest> registeredWithMain;

}  // namespace

#include "message_window_test.moc"
