#include "core/editor/cam_drag.h"

#include "core/editor/phase_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace cam {

namespace {

int Wrap(int x) { return ((x % kPositions) + kPositions) % kPositions; }

// Distance between two positions round the revolution.
int RoundDistance(int a, int b) {
    const int d = std::abs(Wrap(a) - Wrap(b));
    return std::min(d, kPositions - d);
}

// Every phase as ON and length, the one through position 0 as one.
std::vector<DragGrip> PhasesOf(const std::uint8_t* positions) {
    const ChartPhases ph = ChartPhasesOf(positions);
    std::vector<DragGrip> out;
    if (ph.lead == kPositions)
        out.push_back({DragGrip::Whole, 0, kPositions});
    else if (ph.trail != 0)
        out.push_back({DragGrip::Whole, ph.trail, kPositions - ph.trail + ph.lead});
    else if (ph.lead != 0)
        out.push_back({DragGrip::Whole, 0, ph.lead});
    for (const Phase& inner : ph.inner) out.push_back({DragGrip::Whole, inner.on, inner.off - inner.on});
    return out;
}

// The SetPhase form of the phase of length positions from on (any whole number).
DraggedPhase Written(int on, int length) {
    if (length <= 0) return {};
    if (length >= kPositions) return {false, 0, kPositions};
    on = Wrap(on);
    return {false, on, (on + length) % kPositions};
}

}  // namespace

DragGrip GripAt(const std::uint8_t* positions, int pos, int reach) {
    // The end of phase within r of pos, if any; the nearer end wins.
    auto endOf = [pos](const DragGrip& phase, int r, int* distance) {
        const bool whole = phase.length == kPositions;  // its ends are the two edges of the band
        const int toOn = whole ? pos : RoundDistance(pos, phase.on);
        const int toOff = whole ? kPositions - 1 - pos : RoundDistance(pos, phase.on + phase.length);
        *distance = std::min(toOn, toOff);
        return *distance > r ? std::optional<DragGrip::Kind>() : (toOff <= toOn ? DragGrip::OffEnd : DragGrip::OnEnd);
    };
    const std::vector<DragGrip> phases = PhasesOf(positions);
    int distance = 0;
    // A press on a bar holds that phase: by an end, or in its middle the whole of it. Inside a
    // short phase the ends leave its middle half to the whole phase.
    for (const DragGrip& phase : phases) {
        if (Wrap(pos - phase.on) >= phase.length) continue;
        if (auto end = endOf(phase, std::min(reach, phase.length / 4), &distance))
            return {*end, phase.on, phase.length};
        return phase;
    }
    // Beside the bars: the nearest end within reach, else an empty stretch for a new phase.
    DragGrip best;
    int bestDistance = reach + 1;
    for (const DragGrip& phase : phases)
        if (auto end = endOf(phase, reach, &distance); end && distance < bestDistance) {
            best = {*end, phase.on, phase.length};
            bestDistance = distance;
        }
    return best;
}

int SnapTo(int x, int step) {
    if (step <= 1) return x;
    return static_cast<int>(std::floor((x + step / 2.0) / step)) * step;
}

DraggedPhase DragPhase(const DragGrip& grip, int from, int to, int snap) {
    const int moved = to - from;
    switch (grip.kind) {
        case DragGrip::NewPhase: {
            const int a = std::clamp(SnapTo(from, snap), 0, kPositions);
            const int b = std::clamp(SnapTo(to, snap), 0, kPositions);
            return Written(std::min(a, b), std::abs(b - a));
        }
        case DragGrip::OnEnd: {
            const int end = grip.on + grip.length;
            const int on = std::clamp(SnapTo(grip.on + moved, snap), end - kPositions, end - 1);
            return Written(on, end - on);
        }
        case DragGrip::OffEnd: {
            const int end = std::clamp(SnapTo(grip.on + grip.length + moved, snap), grip.on + 1, grip.on + kPositions);
            return Written(grip.on, end - grip.on);
        }
        case DragGrip::Whole:
            return Written(SnapTo(grip.on + moved, snap), grip.length);
    }
    return {};
}

bool CamDrag::Begin(const CamData& p, int size, int cam, int from, int reach) {
    active_ = false;
    if (!p.CamPos.contains(size, cam)) return false;
    size_ = size;
    cam_ = cam;
    from_ = std::clamp(from, 0, kPositions);
    std::copy_n(p.CamPos.cam(size, cam), kPositions, before_.begin());
    grip_ = GripAt(before_.data(), std::min(from_, kPositions - 1), reach);
    phase_ = {};
    active_ = true;
    return true;
}

DraggedPhase CamDrag::Move(CamData& p, int to, int snap) {
    if (!active_ || !p.CamPos.contains(size_, cam_)) return {};
    phase_ = DragPhase(grip_, from_, std::clamp(to, 0, kPositions), snap);
    std::copy(before_.begin(), before_.end(), p.CamPos.cam(size_, cam_));
    if (grip_.kind != DragGrip::NewPhase) {
        // The phase held leaves its place as a typed deletion would take it away (ON = OFF),
        // the part past position 1023 of a phase through 0 with it.
        SetPhase(p, size_, cam_, grip_.on, grip_.on);
        if (grip_.on + grip_.length > kPositions) SetPhase(p, size_, cam_, 0, 0);
    }
    if (!phase_.none) SetPhase(p, size_, cam_, phase_.on, phase_.off);
    return phase_;
}

void CamDrag::Cancel(CamData& p) {
    if (active_ && p.CamPos.contains(size_, cam_)) std::copy(before_.begin(), before_.end(), p.CamPos.cam(size_, cam_));
    active_ = false;
}

std::optional<std::array<std::uint8_t, kPositions>> CamDrag::Finish(CamData& p) {
    const bool was = active_;
    active_ = false;
    if (!was || !p.CamPos.contains(size_, cam_)) return std::nullopt;
    std::uint8_t* positions = p.CamPos.cam(size_, cam_);
    std::array<std::uint8_t, kPositions> dragged;
    std::copy_n(positions, kPositions, dragged.begin());
    std::copy(before_.begin(), before_.end(), positions);
    if (dragged == before_) return std::nullopt;
    return dragged;
}

}  // namespace cam
