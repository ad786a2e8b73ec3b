// The update window `UpdFlsh` ("Update PX32"): rows of monospaced text on white, the
// progress bar and the connection lamp, rendering the FlashScreen of the update that runs on
// a worker thread. Also the "&Update FLASH" command around it.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/firmware/flash_update.h"

#include <QDialog>

namespace cam {

class ProgressBarWidget;
class QtLinePort;
class FlashRowsWidget;

class FlashWindow : public QDialog, public FlashView {
    Q_OBJECT
public:
    explicit FlashWindow(QWidget* parent = nullptr);
    // Safe from the update's thread: the screen is copied and drawn on the window's thread.
    void display(const FlashScreen& screen) override;
    const FlashScreen& screen() const { return screen_; }

protected:
    void reject() override {}  // the update ends the window, not the Escape key

private:
    void render(const FlashScreen& screen);
    FlashScreen screen_;
    FlashRowsWidget* rows_;
    ProgressBarWidget* bar_;
    QWidget* lamp_;
};

// The update of one firmware file in the window, the exchange on a worker thread. The port
// is closed at the end, whatever the outcome.
FlashOutcome RunFlashFile(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent,
                          const std::string& path);

// "&Update FLASH": the file dialog (FwDir remembered for the next update), then the update.
void RunFlashUpdate(Program& p, QtLinePort& port, Prompt& screenPrompt, QWidget* parent);

}  // namespace cam
