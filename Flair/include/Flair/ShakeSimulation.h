#pragma once

#include "Flair/SecondOrderDynamics.h"

namespace Flair {

// The motion of the shake and wiggle effects: a phase counter raised by each kick and run down
// by 2 per phase length, whose sine (amplitude 16) a follower turns into the drawn
// displacement. Plain arithmetic; the effects keep one per view.
struct ShakeSimulation {
    // Its fractional part is the phase of the sine; the motion is driven while it is above 0.
    double count = 0;
    double displacement = 0;
    SecondOrderDynamics<double> integrator{shakeDynamicsK1, shakeDynamicsK2, shakeDynamicsK3};

    // Resting: the counter has run down and the displacement is 0; its timeline can pause.
    bool isResting() const { return displacement == 0 && !(count > 0); }

    // A kick: the counter rises by 2; a running one keeps its phase and lies in (2, 3] after.
    // `extra` is added after that (the wiggle's 4 under a conditional effect: two phase
    // lengths more).
    void impulse(double extra = 0);
    // One frame of `dt` seconds. Once the counter is 0 and the motion too small to see (under
    // 1e-3 pt, moving under 1e-2 pt/s, so a swing through 0 is not cut), it snaps to rest. A
    // phase length that is not positive ends the motion at once.
    void step(double dt, double phaseLength);

    bool operator==(const ShakeSimulation&) const = default;
};

} // namespace Flair
