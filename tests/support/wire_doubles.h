// What the transfer tests put on the fake wire and how they watch a transfer's progress.
#pragma once

#include "core/link/size_transfer.h"

#include <string>
#include <vector>

namespace camtest {

// Restated framing, so that a fault in the real one is not copied into the expectations:
// STX text ETX xor (+32 below 32).
inline std::string Frame(const std::string& text) {
    unsigned x = 0;
    for (char c : text + "\x03") x ^= static_cast<unsigned char>(c);
    if (x < 32) x += 32;
    return "\x02" + text + "\x03" + std::string(1, static_cast<char>(x));
}

// The device's answer to "?M": cams, sizes, messages, the brand, the encoders.
inline std::string IdReply(const std::string& cams, const std::string& sizes, const std::string& msgs, char enc) {
    return cams + " " + sizes + " " + msgs + "  ZETO" + std::string(34, '.') + enc + "\r";
}

// Keeps what a transfer shows: its caption, operation, size label and every progress step.
struct RecordingView : cam::TransferView {
    std::string caption, operation, sizeLabel;
    std::vector<int> progress;
    void setCaption(const std::string& c) override { caption = c; }
    void setOperation(const std::string& o) override { operation = o; }
    void setSizeLabel(const std::string& l) override { sizeLabel = l; }
    void setProgress(int pc) override { progress.push_back(pc); }
};

}  // namespace camtest
