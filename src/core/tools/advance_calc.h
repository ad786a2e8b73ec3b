// The advance computation (CalcAnt): what a time advance means at a shaft speed, the time a
// wanted advance needs, and the cam's pattern shifted by the effective advance. The window
// renders AdvanceForm; the maths is shared with camctl advance.
#pragma once

#include "core/model/program.h"

#include <array>
#include <cstdint>
#include <string>

namespace cam {

namespace advance {
// The sliders' ranges: the speed is never 0 and a wanted advance never below 1, so every
// computation stays defined.
inline constexpr int kMinRpm = 1;
inline constexpr int kMaxRpm = 4000;
inline constexpr int kMaxMs = 210;
inline constexpr int kMinWanted = 1;
inline constexpr int kMaxWanted = 360;
}  // namespace advance

// Effective advance in shaft positions of t milliseconds at n revolutions a minute:
// Int((n * 0.006) * t) in double precision, in that order (0.006 = 360 / 60000).
long EffectiveAdvance(int rpm, int ms);

// An advance split into the part within one revolution (1024 positions) and whole turns.
struct AdvanceTurns {
    long within = 0;  // E Mod 1024
    long turns = 0;   // E \ 1024
};
AdvanceTurns SplitAdvance(long advance);

// Milliseconds for a wanted advance d at n revolutions a minute: N(d * 166.6666666667) \ n,
// N rounding to the nearest whole number with halves to the even one.
long MsForAdvance(int wanted, int rpm);

// The wanted advance stepped down one at a time until its milliseconds fit maxMs.
struct SettledAdvance {
    int wanted = 0;
    long ms = 0;
};
SettledAdvance SettleWantedAdvance(int wanted, int rpm, int maxMs = advance::kMaxMs);

using Revolution = std::array<std::uint8_t, kPositions>;

// The pattern moved x positions towards 0: position i goes to i - x (plus 1024 below 0).
Revolution ShiftPattern(const Revolution& pattern, long x);

class AdvanceForm {
public:
    // Opening for CurSize and CurCam: the programmed pattern, the slider of milliseconds at
    // the cam's advance (one above 210 starts at 210), the speed at 1 and the wanted advance at 1.
    explicit AdvanceForm(const Program& p);

    int rpm() const { return rpm_; }
    int ms() const { return ms_; }
    int wanted() const { return wanted_; }
    const std::string& rpmText() const { return rpmText_; }        // LRpm
    const std::string& msText() const { return msText_; }          // LAntImp
    const std::string& withinText() const { return withinText_; }  // LAntRis
    const std::string& turnsText() const { return turnsText_; }    // LGirAnt
    const std::string& frameText() const { return frameText_; }    // FrC, "S05C03"
    const Revolution& programmed() const { return programmed_; }   // the first bar
    const Revolution& AdvPos() const { return advPos_; }           // the second bar

    void setRpm(int rpm);        // the speed slider moved
    void setMs(int ms);          // the milliseconds slider moved
    void setWanted(int wanted);  // the wanted advance slider moved: may step it down
    void focusMs();              // the milliseconds slider takes the milliseconds shown

private:
    void ComputeFromMs();
    void ShowEffective(long advance);

    int rpm_ = advance::kMinRpm;
    int ms_ = 0;
    int wanted_ = advance::kMinWanted;
    std::string rpmText_, msText_, withinText_, turnsText_, frameText_;
    Revolution programmed_{};
    Revolution advPos_{};
};

}  // namespace cam
