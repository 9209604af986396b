#include "Flair/Spring.h"

#include <cmath>
#include <numbers>

namespace Flair {

SpringState springStep(SpringState state, double target, const Spring& spring, double dt) {
    constexpr double pi = std::numbers::pi;
    const double period = 2 * pi / std::sqrt(spring.mass * spring.stiffness);
    if (!(period > 0)) return {target, 0};
    const double force = spring.mass * (spring.zeta * (-4 * pi)) / period * state.velocity -
                         spring.stiffness * (state.position - target);
    const double velocity = state.velocity + 1 / spring.mass * force * dt;
    return {state.position + velocity * dt, velocity};
}

double springReleaseRate(double t, double m, double k, double z, double u, double d) {
    const double beta = (std::sqrt(m * k) + std::sqrt(m * k)) * z / (m + m);
    const double omega0 = std::sqrt(k / m);
    const double omegaD = std::sqrt(omega0 * omega0 - beta * beta);
    return std::exp(-beta * t) *
           (std::sin(omegaD * t) * (beta * u + (omegaD * omegaD + beta * beta) * d) -
            omegaD * u * std::cos(omegaD * t)) /
           omegaD;
}

} // namespace Flair
