// The transfer window `Monit_Com`: what is being transferred, the size, and the progress
// bar, while the engine runs on a worker thread. Also the two menu commands around it.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/link/size_transfer.h"

#include <QDialog>

class QLabel;

namespace cam {

class ProgressBarWidget;
class QtLinePort;

class TransferWindow : public QDialog, public TransferView {
    Q_OBJECT
public:
    explicit TransferWindow(QWidget* parent = nullptr);
    // Safe from the engine's thread: each change is carried out on the window's thread.
    void setCaption(const std::string& caption) override;
    void setOperation(const std::string& operation) override;
    void setSizeLabel(const std::string& label) override;
    void setProgress(int percent) override;

    QString operationText() const;
    QString sizeText() const;
    int percent() const;

protected:
    void reject() override {}  // the transfer ends the window, not the Escape key

private:
    template <class F>
    void onScreen(F f);
    QLabel* label1_;
    QLabel* label2_;
    QLabel* label3_;
    ProgressBarWidget* bar_;
};

// "Size &Transmit": the tables go to the device; their model never changes. trace: every
// block sent is written to TST.TXT in the working folder (camdesk --trace).
bool RunSizeTransmit(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent, bool trace = false);

// The reception (ReceiveProgram) on a worker thread while the transfer window shows it; the
// tables of p are not touched. Size Receive and Compare with Device take what it returns.
Outcome<ReceivedProgram> ReceiveProgramModal(const Program& p, QtLinePort& port, Prompt& screenPrompt,
                                             QWidget* parent, std::optional<int> expectedCams);

}  // namespace cam
