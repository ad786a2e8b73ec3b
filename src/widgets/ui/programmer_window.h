// Carprg, the programmer model window ("SELECT KLM"): renders ProgrammerForm. Closing it by
// any means applies the choice and re-dimensions the tables.
#pragma once

#include "core/camfile/file_commands.h"
#include "core/model/programmer_form.h"

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;

namespace cam {

class Carprg : public QDialog {
    Q_OBJECT
public:
    // identify: asks the device (AutSel); statusText: the connection status for LabCom.
    // Either may be empty: AutSel then does nothing, LabCom shows the port as unconnected.
    Carprg(Program& p, std::function<bool(Program&)> identify = {}, std::function<std::string()> statusText = {},
           QWidget* parent = nullptr);

    const ProgrammerForm& model() const { return model_; }

    void done(int result) override;  // applies the selection once

private:
    void render();
    void refreshStatus();

    Program& p_;
    ProgrammerForm model_;
    std::function<bool(Program&)> identify_;
    std::function<std::string()> statusText_;
    QRadioButton* px_[2]{};
    QRadioButton* f_[2]{};
    QRadioButton* enc_[3]{};
    QLabel* labCom_ = nullptr;
    QTimer* timer_ = nullptr;
    bool closed_ = false;
};

// The model chooser of New and Select Programmer: shows Carprg modally over parent.
class CarprgChooser : public ModelChooser {
public:
    CarprgChooser(QWidget* parent, std::function<bool(Program&)> identify = {},
                  std::function<std::string()> statusText = {})
        : parent_(parent), identify_(std::move(identify)), statusText_(std::move(statusText)) {}
    void chooseModel(Program& p) override;

private:
    QWidget* parent_;
    std::function<bool(Program&)> identify_;
    std::function<std::string()> statusText_;
};

}  // namespace cam
