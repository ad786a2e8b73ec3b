// SelPort, the port window ("Select Port"): renders PortChoice. OK saves the options file;
// "&EXIT" leaves without saving, the choice staying in effect for the run.
#pragma once

#include "core/model/prompt.h"
#include "core/link/port_choice.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace cam {

class SelPort : public QDialog {
    Q_OBJECT
public:
    // ports: the system's list (SystemPorts()); prompt reports a failed save.
    SelPort(Program& p, Prompt& prompt, std::vector<PortEntry> ports, QWidget* parent = nullptr);
    // The typed port is taken when its box loses the focus, and it loses it while the dialog
    // part is taken down: by then this window's own part is gone.
    ~SelPort() override;

    const PortChoice& choice() const { return choice_; }

private:
    void render();
    void takeTypedPort();
    void confirm();

    Program& p_;
    Prompt& prompt_;
    PortSettings before_;  // the port when the window opened
    PortChoice choice_;
    QComboBox* comSel_ = nullptr;
    QComboBox* comBaud_ = nullptr;
    QLabel* panset_ = nullptr;
};

// "&Set CommPort": shows SelPort modally over parent with the system's ports.
// True when the choice was confirmed (and saved with the options).
bool ShowPortWindow(Program& p, Prompt& prompt, QWidget* parent);

}  // namespace cam
