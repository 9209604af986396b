#include "Flair/ShakeSimulation.h"

#include <cmath>
#include <numbers>

namespace Flair {

namespace {

constexpr double restDisplacement = 1e-3;
constexpr double restSpeed = 1e-2;

bool isNormal(double value) {
    return std::fpclassify(value) == FP_NORMAL;
}

} // namespace

void ShakeSimulation::impulse(double extra) {
    count += 2;
    if (count > 3) count = std::fmod(count, 1.0) + 2;
    count += extra;
}

void ShakeSimulation::step(double dt, double phaseLength) {
    const double target = std::sin(count * 2 * std::numbers::pi) * 16;
    displacement = integrator.update(target, dt);
    // A follower knocked out of the finite range would never come back.
    if (!std::isfinite(integrator.value) || !std::isfinite(integrator.velocity) ||
        !std::isfinite(integrator.previousTarget))
        integrator = SecondOrderDynamics<double>{integrator.k1, integrator.k2, integrator.k3};
    if (!isNormal(displacement)) displacement = 0;

    count = count - 2 * (dt / phaseLength);
    // A negative phase length would raise the counter for ever.
    if (!(count >= 0) || !(phaseLength > 0)) count = 0;

    if (count == 0 && std::abs(displacement) < restDisplacement &&
        std::abs(integrator.velocity) < restSpeed) {
        displacement = 0;
        integrator = SecondOrderDynamics<double>{integrator.k1, integrator.k2, integrator.k3};
    }
}

} // namespace Flair
