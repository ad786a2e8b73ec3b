#include "programs/camctl/plant_board.h"

#include "programs/camctl/cli_support.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace cam::cli {

Board::Board(std::vector<std::string> names)
    : terminal_(::isatty(STDERR_FILENO) == 1), names_(std::move(names)), rows_(names_.size()) {
    for (const std::string& n : names_) width_ = std::max(width_, n.size());
}

Board::~Board() {
    std::lock_guard lock(mutex_);
    redraw();
}

void Board::progress(std::size_t row, const std::string& text) {
    std::lock_guard lock(mutex_);
    if (!terminal_ || rows_[row] == text) return;
    rows_[row] = text;
    redraw();
}

void Board::say(std::size_t row, const std::string& text) {
    std::lock_guard lock(mutex_);
    erase();
    std::istringstream lines(ConsoleText(text));
    for (std::string line; std::getline(lines, line);) std::cerr << names_[row] << ": " << line << '\n';
    redraw();
    std::cerr << std::flush;
}

void Board::erase() {
    if (drawn_) std::cerr << "\x1b[" << drawn_ << "A\r\x1b[J";
    drawn_ = 0;
}

void Board::redraw() {
    if (!terminal_) return;
    erase();
    for (std::size_t i = 0; i < rows_.size(); ++i)
        std::cerr << names_[i] << std::string(width_ - names_[i].size() + 2, ' ') << rows_[i] << '\n';
    drawn_ = rows_.size();
    std::cerr << std::flush;
}

void BoardView::setProgress(int percent) {
    const int filled = std::clamp(percent, 0, 100) / 5;
    board_.progress(row_, ConsoleText(operation_) + " [" + std::string(filled, '#') + std::string(20 - filled, ' ') +
                              "] " + std::to_string(percent) + "% " + ConsoleText(label_));
}

Answer BoardPrompt::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    board_.say(row_, text);
    return ScriptedPrompt::message(text, title, buttons, icon);
}

}  // namespace cam::cli
