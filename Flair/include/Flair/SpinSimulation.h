#pragma once

#include "Flair/ChangeEffectRates.h"
#include "Flair/Spring.h"

namespace Flair {

// The spring that settles a slowed spin on its whole turn.
inline constexpr Spring spinSpring{1.0, 7.0, 0.5};

// Degrees in a radian and radians in a degree, as the spin converts: kept apart from ui::Angle
// so its thresholds in degrees hold exactly.
inline constexpr double degreesPerRadian = 57.29577951308232;
inline constexpr double radiansPerDegree = 0.017453292519943295;

// The motion of the spin change effect, in degrees: a kick gives the angle a speed; above
// 240 °/s it turns freely and slows, aiming at the next whole turn; below, the spin spring
// settles it there. The angle is never wrapped. Plain arithmetic; the effect keeps one per view.
struct SpinSimulation {
    double angle = 0;
    double targetAngle = 0;
    double velocity = 0; // degrees per second

    // At rest its timeline can pause.
    bool isResting() const;
    // A kick: a spin faster than 10 °/s gains `rate.additional()`, any other starts at
    // `rate.initial()`; never faster than `rate.maximum()` (the rate in radians per second).
    void impulse(const detail::SpinRate& rate);
    // One frame of `dt` seconds. Turning freely the speed keeps (0.99 − `additionalSpeed`),
    // limited to [0, 0.99], per 1/60 s, so the spin plays alike at any frame rate. Near its
    // target and not turning forwards (a signed test) it snaps to rest there, as it does on a
    // whole turn after a step that left the finite range.
    void step(double dt, double additionalSpeed);

    bool operator==(const SpinSimulation&) const = default;
};

} // namespace Flair
