// Runs one exchange with the device on a worker thread while a modal window waits on the
// screen. The window stays responsive and the program uses no CPU while the device is
// silent; the exchange's questions and messages are asked on the screen's thread.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/link/serial_link.h"

#include <QObject>
#include <functional>

class QDialog;
class QWidget;

namespace cam {

class QtLinePort;

// Forwards every question to a Prompt of the screen's thread and waits for its answer.
class ThreadPrompt : public Prompt {
public:
    ThreadPrompt(Prompt& target, QObject* screenContext) : target_(target), context_(screenContext) {}
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFile(const FileRequest& request) override;
    std::string saveFile(const FileRequest& request) override;

private:
    template <class F>
    auto onScreen(F f) -> decltype(f());
    Prompt& target_;
    QObject* context_;
};

class LinkRunner {
public:
    // p gives the wording of the runner's own message.
    LinkRunner(const Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);

    // Runs task on a worker thread and returns when it has finished. window is shown modally
    // meanwhile and closed at the end (the transfer window); without one a small wait window
    // showing text is used. The task may update window through QMetaObject::invokeMethod.
    // An exception thrown by the task ends it: the port is closed and the fault shown.
    void run(const std::function<void(Link&)>& task, QDialog* window = nullptr, const QString& text = {});

private:
    const Program& p_;
    QtLinePort& port_;
    Prompt& screenPrompt_;
    QWidget* parent_;
};

// What an exchange on the worker thread may use of the program data: the port settings, the
// folders, the texts and the model, without the tables the windows go on painting.
Program LinkScratch(const Program& p);

// IdentifyDevice behind a modal wait window (start-up, AutoSelect, the transfers).
bool IdentifyDeviceModal(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);

}  // namespace cam
