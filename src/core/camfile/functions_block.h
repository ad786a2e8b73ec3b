// Reading the functions block of a cam file (the lines after the header).
#pragma once

#include "core/model/program.h"

#include "core/model/text_lines.h"

#include <string>

namespace cam {

// Reads the advances, encoder or delay/ratio lines, output size, encoder 1 and speed
// limit into the functions block. Returns false on a format error (a missing label, an
// early end of file, an advance count above NCams); p.LineBuf then holds the offending
// line (the last line at end of file). What was read before stays.
bool ReadFunctions(Program& p, LineSource& in);

// The cams whose AdvMs elements the four group-advance lines carry: 17, 21, 25 and 29
// with 32 cams. A 16-cam model keeps its two group advances in elements 8 and 12 and
// has no third and fourth group (-1: the line carries 0 and is not stored).
struct GroupAdvanceSlots {
    int index[4];
};
GroupAdvanceSlots GroupAdvanceSlotsFor(int advMsCount);

// What a cam file cannot keep of the functions block: the ratio of cams 17-32, when its
// switch is on (the file has a ratio of cams 25-32 only). "" when nothing is lost.
std::string Ratio17NotInFile(const Program& p);

}  // namespace cam
