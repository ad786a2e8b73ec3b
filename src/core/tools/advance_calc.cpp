#include "core/tools/advance_calc.h"

#include "core/model/text_format.h"
#include "core/model/texts.h"

#include <algorithm>
#include <cmath>

namespace cam {

long EffectiveAdvance(int rpm, int ms) {
    // The product in this order, as the device's figures were worked out: the tests pin
    // results such as 4000 rpm and 210 ms giving 5040.
    const double speedFactor = rpm * 0.006;
    return static_cast<long>(std::floor(speedFactor * ms));
}

AdvanceTurns SplitAdvance(long advance) { return {advance % kPositions, advance / kPositions}; }

long MsForAdvance(int wanted, int rpm) {
    if (rpm <= 0) return 0;
    return RoundHalfEven(wanted * 166.6666666667) / rpm;
}

SettledAdvance SettleWantedAdvance(int wanted, int rpm, int maxMs) {
    int d = std::max(wanted, advance::kMinWanted);
    long t = MsForAdvance(d, rpm);
    while (t > maxMs && d > advance::kMinWanted) t = MsForAdvance(--d, rpm);
    return {d, t};
}

Revolution ShiftPattern(const Revolution& pattern, long x) {
    const long shift = ((x % kPositions) + kPositions) % kPositions;
    Revolution out{};
    for (int i = 0; i < kPositions; ++i) {
        long j = i - shift;
        if (j < 0) j += kPositions;
        out[static_cast<std::size_t>(j)] = pattern[static_cast<std::size_t>(i)];
    }
    return out;
}

AdvanceForm::AdvanceForm(const Program& p) {
    if (p.CamPos.contains(p.CurSize, p.CurCam))
        std::copy_n(p.CamPos.cam(p.CurSize, p.CurCam), kPositions, programmed_.begin());
    advPos_ = programmed_;
    const bool hasAdvance = p.CurCam >= 0 && p.CurCam < static_cast<int>(p.AdvMs.size());
    // An advance above the slider's range (from a file or the device) starts at the top of it.
    ms_ = hasAdvance ? std::min<int>(p.AdvMs[p.CurCam], advance::kMaxMs) : 0;
    rpmText_ = CStr(rpm_);
    msText_ = CStr(ms_);
    ComputeFromMs();
    // First letters of the size and cam words, then the numbers: "S05C03".
    frameText_ = Text(p, txt::kSize).substr(0, 1) + D2(p.CurSize) + Text(p, txt::kCam).substr(0, 1) + D2(p.CurCam + 1);
}

void AdvanceForm::setRpm(int rpm) {
    rpm_ = std::clamp(rpm, advance::kMinRpm, advance::kMaxRpm);
    rpmText_ = CStr(rpm_);
    ComputeFromMs();
}

void AdvanceForm::setMs(int ms) {
    ms_ = std::clamp(ms, 0, advance::kMaxMs);
    msText_ = CStr(ms_);
    ComputeFromMs();
}

void AdvanceForm::ComputeFromMs() { ShowEffective(EffectiveAdvance(rpm_, ms_)); }

void AdvanceForm::setWanted(int wanted) {
    const SettledAdvance s =
        SettleWantedAdvance(std::clamp(wanted, advance::kMinWanted, advance::kMaxWanted), rpm_, advance::kMaxMs);
    wanted_ = s.wanted;
    ShowEffective(s.wanted);
    msText_ = CStr(s.ms);
}

void AdvanceForm::focusMs() {
    const int shown = static_cast<int>(std::clamp(ValRounded(msText_), 0L, static_cast<long>(advance::kMaxMs)));
    if (shown != ms_) setMs(shown);
}

// The pattern follows the effective advance within one revolution each time it changes.
void AdvanceForm::ShowEffective(long advance) {
    const AdvanceTurns a = SplitAdvance(advance);
    const std::string within = CStr(a.within);
    turnsText_ = CStr(a.turns);
    if (within == withinText_) return;
    withinText_ = within;
    advPos_ = ShiftPattern(programmed_, a.within);
}

}  // namespace cam
