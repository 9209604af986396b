#pragma once

#include "ui/Animatable.h"

namespace Flair {

// A value that follows a moving target like a damped spring with a response to the target's own
// speed: k1 damps, k2 is the inertia and k3 the response to the target's rate of change.
template <ui::VectorArithmetic V> struct SecondOrderDynamics {
    double k1 = 0;
    double k2 = 0;
    double k3 = 0;
    V previousTarget = ui::zeroVector<V>();
    V value = ui::zeroVector<V>();
    V velocity = ui::zeroVector<V>();

    // Moves on by `step` seconds towards `target` and returns the new value. A step that is not
    // positive (a clock that stood still or went back) changes nothing: it would divide by zero
    // and leave the velocity not a number for good.
    V update(const V& target, double step) {
        if (!(step > 0)) return value;
        const V targetRate = ui::scaled(target - previousTarget, 1 / step);
        // Keeps the integration stable for steps too long for the given inertia.
        double inertia = k2;
        const double stableInertia = (step * step * 0.25 + k1 * step * 0.5) * 1.1;
        if (!(inertia > stableInertia)) inertia = stableInertia;
        value = value + ui::scaled(velocity, step);
        previousTarget = target;
        const V acceleration = ui::scaled(targetRate, k3) + target - value - ui::scaled(velocity, k1);
        velocity = velocity + ui::scaled(ui::scaled(acceleration, 1 / inertia), step);
        return value;
    }

    bool operator==(const SecondOrderDynamics&) const = default;
};

// The follower of the shake and wiggle effects: k1 = ζ / (π f), k2 = 1 / (2π f)², k3 = r ζ / (2π f)
// for f = 3, ζ = 0.85 and r = −0.2; the negative response starts it against the target.
inline constexpr double shakeDynamicsK1 = 0.09018780108540736;
inline constexpr double shakeDynamicsK2 = 0.0028144773233982714;
inline constexpr double shakeDynamicsK3 = -0.009018780108540736;

} // namespace Flair
