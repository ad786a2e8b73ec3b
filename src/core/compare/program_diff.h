// What differs between two programs, in the user's terms: the model, the functions block as a
// cam file keeps it, the remarks and the phases of every size. Phases are compared as the chart
// lists them, so a phase that moved is one difference, whatever lines a file holds for it.
#pragma once

#include "core/model/program.h"
#include "core/model/prompt.h"

#include <optional>
#include <string>
#include <vector>

namespace cam {

struct ProgramDifference {
    int size = 0;  // the size the difference is in, 0 when it belongs to no size
    int cam = -1;  // the cam index it concerns, -1 when none
    std::string text;
};

// How the two programs are named in the texts ("A" and "B" unless told otherwise).
struct CompareNames {
    std::string a = "A";
    std::string b = "B";
};

// The differences in the order of a cam file: model, functions block, remarks, then sizes
// 1.. with their cams 1.. and each cam's phases in chart order. Sizes and cams that only one
// program has are compared with empty ones. texts gives the wording. Empty when they are equal.
std::vector<ProgramDifference> ComparePrograms(const Program& a, const Program& b, const Program& texts,
                                               const CompareNames& names = {});

// The phases of one cam as the chart lists them, "0100-0200" style pairs: what the phase
// comparison works on, exposed for the tests.
struct PhaseChange {
    enum Kind { OnlyInA, OnlyInB, Changed } kind;
    int aOn = 0, aOff = 0;  // OnlyInA and Changed
    int bOn = 0, bOff = 0;  // OnlyInB and Changed
};
// The phase differences of two cams' 1024 positions (either may be null: no phases).
std::vector<PhaseChange> ComparePhases(const std::uint8_t* a, const std::uint8_t* b);

struct Comparison {
    CompareNames names;
    std::vector<ProgramDifference> differences;
    std::vector<std::string> notes;  // what was left out of the comparison, one line each
};

// The tables compared with what a device holds. A device is sent only what its form can carry,
// so the tables are compared as the device would hold them after a Size Transmit; the notes
// list what was left out for that reason.
Comparison CompareWithDevice(const Program& tables, const Program& device, const CompareNames& names = {});

// The program of the cam file at path, read for a comparison with the model its header names
// (else the model of texts), into a program of its own; texts also gives the wording.
// nullopt when the file is missing or cannot be read (the reason shown through prompt). A read
// that stopped early gives what was read: the message said where it stopped.
std::optional<Program> ReadProgramToCompare(const Program& texts, const std::string& path, Prompt& prompt);

}  // namespace cam
