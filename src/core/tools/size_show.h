// The size show's run: a hand steps through the 1024 positions of a turn at the speed the
// user sets, and a lamp per cam shows whether that cam is ON at the hand's position. The
// window's timer brings the time; everything it does with it is decided here.
#pragma once

#include "core/model/program.h"

#include <string>
#include <vector>

namespace cam {

namespace size_show {
inline constexpr int kSpeedMax = 2000;  // the speed scroll bar's range is 0..kSpeedMax
inline constexpr int kSpeedStart = 1000;
inline constexpr double kSlowestSteps = 2;     // steps a second at speed 0: visibly slow
inline constexpr double kFastestSteps = 7680;  // at kSpeedMax: an eighth of a turn a frame at 60 Hz
}  // namespace size_show

// Steps a second at a speed setting, each step of the scroll bar the same factor faster.
double ShowStepsPerSecond(int speed);
// The timer's interval at a speed: one step a tick while steps are slower than the screen
// refreshes (frameMs), else one tick a frame that makes the steps due.
int ShowTickMs(int speed, int frameMs);

// The hand of a position, one turn per 1024 positions: from the centre to
// (cx + r cos a, cy - r sin a) with a = 2 pi position / 1024.
struct HandEnd {
    double x, y;
};
HandEnd ShowHandEnd(double cx, double cy, double r, int position);

// Lamp c (cam c, 0..NCams-1) is lit when that cam is ON at the position in the size. A size
// or position outside the tables lights none.
std::vector<bool> ShowLampsAt(const CamData& p, int size, int position);

// Steps made in elapsedMs as revolutions per minute (steps a second x 60 / 1024), at least
// four digits.
std::string ShowRpmText(long steps, double elapsedMs);

class SizeShow {
public:
    explicit SizeShow(int position = 0) { SetPosition(position); }

    // START: the run goes on from the position shown, where the last STOP left it.
    void Start();
    // STOP: the run ends at the position shown; the next Start resumes there.
    void Stop() { running_ = false; }
    bool running() const { return running_; }
    int position() const { return pos_; }
    void SetPosition(int position);  // limited to 0..1023

    // The timer ticked elapsedMs after the last tick: the steps due at speed are made (at
    // least one; a stalled screen does not make the hand race to catch up). Returns them.
    int Tick(double elapsedMs, int speed);
    // Steps made since the last call, for the speed display.
    long TakeSteps();

private:
    int pos_ = 0;
    bool running_ = false;
    double due_ = 0;  // steps owed to the time, carried from tick to tick
    long steps_ = 0;
};

}  // namespace cam
