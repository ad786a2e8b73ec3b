// The compare window: what differs between the tables (A) and another program (B), one
// difference a line; choosing one shows its size and cam on the chart behind the window.
// Also the two Communic commands that fill it.
#pragma once

#include "core/compare/program_diff.h"
#include "core/model/program.h"
#include "core/model/prompt.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;

namespace cam {

class QtLinePort;

class CompareWindow : public QDialog {
    Q_OBJECT
public:
    // show(size, cam): a difference was chosen; size 0 or cam -1 when it names none.
    CompareWindow(const Program& texts, const Comparison& comparison, std::function<void(int, int)> show,
                  QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }

private:
    void choose(int row);
    Comparison comparison_;
    std::function<void(int, int)> show_;
    QListWidget* list_;
};

// How the tables are named as A: the title of their cam file, else "the chart".
std::string TablesName(const Program& p);

// "Compare with &File...": asks for a cam file and compares the tables with it. nullopt when
// the user cancels or the file cannot be read (said through prompt).
std::optional<Comparison> CompareTablesWithFile(const Program& p, Prompt& prompt);

// "Compare with &Device": receives what the device holds on a worker thread behind the transfer
// window, into a program of its own, and compares the tables with it. The tables never
// change. nullopt when the device could not be read (said through prompt).
std::optional<Comparison> CompareTablesWithDevice(const Program& p, QtLinePort& port, Prompt& prompt,
                                                  QWidget* parent);

}  // namespace cam
