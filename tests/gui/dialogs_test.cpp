// The programmer window, the information window, the proportional resizer and the Qt prompt.
#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "widgets/ui/info_window.h"
#include "widgets/ui/programmer_window.h"
#include "widgets/ui/qt_prompt.h"
#include "widgets/ui/qt_resizer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace cam;

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // The model's rules are the programmer form's; here that the buttons show them and a click
    // and Auto Select reach them.
    void programmerWindowShowsAndAppliesTheModel() {
        Program p;
        std::tie(p.NCams, p.NSizes, p.ComPort) = std::tuple(32, 15, 3);
        ResizeTables(p);
        Carprg w(p);
        w.show();
        QCOMPARE(std::tuple(child<QRadioButton>(&w, "O_PX1")->isChecked(),
                            child<QRadioButton>(&w, "O_ENC1")->isEnabled(), child<QLabel>(&w, "LabCom")->text()),
                 std::tuple(true, false, QString("Serial Port COM 3 Unconnected")));
        child<QRadioButton>(&w, "O_PX0")->click();
        auto* sizes60 = child<QRadioButton>(&w, "O_F1");
        QCOMPARE(std::tuple(sizes60->text(), sizes60->isChecked()), std::tuple(QString("60 SIZES"), true));
        child<QPushButton>(&w, "Command2")->click();  // Clear closes like OK
        QCOMPARE(std::tuple(w.isVisible(), p.CamPos.cams(), p.CamPos.sizes()), std::tuple(false, 16, 60));

        // Auto Select asks the device; the link status is the one given.
        const auto autoSelect = [](Program& q) {
            std::tie(q.NCams, q.NSizes) = std::tuple(32, 7);
            return true;
        };
        Carprg linked(p, autoSelect, [] { return std::string("Serial Port COM1 Connected to 9600"); });
        linked.show();
        QCOMPARE(child<QLabel>(&linked, "LabCom")->text(), QString("Serial Port COM1 Connected to 9600"));
        child<QPushButton>(&linked, "AutSel")->click();
        QVERIFY(child<QRadioButton>(&linked, "O_F0")->isChecked());
        linked.reject();  // closing by the frame applies the choice as well
        QCOMPARE((QList<int>{p.CamPos.cams(), p.CamPos.sizes()}), (QList<int>{32, 7}));
    }

    void infoWindowVersionAndLinks() {
        QTemporaryDir dir;
        Program p;
        p.WorkDir = QFile::encodeName(dir.path()).toStdString();
        ScriptedPrompt prompt;
        QList<QUrl> opened;
        bool succeed = false;
        INTESTA w(p, prompt, nullptr, [&](const QUrl& u) {
            opened << u;
            return succeed;
        });
        w.show();
        QCOMPARE(child<QLabel>(&w, "Label2")->text(), QString("VERSION 2.0.2"));
        // The programmer's picture, not an empty square: the panel's grey, the display's green.
        const QImage picture = child<QLabel>(&w, "Image2")->pixmap().toImage();
        QCOMPARE(std::tuple(picture.size(), picture.pixelColor(40, 300).name(), picture.pixelColor(240, 150).name()),
                 std::tuple(QSize(480, 480), QString("#c7cdd4"), QString("#9fcf6a")));

        child<QPushButton>(&w, "Command3")->click();  // no manual: nothing at all
        QCOMPARE(std::tuple(opened.size(), prompt.asked().size()), std::tuple(qsizetype(0), std::size_t(0)));

        const QString manual = dir.filePath("Software use manual cam programmer X9K31.pdf");
        QVERIFY(QFile(manual).open(QIODevice::WriteOnly));
        child<QPushButton>(&w, "Command3")->click();
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(manual)});
        QCOMPARE(prompt.messages(), std::vector<std::string>{"ERROR 31"});

        succeed = true;
        child<QPushButton>(&w, "Command3")->click();
        QVERIFY(!w.isEnabled());  // waits a second for the viewer
        QTRY_VERIFY_WITH_TIMEOUT(w.isEnabled(), 3000);

        child<QPushButton>(&w, "Command2")->click();
        child<QPushButton>(&w, "Command1")->click();
        QCOMPARE(opened.last(), QUrl("mailto:support@example.com"));
        QCOMPARE(opened[opened.size() - 2], QUrl("https://example.com/camdesk"));
        child<QPushButton>(&w, "T_OK")->click();
        QVERIFY(!w.isVisible());
    }

    void resizerScalesFromTheRecordsWithoutDrift() {
        QWidget form;
        form.resize(200, 100);
        auto* a = new QLabel("a", &form);
        a->setGeometry(10, 20, 50, 14);
        a->setFont(QFont(a->font().family(), 8));
        auto* b = new QLabel("b", &form);
        b->setGeometry(100, 50, 40, 10);
        b->setProperty(kResizeTagProperty, "@l,t");
        form.show();
        ClsResize r(&form);
        r.ReInitialise();

        const auto resized = [&](int w, int h) {
            form.resize(w, h);
            r.ResizeControls();
            return std::tuple(a->geometry(), a->font().pointSizeF(), b->geometry());
        };
        // b moves and keeps its size.
        QCOMPARE(resized(400, 200), std::tuple(QRect(20, 40, 100, 28), 16.0, QRect(200, 100, 40, 10)));
        for (int w : {333, 251, 777, 199}) resized(w, w / 3);
        QCOMPARE(resized(200, 100), std::tuple(QRect(10, 20, 50, 14), 8.0, QRect(100, 50, 40, 10)));
    }

    void fileDialogsMatchAnyCaseAndRefuseAMissingFolder() {
        QTemporaryDir dir;
        for (const char* name : {"X.CAM", "x.Cam", "y.cam", "notes.txt"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        QtPrompt prompt;
        const std::string folder = QFile::encodeName(dir.path()).toStdString();
        auto dialog = prompt.makeFileDialog(
            {"Open file", {{"Cam File (*.Cam)", "*.cam"}, {"All Files   (*.*)", "*.*"}}, folder, ""}, false);
        auto* types = child<QComboBox>(dialog.get(), "fileTypeCombo");
        QCOMPARE((QStringList{types->itemText(0), types->itemText(1)}),
                 (QStringList{"Cam File (*.Cam)", "All Files   (*.*)"}));
        dialog->show();
        auto* view = child<QAbstractItemView>(dialog.get(), "listView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
        types->setCurrentIndex(1);
        emit types->activated(1);  // as a choice in the list does: the filter goes by position
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 4);
        QCOMPARE(dialog->windowTitle(), QString("Open file"));

        // The save dialog asks before overwriting and refuses a folder that is not there.
        dialog = prompt.makeFileDialog({"Save", {{"Cam File (*.Cam)", "*.cam"}}, folder, ""}, true);
        QCOMPARE(std::tuple(dialog->acceptMode(), dialog->testOption(QFileDialog::DontConfirmOverwrite)),
                 std::tuple(QFileDialog::AcceptSave, false));
        dialog->show();
        auto* name = child<QLineEdit>(dialog.get(), "fileNameEdit");
        QString said;
        for (const QString& typed : {dir.filePath("no/such/folder/a.Cam"), dir.filePath("a.Cam")}) {
            name->setText(typed);
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    said = box->text();
                    box->accept();
                }
            });
            static_cast<QDialog*>(dialog.get())->accept();  // as the Save button does
            QCoreApplication::processEvents();
        }
        QVERIFY2(said.startsWith(dir.filePath("no/such/folder") + "\nDirectory not found."), qPrintable(said));
        QCOMPARE(std::tuple(dialog->result(), dialog->selectedFiles().value(0)),
                 std::tuple(int(QDialog::Accepted), dir.filePath("a.Cam")));
    }

    void messageBoxesAnswerAndTakeTheProgramTitle() {
        QApplication::setApplicationDisplayName("camdesk");
        QWidget owner;
        owner.setGeometry(300, 200, 600, 400);
        owner.show();
        QtPrompt prompt(&owner);
        auto box = prompt.makeMessageBox("text", "", Buttons::YesNoCancel, Icon::Exclamation);
        QCOMPARE(std::tuple(box->windowTitle(), box->icon()), std::tuple(QString("camdesk"), QMessageBox::Warning));
        box->show();
        const QPoint off = box->frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2, "centred on its owner");
        box->close();
        // The closing question of unsaved edits has Cancel as its default button.
        box = prompt.makeMessageBox("FILE NOT SAVED\rEXIT ANYWAY ?", "", Buttons::OkCancelDefaultCancel,
                                    Icon::Exclamation);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
        QVERIFY(box->button(QMessageBox::Ok));

        // The real modal box, answered by pressing its No button.
        QTimer::singleShot(0, [] {
            if (auto* modal = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                modal->button(QMessageBox::No)->click();
        });
        QCOMPARE(prompt.message("Save?", "T", Buttons::YesNoCancel, Icon::Question), Answer::No);
    }

    void inputBoxRefusesCharactersTheFilesCannotCarry() {
        QtPrompt prompt;
        auto dialog = prompt.makeInputDialog("Remark", "Cam remark N.1", "old");
        auto* edit = dialog->findChild<QLineEdit*>();
        QVERIFY(edit && edit->validator());
        QString ok = QString::fromUtf8("caf\u00e9 \u20ac"), bad = QString::fromUtf8("\u2192");
        int pos = 0;
        QCOMPARE(std::tuple(edit->validator()->validate(ok, pos), edit->validator()->validate(bad, pos),
                            dialog->textValue()),
                 std::tuple(QValidator::Acceptable, QValidator::Invalid, QString("old")));

        QTimer::singleShot(0, [] {
            if (auto* modal = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                modal->setTextValue(QString::fromUtf8("caf\u00e9"));
                modal->accept();
            }
        });
        QCOMPARE(prompt.input("Remark", "T", "").value_or("?"), std::string("caf\xe9"));
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
