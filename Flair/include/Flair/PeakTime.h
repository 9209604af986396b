#pragma once

#include "Flair/Spring.h"

namespace Flair {

// The time in seconds of the first turning point (velocity zero) of an underdamped spring
// released at displacement x0 with velocity u0, found by secant steps (64 at most); limited to
// [0, 3]. 0 for a spring at rest, a damping ratio of 1 or more, or a result that is not finite.
double peakTime(double x0, double u0, double mass, double stiffness, double zeta);

// The spring a jump falls back with.
inline constexpr Spring jumpSpring{1.0, 100.0, 0.3333333333333333};

// The launch speed (points per second) whose first peak lies `height` points up on the jump's
// spring.
double jumpInitialVelocity(double height);

} // namespace Flair
