// The message window on a private folder with a scripted prompt, and the helpers that drive
// it and its modal windows through their real widgets. Shared by the message window's tests.
#pragma once

#include "core/model/scripted_prompt.h"
#include "find_child.h"
#include "core/messages/message_file.h"
#include "widgets/messages/message_window.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

namespace camtest {

using namespace cam;

inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs f on the modal window named `name` as soon as it is shown (the caller then opens it).
inline void WhenModal(const char* name, std::function<void(QWidget*)> f) {
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

class MessageWindowFixture : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<MsgWindow> w;

    std::string File(const char* name) const { return dir->filePath(name).toStdString(); }
    QListWidget* List() const { return child<QListWidget>(w.get(), "LstAlr"); }
    QString Entry(int row) const { return List()->item(row)->text(); }
    void Trigger(const char* action) { w->action(action)->trigger(); }
    // A list with "OIL" in messages 3 and 9.
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

protected slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        p = std::make_unique<Program>();
        ResizeTables(*p);
        p->WorkDir = dir->path().toStdString();
        prompt = std::make_unique<ScriptedPrompt>(false);
        p->AlarmMsg[3] = "OIL PRESSURE LOW";
        p->AlarmMsg[9] = "Oil level low";
        MarkMsgSaved(*p);  // as read from a file
    }
    void cleanup() {
        if (w) {
            MarkMsgSaved(*p);
            w->close();
        }
        w.reset();
    }
};

}  // namespace camtest
