// The progress of a transfer, a firmware update or a printout on standard error, redrawn in
// place on a terminal; nothing when standard error is no terminal (a log or a pipe gets the
// messages only).
#pragma once

#include "core/link/size_transfer.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>

namespace cam::cli {

// One progress bar on standard error, redrawn in place on a terminal: "OPERATION [####    ] 40% AFTER".
class ConsoleBar {
public:
    ConsoleBar() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~ConsoleBar() { end(); }
    void draw(const std::string& operation, int percent, const std::string& after) {
        if (!terminal_) return;
        const int filled = std::clamp(percent, 0, 100) * 30 / 100;
        std::cerr << '\r' << operation << " [" << std::string(filled, '#') << std::string(30 - filled, ' ') << "] "
                  << percent << "% " << after << "   " << std::flush;
        drawn_ = true;
    }
    // The bar stays on the screen; what is written next starts on a new line.
    void end() {
        if (drawn_) std::cerr << '\n';
        drawn_ = false;
    }

private:
    bool terminal_;
    bool drawn_ = false;
};

class ConsoleView : public TransferView {
public:
    void setCaption(const std::string&) override {}
    void setOperation(const std::string& operation) override { operation_ = operation; }
    void setSizeLabel(const std::string& label) override { label_ = label; }
    void setProgress(int percent) override { bar_.draw(operation_, percent, label_); }

private:
    ConsoleBar bar_;
    std::string operation_, label_;
};

}  // namespace cam::cli
