// The phases of one cam of one size as the chart shows them: the phase through position
// 0 first (drawn as the two edge bars), then the inner phases in ascending order. The
// chart's bars, its phase list and the printouts are all drawn from this one routine.
#pragma once

#include "core/model/program.h"

#include <string>
#include <vector>

namespace cam {

struct Phase {
    int on;   // first ON position
    int off;  // first OFF position after the run
};

struct ChartPhases {
    int lead = 0;   // positions 0..lead-1 are ON (1024 when the whole revolution is ON)
    int trail = 0;  // positions trail..1023 are ON (0 when position 1023 is OFF)
    std::vector<Phase> inner;
    bool hasEdgePhase() const { return lead != 0 || trail != 0; }
};

ChartPhases ChartPhasesOf(const std::uint8_t* positions);
ChartPhases ChartPhasesOf(const CamData& p, int size, int cam);

// "F001 0100 0200": phase number, ON and OFF of every listed phase, edge phase first.
std::vector<std::string> PhaseListEntries(const ChartPhases& phases);
std::vector<std::string> PhaseListEntries(const CamData& p, int size, int cam);

// One phase-list entry. ON is at characters 6-9 and OFF at 11-14.
std::string PhaseListEntry(int number, int on, int off);

}  // namespace cam
