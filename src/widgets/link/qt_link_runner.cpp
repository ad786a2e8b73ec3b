#include "widgets/link/qt_link_runner.h"

#include "core/model/texts.h"
#include "core/link/identify.h"
#include "core/link/port_name.h"
#include "qt/qt_line_port.h"
#include "qt/cp1252.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

namespace cam {

namespace {

// A small window that only the end of the exchange closes: the device link cannot be
// abandoned half-way, and every wait in it is bounded.
class WaitWindow : public QDialog {
public:
    WaitWindow(const QString& text, QWidget* parent) : QDialog(parent) {
        setObjectName("LinkWait");
        setWindowTitle("ZETO");
        setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
        auto* label = new QLabel(text, this);
        label->setObjectName("LabWait");
        label->setMinimumWidth(220);
        label->setAlignment(Qt::AlignCenter);
        (new QVBoxLayout(this))->addWidget(label);
    }
    void finish() {
        finished_ = true;
        accept();
    }
    void reject() override {
        if (finished_) QDialog::reject();
    }

private:
    bool finished_ = false;
};

}  // namespace

template <class F>
auto ThreadPrompt::onScreen(F f) -> decltype(f()) {
    if (QThread::currentThread() == context_->thread()) return f();
    decltype(f()) result{};
    QMetaObject::invokeMethod(
        context_, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}

Answer ThreadPrompt::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    return onScreen([&] { return target_.message(text, title, buttons, icon); });
}

std::optional<std::string> ThreadPrompt::input(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
    return onScreen([&] { return target_.input(prompt, title, defaultText); });
}

std::string ThreadPrompt::openFile(const FileRequest& request) {
    return onScreen([&] { return target_.openFile(request); });
}

std::string ThreadPrompt::saveFile(const FileRequest& request) {
    return onScreen([&] { return target_.saveFile(request); });
}

LinkRunner::LinkRunner(const Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent)
    : p_(p), port_(port), screenPrompt_(screenPrompt), parent_(parent) {}

void LinkRunner::run(const std::function<void(Link&)>& task, QDialog* window, const QString& text) {
    std::unique_ptr<WaitWindow> waitWindow;
    if (!window) {
        waitWindow = std::make_unique<WaitWindow>(text, parent_);
        window = waitWindow.get();
    }
    ThreadPrompt prompt(screenPrompt_, window);
    SteadyClock clock;
    Link link(port_, clock, prompt);
    QThread* screen = QThread::currentThread();
    std::string failure;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        // Nothing may escape the thread (it would end the program with the port held): a
        // fault in the exchange ends it like a failed transfer, with the port closed.
        try {
            task(link);
        } catch (const std::exception& e) {
            failure = e.what();
        } catch (...) {
            failure = "unknown fault";
        }
        if (!failure.empty()) ClosePort(link);
        port_.moveToThread(screen);  // handed back before the screen thread goes on
    }));
    port_.moveToThread(worker.get());
    QObject::connect(worker.get(), &QThread::finished, window, [&] {
        if (waitWindow)
            waitWindow->finish();
        else
            window->accept();
    });
    worker->start();
    window->exec();
    // A window closed early (the transfer window by its owner) must not leave the exchange
    // running: keep serving its questions until it ends.
    if (!worker->isFinished()) {
        QEventLoop loop;
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        if (!worker->isFinished()) loop.exec();
    }
    worker->wait();
    if (!failure.empty())
        screenPrompt_.message(Fill(Text(p_, txt::kExchangeFault), {failure}), "", Buttons::Ok, Icon::Stop);
}

Program LinkScratch(const Program& p) {
    Program s;
    s.Port() = p.Port();
    s.WorkDir = p.WorkDir;
    s.TmpFile = p.TmpFile;
    s.LngTxt = p.LngTxt;
    s.Model() = p.Model();
    return s;
}

bool IdentifyDeviceModal(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent) {
    // The worker identifies on its own copy of the link and model values, so the windows can
    // go on painting the tables meanwhile; the result is copied back once it is done.
    Program probe = LinkScratch(p);
    bool found = false;
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { found = IdentifyDevice(probe, link); }, nullptr, FromCp1252(PortDisplayName(p)) + " ?M");
    p.Model() = probe.Model();
    p.ReadError = probe.ReadError;
    return found;
}

}  // namespace cam
