// The modify window "ALARM MESSAGE MODIFY": one message in a 40-character box, with the two
// display rows previewed as the device shows them (cyan on black) on every key.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace cam {

class MsgModifyWindow : public QDialog {
    Q_OBJECT
public:
    // text: EditMsgText; index: EditMsgNum (the label shows index + 1).
    MsgModifyWindow(const std::string& text, int index, QWidget* parent = nullptr);
    // The text typed, as Windows-1252 bytes.
    std::string typed() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void preview();
    QLabel* ltx_;
    QLineEdit* text1_;
    QLabel* row1_;
    QLabel* row2_;
};

// Shows the window modally: the typed text after "&OK", nullopt after "&Clear" or Escape.
std::optional<std::string> ModifyMessage(const std::string& text, int index, QWidget* parent);

}  // namespace cam
