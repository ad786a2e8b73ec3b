// The prompt interface with real dialogs: message boxes, input boxes and file dialogs,
// centred over the owner window. Texts cross the screen boundary through Windows-1252.
#pragma once

#include "core/model/prompt.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QFileDialog;
class QInputDialog;
class QMessageBox;

namespace cam {

class QtPrompt : public Prompt {
public:
    explicit QtPrompt(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFile(const FileRequest& request) override;
    std::string saveFile(const FileRequest& request) override;

    // The configured dialogs, not yet shown (the GUI tests inspect them).
    std::unique_ptr<QMessageBox> makeMessageBox(const std::string& text, const std::string& title, Buttons buttons,
                                                Icon icon) const;
    std::unique_ptr<QInputDialog> makeInputDialog(const std::string& prompt, const std::string& title,
                                                  const std::string& defaultText) const;
    std::unique_ptr<QFileDialog> makeFileDialog(const FileRequest& request, bool save) const;

private:
    void centre(QWidget* dialog) const;
    QPointer<QWidget> owner_;
};

}  // namespace cam
