// Reading back what a "?FR" reception wrote to the scratch file: the device's fixed-width
// functions lines, then every size block.
#pragma once

#include "core/program.h"
#include "core/prompt.h"

#include "core/text_lines.h"

#include <string>
#include <vector>

namespace cam {

struct ReceptionResult {
    bool accepted = false;  // false: the device's cam count is not the model's
    int sizesRead = 0;
    std::vector<std::string> corrections;  // received values brought into the tables' ranges
};

// rememberedCams: the model's cam count before the device was identified. Shows
// "WRONG DSP  C." through prompt when the header's count differs. Leaves FileSaved False
// and CurSize 1 after an accepted reception.
ReceptionResult ParseReception(Program& p, LineSource& in, int rememberedCams, Prompt& prompt);

// One message that lists the corrections, "" when there are none.
std::string CorrectionsMessage(const Program& p, const std::vector<std::string>& corrections);

}  // namespace cam
