// The message window and its modify window, driven through their real widgets by control
// name with a scripted prompt: the sequences a user performs with the list.
#include "messages/message_window.h"
#include "app/device_commands.h"
#include "app/window_shots.h"
#include "core/scripted_prompt.h"
#include "find_child.h"
#include "gui_tests.h"
#include "link/qt_serial_port.h"
#include "main_window_fixture.h"
#include "messages/message_file.h"
#include "messages/message_list_painter.h"
#include "ui/qt_prompt.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

namespace {

using namespace cam;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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

class MessageWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<MsgWindow> w;

    std::string File(const char* name) const { return dir->filePath(name).toStdString(); }
    QListWidget* List() const { return child<QListWidget>(w.get(), "LstAlr"); }
    QString Entry(int row) const { return List()->item(row)->text(); }
    void Trigger(const char* action) { w->action(action)->trigger(); }
    void Show() {
        w = std::make_unique<MsgWindow>(*p, *prompt, nullptr);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    // Modifies the selected message: types `keys` into the modify window, then OK or Clear.
    void Modify(const QString& keys, bool ok) {
        WhenModal("MsgModify", [keys, ok](QWidget* m) {
            auto* text1 = child<QLineEdit>(m, "Text1");
            QTest::keyClicks(text1, keys);
            child<QPushButton>(m, ok ? "kok" : "kcl")->click();
        });
        child<QPushButton>(w.get(), "tMOD")->click();
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        p = std::make_unique<Program>();
        ResizeTables(*p);
        p->WorkDir = dir->path().toStdString();
        prompt = std::make_unique<ScriptedPrompt>(false);
        p->AlarmMsg[3] = "OIL PRESSURE LOW";
        p->AlarmMsg[9] = "Oil level low";
    }
    void cleanup() {
        if (w) {
            p->MsgSaved = true;
            w->close();
        }
        w.reset();
    }

    void loadShowsTheListTheCaptionsAndTheMenus() {
        p->LngTxt[94] = "&Modifica";
        Show();
        QCOMPARE(w->windowTitle(), QString("MESSAGES"));
        QCOMPARE(List()->count(), 255);
        QCOMPARE(Entry(2), QString("003 OIL PRESSURE LOW"));
        QCOMPARE(Entry(254), QString("255 "));
        QCOMPARE(List()->currentRow(), 0);
        QCOMPARE(child<QLabel>(w.get(), "LM")->text(), QString("MESSAGE  N."));
        QCOMPARE(child<QLabel>(w.get(), "LNMsg")->text(), QString("1"));
        QCOMPARE(child<QPushButton>(w.get(), "tMOD")->text(), QString("&Modifica"));
        QCOMPARE(child<QPushButton>(w.get(), "tEX")->text(), QString("E&XIT"));
        child<QToolButton>(w.get(), "Sv_Fil");
        for (const char* item : {"f_New", "f_Open", "f_Save", "f_SaveAs", "f_Font", "f_SelPr", "f_Print", "f_Exit",
                                 "s_Text", "s_Number", "c_Trans", "c_Rec"})
            QVERIFY2(w->action(item), item);
        QCOMPARE(w->action("s_Number")->text(), QString("&Number"));
        QCOMPARE(w->action("c_Trans")->text(), QString("Transmit MSG"));
        QVERIFY(!w->action("c_Rec")->isEnabled());  // no port given to this window
        // A click on an entry shows its number.
        List()->setCurrentRow(41);
        QCOMPARE(child<QLabel>(w.get(), "LNMsg")->text(), QString("42"));
    }

    void modifyPreviewsTheRowsAndTakesFortyCharacters() {
        Show();
        List()->setCurrentRow(6);
        QString label, rows, selected;
        WhenModal("MsgModify", [&](QWidget* m) {
            label = child<QLabel>(m, "ltx")->text();
            auto* text1 = child<QLineEdit>(m, "Text1");
            selected = text1->hasFocus() ? "focus" : "no focus";
            QTest::keyClicks(text1, "12345678901234567890ABCDEFGHIJKLMNOPQRSTUVWXY");  // 45 characters
            rows = child<QLabel>(m, "row1")->text() + "|" + child<QLabel>(m, "row2")->text();
            QCOMPARE(m->windowTitle(), QString("ALARM MESSAGE MODIFY"));
            QCOMPARE(child<QLabel>(m, "row1")->palette().color(QPalette::WindowText), QColor(Qt::cyan));
            QCOMPARE(child<QLabel>(m, "row1")->palette().color(QPalette::Window), QColor(Qt::black));
            child<QPushButton>(m, "kok")->click();
        });
        child<QPushButton>(w.get(), "tMOD")->click();
        QCOMPARE(label, QString("MOIDFY  N. 007"));
        QCOMPARE(selected, QString("focus"));
        QCOMPARE(rows, QString("12345678901234567890|ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(Entry(6), QString("007 12345678901234567890ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(p->AlarmMsg[7], std::string("12345678901234567890ABCDEFGHIJKLMNOPQRST"));
        QVERIFY(!p->MsgSaved);
    }

    void theWholeTextIsSelectedSoTypingReplacesIt() {
        Show();
        List()->setCurrentRow(2);
        Modify("NEW", true);
        QCOMPARE(Entry(2), QString("003 NEW"));
    }

    void clearAfterTypingKeepsTheMessageAndTheSavedFlag() {
        Show();
        List()->setCurrentRow(2);
        Modify("SOMETHING ELSE", false);
        QCOMPARE(Entry(2), QString("003 OIL PRESSURE LOW"));
        QVERIFY(p->MsgSaved);
        // A double click opens the modify window too.
        WhenModal("MsgModify", [](QWidget* m) { child<QPushButton>(m, "kcl")->click(); });
        emit List()->itemDoubleClicked(List()->item(2));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void closingWithUnsavedEditsAsksAndCancelKeepsTheWindow() {
        Show();
        List()->setCurrentRow(0);
        Modify("EDITED", true);
        prompt->push(Answer::Cancel);
        child<QPushButton>(w.get(), "tEX")->click();
        QVERIFY(w->isVisible());
        QCOMPARE(prompt->asked().back().text, std::string("FILE NOT SAVED\rEXIT ANYWAY ?"));
        QVERIFY(prompt->asked().back().buttons == Buttons::OkCancelDefaultCancel);
        prompt->push(Answer::Ok);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(prompt->asked().size(), std::size_t(2));
    }

    // On the screen the closing question has Cancel as its default button.
    void theClosingQuestionDefaultsToCancelOnTheScreen() {
        QtPrompt screen;
        const auto box = screen.makeMessageBox("FILE NOT SAVED\rEXIT ANYWAY ?", "", Buttons::OkCancelDefaultCancel,
                                               Icon::Exclamation);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
        QVERIFY(box->button(QMessageBox::Ok));
        QCOMPARE(box->icon(), QMessageBox::Warning);
    }

    void searchByTextFindsThreeThenNineThenSaysNotFound() {
        Show();
        prompt->push("oil");
        Trigger("s_Text");
        QCOMPARE(List()->currentRow(), 2);
        QCOMPARE(child<QLabel>(w.get(), "LNMsg")->text(), QString("3"));
        prompt->push("oil");
        Trigger("s_Text");
        QCOMPARE(List()->currentRow(), 8);
        prompt->push("oil");
        Trigger("s_Text");
        QCOMPARE(List()->currentRow(), 8);  // the selection stays
        QVERIFY(prompt->messages() == std::vector<std::string>{"TESTO NON TROVATO"});
        prompt->push("oil");
        Trigger("s_Text");
        QCOMPARE(List()->currentRow(), 2);
    }

    void searchByNumber() {
        Show();
        prompt->push("255");
        Trigger("s_Number");
        QCOMPARE(List()->currentRow(), 254);
        prompt->push("0");
        Trigger("s_Number");
        QVERIFY(prompt->messages() == std::vector<std::string>{"0 = NUMERO NON VALIDO"});
        prompt->push(std::nullopt);
        Trigger("s_Number");
        QCOMPARE(List()->currentRow(), 254);
        QCOMPARE(prompt->messages().size(), std::size_t(1));
    }

    void openShowsTheFileAndSaveWritesItBack() {
        const std::string file = File("plant.Msg");
        std::ofstream(file, std::ios::binary) << "N. 001 \"FROM FILE\"\r\n";
        Show();
        prompt->push(file.c_str());
        Trigger("f_Open");
        QCOMPARE(w->windowTitle(), QString::fromStdString("ZETO-QOR -  PROGRAMMATORE DI CAMME PX32 -  " + file));
        QCOMPARE(Entry(0), QString("001 FROM FILE"));
        QCOMPARE(Entry(2), QString("003 "));
        List()->setCurrentRow(1);
        Modify("SECOND", true);
        prompt->push(Answer::Yes);  // OVERWRITE FILE
        child<QToolButton>(w.get(), "Sv_Fil")->click();
        QVERIFY(p->MsgSaved);
        const std::string expected = "N. 001 \"FROM FILE\"\r\nN. 002 \"SECOND\"\r\nN. 003\r\n";
        QCOMPARE(Bytes(file).substr(0, expected.size()), expected);
        // Save as under a new name; the title follows it.
        prompt->push(File("copy").c_str());
        Trigger("f_SaveAs");
        QCOMPARE(p->MsgFile, File("copy.Msg"));
        QVERIFY(w->windowTitle().endsWith("copy.Msg"));
    }

    void newEmptiesTheList() {
        Show();
        Trigger("f_New");
        QCOMPARE(Entry(2), QString("003 "));
        QVERIFY(prompt->asked().empty());
    }

    void fontSelectionTakesTheChosenFontAndCancelKeepsIt() {
        Show();
        // A family of this machine that has an italic style, whichever it is.
        QString family;
        for (const QString& f : QFontDatabase::families())
            if (QFontDatabase::styles(f).contains("Italic")) family = f;
        if (family.isEmpty()) QSKIP("no font with an italic style here");
        WhenModal("FontDialog", [family](QWidget* d) {
            QFont f(family);
            f.setPointSize(14);
            f.setItalic(true);
            static_cast<QFontDialog*>(d)->setCurrentFont(f);
            static_cast<QDialog*>(d)->accept();
        });
        Trigger("f_Font");
        QCOMPARE(QString::fromStdString(p->PrnFontName), family);
        QCOMPARE(p->PrnFontSize, 14.0);
        QVERIFY(p->PrnFontItalic);
        QCOMPARE(MsgPrintFont(*p).family(), family);
        QVERIFY(MsgPrintFont(*p).bold());  // the printout is bold whatever the choice
        WhenModal("FontDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_Font");
        QCOMPARE(QString::fromStdString(p->PrnFontName), family);
        QCOMPARE(p->PrnFontSize, 14.0);
    }

    void printerSelectionCancelledChangesNothing() {
        Show();
        p->PrintToFile = File("chosen.pdf");
        WhenModal("PrintDialog", [](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
        Trigger("f_SelPr");
        QCOMPARE(p->PrintToFile, File("chosen.pdf"));
        // What the dialog chose is kept for the run: a PDF file, or a printer.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(File("other.pdf")));
        KeepPrinterChoice(*p, printer);
        QCOMPARE(p->PrintToFile, File("other.pdf"));
        QPrinter back;
        ApplyPrinterChoice(*p, back);
        QCOMPARE(back.outputFormat(), QPrinter::PdfFormat);
    }

    void printToPdfListsTheMessages() {
        Show();
        p->MsgFile = File("plant.Msg");
        p->PrintToFile = File("list.pdf");
        Trigger("f_Print");
        QVERIFY(prompt->messages().empty());
        QVERIFY(Bytes(p->PrintToFile).rfind("%PDF", 0) == 0);
        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        if (pdftotext.isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        QProcess run;
        run.start(pdftotext, {"-layout", QString::fromStdString(p->PrintToFile), "-"});
        QVERIFY(run.waitForFinished(30000));
        const QStringList lines = QString::fromUtf8(run.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QStringList trimmed;
        for (const QString& l : lines)
            if (!l.trimmed().isEmpty()) trimmed << l.trimmed();
        QCOMPARE(trimmed, (QStringList{"MESSAGES: plant.Msg", "N.003OIL PRESSURE LOW", "N.009Oil level low",
                                       "******************************"}));
    }

    void aPrintThatCannotBeWrittenSaysWhy() {
        Show();
        p->PrintToFile = File("missing-folder/list.pdf");
        Trigger("f_Print");
        QCOMPARE(prompt->messages().size(), std::size_t(1));
        QVERIFY(prompt->messages()[0].rfind("The list could not be printed: ", 0) == 0);
    }

    // The painter on an image: one text line a list line, as many as fit on the page.
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
        QVERIFY(inkIn(0, step));
        QVERIFY(!inkIn(static_cast<int>(next) * step + 1, page.height()));
    }
};

RegisterGuiTest<MessageWindowTest> registered;

// The message window reached from the main window: edits of an earlier visit are kept and
// asked about when the program closes.
class MessagesInMainWindowTest : public camtest::MainWindowFixture {
    Q_OBJECT

    std::unique_ptr<QtSerialPort> port;

    void Connect() {
        port = std::make_unique<QtSerialPort>();
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
        QVERIFY(!p->MsgSaved);

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
        p->MsgSaved = true;
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
        p->MsgSaved = false;
        prompt->push(Answer::Cancel);
        w->action("Msg_Rec")->trigger();
        QCOMPARE(prompt->asked().size(), std::size_t(1));
        QCOMPARE(prompt->asked()[0].text, std::string("FILE NOT SAVED\rEXIT ANYWAY ?"));
        QCOMPARE(p->AlarmMsg[1], std::string("MINE"));
        QVERIFY(!port->isOpen());
        p->MsgSaved = true;
    }
};

RegisterGuiTest<MessagesInMainWindowTest> registeredWithMain;

}  // namespace

#include "message_window_test.moc"
