#pragma once

#include "Flair/Spring.h"

namespace Flair {

// The spring that carries a pulsing glow up and back to rest.
inline constexpr Spring pulseGlowSpring{1.0, 15.0, 0.75};

// The motion of the glow change effect: each kick gives the amount a speed, the spring brings
// it back to 0. Plain arithmetic; the effect keeps one per view.
struct GlowPulse {
    double glow = 0;     // the amount
    double velocity = 0; // its change per second

    // At rest its timeline can pause.
    bool isResting() const;
    // A rising pulse gains 1.5 per second of speed, anything else starts again at 5; never
    // above 5.
    void impulse();
    // One frame of `dt` seconds. Near 0 and not rising (a signed test: any fall counts), it
    // snaps to rest.
    void step(double dt);

    bool operator==(const GlowPulse&) const = default;
};

} // namespace Flair
