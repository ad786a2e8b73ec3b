// Standard error of camctl backup and restore, shared by their worker threads: each device's
// messages, every line after the device's name, and on a terminal one progress line a device,
// redrawn in place below the messages.
#pragma once

#include "core/model/scripted_prompt.h"
#include "core/link/size_transfer.h"

#include <mutex>
#include <string>
#include <vector>

namespace cam::cli {

class Board {
public:
    explicit Board(std::vector<std::string> names);
    ~Board();  // the last state of every progress line stays on the screen
    void progress(std::size_t row, const std::string& text);
    void say(std::size_t row, const std::string& text);

private:
    void erase();
    void redraw();

    std::mutex mutex_;
    bool terminal_;
    std::vector<std::string> names_, rows_;
    std::size_t width_ = 0;
    std::size_t drawn_ = 0;
};

// One device's transfer as its progress line.
class BoardView : public TransferView {
public:
    BoardView(Board& board, std::size_t row) : board_(board), row_(row) {}
    void setCaption(const std::string&) override {}
    void setOperation(const std::string& operation) override { operation_ = operation; }
    void setSizeLabel(const std::string& label) override { label_ = label; }
    void setProgress(int percent) override;

private:
    Board& board_;
    std::size_t row_;
    std::string operation_, label_;
};

// Questions are answered No (nothing is forced on a device); every message goes to the board
// and is kept for the summary.
class BoardPrompt : public ScriptedPrompt {
public:
    BoardPrompt(Board& board, std::size_t row) : ScriptedPrompt(false), board_(board), row_(row) {}
    Answer message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) override;

private:
    Board& board_;
    std::size_t row_;
};

}  // namespace cam::cli
