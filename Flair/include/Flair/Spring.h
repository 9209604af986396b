#pragma once

namespace Flair {

// The parameters of a damped spring; `zeta` is the damping ratio.
struct Spring {
    double mass = 0;
    double stiffness = 0;
    double zeta = 0;

    bool operator==(const Spring&) const = default;
};

// Where a spring-driven value is and how fast it moves.
struct SpringState {
    double position = 0;
    double velocity = 0;

    bool operator==(const SpringState&) const = default;
};

// One frame of `dt` seconds towards `target`: the velocity first, then the position moved by the
// new velocity. A spring without a period (mass times stiffness not positive) lands on the target
// at rest. Callers add their own rest test.
SpringState springStep(SpringState state, double target, const Spring& spring, double dt);

// The rate of change at time t of a spring released with rate u and displacement d. Finite only
// for damping ratios below 1.
double springReleaseRate(double t, double mass, double stiffness, double zeta, double u, double d);

} // namespace Flair
