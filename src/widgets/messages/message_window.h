// The message window "MESSAGES": the alarm message list with its File, Search and Communic
// menus. It renders the list of the program data and forwards every command to the core
// routines of messages/ (file, edit and search rules) and link/ (transfers).
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

#include <QDialog>
#include <map>

class QAction;
class QLabel;
class QListWidget;
class QMenuBar;

namespace cam {

class QtLinePort;

class MsgWindow : public QDialog {
    Q_OBJECT
public:
    // port: the run's serial port; without one the transfer commands are not offered.
    MsgWindow(Program& p, Prompt& prompt, QtLinePort* port, QWidget* parent = nullptr);

    // The list filled again from AlarmMsg, the first entry selected.
    void MsgList();
    // The title names the list's file (after Open, Save as, or a file given to the window).
    void ShowFileTitle();

    // Commands, as the menus, buttons and the list reach them.
    void ModifySelected();
    void SearchNumber();
    void SearchText();
    void NewList();
    void OpenList();
    void SaveList();
    void SaveListAs();
    void FontSelection();
    void PrinterSelection();
    void PrintList();
    void TransmitMsg();
    void ReceiveMsg();

    QListWidget* list() const { return lstAlr_; }
    QAction* action(const QString& objectName) const;

protected:
    // Every way of closing passes here: unsaved edits are asked about first.
    void done(int result) override;
    void showEvent(QShowEvent* e) override;

private:
    void BuildMenus(QMenuBar* bar);
    QAction* AddItem(class QMenu* menu, const char* name, const char* caption, void (MsgWindow::*command)(),
                     const QKeySequence& key = {});
    void Select(int index);

    Program& p_;
    Prompt& prompt_;
    QtLinePort* port_;
    QListWidget* lstAlr_;
    QLabel* lnMsg_;
    bool listed_ = false;  // the list is filled at the first activation only
    std::map<QString, QAction*> actions_;
};

// "&Messages" of the main window: the message window, modally. Unsaved edits of an earlier
// visit are remembered (nothing marks them saved), so that closing asks about them.
void ShowMessageWindow(Program& p, Prompt& prompt, QtLinePort& port, QWidget* parent);

}  // namespace cam
