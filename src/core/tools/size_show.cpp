#include "core/tools/size_show.h"

#include "core/model/text_format.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace cam {

double ShowStepsPerSecond(int speed) {
    using namespace size_show;
    const double t = std::clamp(speed, 0, kSpeedMax) / double(kSpeedMax);
    return kSlowestSteps * std::pow(kFastestSteps / kSlowestSteps, t);
}

int ShowTickMs(int speed, int frameMs) {
    const double perStep = 1000.0 / ShowStepsPerSecond(speed);
    return std::max(std::max(frameMs, 1), int(std::lround(perStep)));
}

HandEnd ShowHandEnd(double cx, double cy, double r, int position) {
    const double a = 2 * std::numbers::pi * position / kPositions;
    return {cx + r * std::cos(a), cy - r * std::sin(a)};
}

std::vector<bool> ShowLampsAt(const CamData& p, int size, int position) {
    const int cams = std::clamp(std::min(p.NCams, p.CamPos.cams()), 0, kMaxCams);
    std::vector<bool> lamps(cams, false);
    if (position < 0 || position >= kPositions) return lamps;
    for (int c = 0; c < cams; ++c) lamps[c] = p.CamPos.contains(size, c) && p.CamPos(size, c, position) == 1;
    return lamps;
}

std::string ShowRpmText(long steps, double elapsedMs) {
    if (elapsedMs <= 0) return D4(0);
    const double rpm = steps * 60000.0 / (elapsedMs * kPositions);
    return D4(static_cast<long>(rpm));
}

void SizeShow::SetPosition(int position) { pos_ = std::clamp(position, 0, kPositions - 1); }

void SizeShow::Start() {
    running_ = true;
    due_ = 0;
}

int SizeShow::Tick(double elapsedMs, int speed) {
    if (!running_) return 0;
    const double rate = ShowStepsPerSecond(speed);
    // Never more than a quarter of a second's steps at once.
    due_ = std::min(due_ + std::max(elapsedMs, 0.0) * rate / 1000.0, std::max(1.0, rate / 4));
    const int steps = std::max(1, int(std::lround(due_)));
    due_ = std::max(due_ - steps, -1.0);
    pos_ = (pos_ + steps) % kPositions;
    steps_ += steps;
    return steps;
}

long SizeShow::TakeSteps() { return std::exchange(steps_, 0L); }

}  // namespace cam
