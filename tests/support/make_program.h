// A program of the given model with its tables sized and every position OFF.
#pragma once

#include "core/model/program.h"

namespace camtest {

inline cam::Program MakeProgram(int cams = 32, int sizes = 7, int encoders = 0) {
    cam::Program p;
    p.NCams = cams;
    p.NSizes = sizes;
    p.NEncoders = encoders;
    cam::ResizeTables(p);
    return p;
}

// A small program that exercises every column of an export: a functions block, a quoted
// remark, a remark on a cam without phases, a wrapping phase and a cam ON over the whole
// revolution.
inline cam::Program MakeExportSample(int cams = 32) {
    cam::Program p = MakeProgram(cams, 2, 1);
    p.AdvOn = 1;
    p.NAdvCams = 2;
    p.AdvMs[0] = 12;
    p.RatioOn = 1;
    p.Ratio25_32 = 7;
    p.OutSize = 1;
    p.EncShift = 90;
    p.RotDir = 1;
    p.SpeedLimit = 1500;
    p.CamRemark[0] = "Feed, \"hot\"";
    p.CamRemark[9] = "SPARE";
    cam::SetPhase(p, 1, 0, 100, 300);
    cam::SetPhase(p, 1, 0, 600, 700);
    cam::SetPhase(p, 1, 2, 1000, 24);
    cam::SetPhase(p, 2, 0, 0, 1024);
    return p;
}

}  // namespace camtest
