#include "Flair/PeakTime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Flair {

namespace {

double finiteOrZero(double value) {
    return std::isfinite(value) ? value : 0;
}

} // namespace

double peakTime(double x0, double u0, double m, double k, double z) {
    constexpr double pi = std::numbers::pi;
    if ((u0 == 0 && x0 == 0) || !(z < 1)) return 0;
    const double beta = (std::sqrt(m * k) + std::sqrt(m * k)) * z / (m + m);
    const double omega0 = std::sqrt(k / m);
    const double omegaD = std::sqrt(omega0 * omega0 - beta * beta);
    if (u0 == 0) return finiteOrZero(pi / omegaD);

    const double d = std::sqrt(x0 * x0);
    const double u = std::sqrt(u0 * u0);
    const auto rate = [&](double t) { return springReleaseRate(t, m, k, z, u, d); };
    const double t1 = omega0 * 2 * pi / (k * pi);
    double previous = t1;
    double current = t1 - rate(t1) * t1 / (rate(t1) - rate(0));
    // Converges in a few steps for any spring; the bound only keeps a pathological one finite.
    for (int step = 0; step < 64 && std::abs(rate(current)) > 0.01; ++step) {
        const double next = current - (current - previous) * rate(current) / (rate(current) - rate(previous));
        previous = current;
        current = next;
    }
    return finiteOrZero(std::max(std::min(current, 3.0), 0.0));
}

double jumpInitialVelocity(double height) {
    const double t = peakTime(0, 1, jumpSpring.mass, jumpSpring.stiffness, jumpSpring.zeta);
    // The spring's displacement at its first peak after a unit launch from rest.
    const double peak =
        std::exp(-3.333333333333333 * t) * std::sin(9.428090415820634 * t) * 0.10606601717798213;
    return height / peak;
}

} // namespace Flair
