// The device taking a transmission ("?FW"): the functions block in the compact form it
// receives (its own model says which blocks follow the flags), then the sizes, then "END".
// Works on a copy of the memory; the caller keeps it only when "END" arrives.
#pragma once

#include "device_memory.h"

#include <deque>
#include <string_view>

namespace camsim {

class Intake {
public:
    Intake(const Model& model, const DeviceMemory& current);

    enum class Result {
        Taken,    // acknowledged
        Refused,  // not what the device expects here: NAK, nothing stored
        End,      // "END": the transmission is complete
    };
    Result take(std::string_view block);
    const DeviceMemory& memory() const { return mem_; }

private:
    enum class Kind { Flags, Advances, Group, Delays, Ratio, Encoder1, Encoders23 };
    bool functionsBlock(Kind kind, std::string_view b);
    void afterFlags();
    bool sizeLine(std::string_view b);

    Model model_;
    DeviceMemory mem_;
    std::deque<Kind> expected_;
    std::vector<CamProgram>* size_ = nullptr;  // the size whose cams are arriving
};

}  // namespace camsim
