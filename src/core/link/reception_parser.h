// Reading back what a "?FR" reception wrote to the scratch file: the device's fixed-width
// functions lines, then every size block.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

#include "core/model/text_lines.h"

#include <string>
#include <vector>

namespace cam {

struct ReceptionResult {
    bool accepted = false;  // false: the device's cam count is not the model's
    int sizesRead = 0;
    std::vector<std::string> corrections;  // received values brought into the tables' ranges
    std::string stop;  // why the size blocks could not all be read ("" = they were)
};

// rememberedCams: the cam count the program must have. Shows "WRONG DSP  C." through
// prompt when the header's count differs. p is cleared first and dimensioned by the caller.
ReceptionResult ParseReception(Program& p, LineSource& in, int rememberedCams, Prompt& prompt);

// One message that lists the corrections, "" when there are none.
std::string CorrectionsMessage(const Program& p, const std::vector<std::string>& corrections);

}  // namespace cam
