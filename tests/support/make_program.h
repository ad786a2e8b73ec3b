// A program of the given model with its tables sized and every position OFF.
#pragma once

#include "core/program.h"

namespace camtest {

inline cam::Program MakeProgram(int cams = 32, int sizes = 7, int encoders = 0) {
    cam::Program p;
    p.NCams = cams;
    p.NSizes = sizes;
    p.NEncoders = encoders;
    cam::ResizeTables(p);
    return p;
}

}  // namespace camtest
