// The progress of a transfer on standard error, redrawn in place on a terminal; nothing
// when standard error is no terminal (a log or a pipe gets the messages only).
#pragma once

#include "core/link/size_transfer.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <string>

namespace cam::cli {

class ConsoleView : public TransferView {
public:
    ConsoleView() : terminal_(::isatty(STDERR_FILENO) == 1) {}
    ~ConsoleView() override {
        if (drawn_) std::cerr << '\n';
    }
    void setCaption(const std::string&) override {}
    void setOperation(const std::string& operation) override { operation_ = operation; }
    void setSizeLabel(const std::string& label) override { label_ = label; }
    void setProgress(int percent) override {
        if (!terminal_) return;
        const int filled = std::clamp(percent, 0, 100) * 30 / 100;
        std::cerr << '\r' << operation_ << " [" << std::string(filled, '#') << std::string(30 - filled, ' ') << "] "
                  << percent << "% " << label_ << "   " << std::flush;
        drawn_ = true;
    }

private:
    bool terminal_;
    bool drawn_ = false;
    std::string operation_, label_;
};

}  // namespace cam::cli
