// The message window and its modify window, driven through their real widgets by control
// name with a scripted prompt: the sequences a user performs with the list.
#include "gui_tests.h"
#include "message_window_fixture.h"
#include "widgets/ui/qt_prompt.h"

#include <QLabel>
#include <QMessageBox>
#include <QToolButton>

namespace {

using namespace camtest;

class MessageWindowTest : public MessageWindowFixture {
    Q_OBJECT

private slots:
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
        QVERIFY(!MsgSaved(*p));
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
        QVERIFY(MsgSaved(*p));
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
        QVERIFY(MsgSaved(*p));
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
};

RegisterGuiTest<MessageWindowTest> registered;

}  // namespace

#include "message_window_test.moc"
