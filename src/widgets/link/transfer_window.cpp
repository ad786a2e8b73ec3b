#include "widgets/link/transfer_window.h"

#include "core/model/texts.h"
#include "widgets/link/progress_bar_widget.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "qt/cp1252.h"

#include <QLabel>
#include <QMetaObject>
#include <QThread>
#include <QVBoxLayout>

namespace cam {

TransferWindow::TransferWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("Monit_Com");
    setWindowTitle("RICEZIONE");
    setWindowFlags(windowFlags() & ~Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    label1_ = new QLabel(this);
    label1_->setObjectName("Label1");
    label2_ = new QLabel(this);
    label2_->setObjectName("Label2");
    label3_ = new QLabel(this);
    label3_->setObjectName("Label3");
    bar_ = new ProgressBarWidget(this);
    bar_->setObjectName("Barra");
    for (QLabel* l : {label1_, label2_, label3_}) {
        l->setAlignment(Qt::AlignCenter);
        layout->addWidget(l);
    }
    layout->addWidget(bar_);
    setMinimumWidth(300);
}

template <class F>
void TransferWindow::onScreen(F f) {
    if (QThread::currentThread() == thread())
        f();
    else
        QMetaObject::invokeMethod(this, f, Qt::QueuedConnection);
}

void TransferWindow::setCaption(const std::string& caption) {
    onScreen([this, t = FromCp1252(caption)] { setWindowTitle(t); });
}
void TransferWindow::setOperation(const std::string& operation) {
    onScreen([this, t = FromCp1252(operation)] { label1_->setText(t); });
}
void TransferWindow::setSizeLabel(const std::string& label) {
    onScreen([this, t = FromCp1252(label)] { label2_->setText(t); });
}
void TransferWindow::setProgress(int percent) {
    onScreen([this, percent] { bar_->setPercent(percent); });
}

QString TransferWindow::operationText() const { return label1_->text(); }
QString TransferWindow::sizeText() const { return label2_->text(); }
int TransferWindow::percent() const { return bar_->percent(); }

bool RunSizeTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent, bool trace) {
    // The engine works on its own copy so the chart can be painted meanwhile.
    Program copy = p;
    bool sent = false;
    TransferWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run(
            [&](Link& link) {
                link.InDevEnvironment = trace;
                sent = SizeTransmit(copy, link, window).sent;
            },
            &window);
    p.NEncoders = copy.NEncoders;
    return sent;
}

Outcome<ReceivedProgram> ReceiveProgramModal(const Program& p, QtLinePort& port, Prompt& screenPrompt,
                                             QWidget* parent, std::optional<int> expectedCams) {
    Program scratch = LinkScratch(p);
    Outcome<ReceivedProgram> received = Result::Failure(Text(p, txt::kReceptionIncomplete));
    TransferWindow window(parent);
    LinkRunner(p, port, screenPrompt, parent)
        .run([&](Link& link) { received = ReceiveProgram(scratch, link, window, expectedCams); }, &window);
    return received;
}

}  // namespace cam
