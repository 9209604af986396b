#include "ui/Animation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace ui {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

bool positive(double value) {
    return std::isfinite(value) && value > 0;
}

} // namespace

struct Animation::Storage {
    enum class Kind { curve, spring };
    Kind kind = Kind::curve;
    bool isDefault = false;
    bool isLinear = false;
    // Timing curve.
    double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
    double curveDuration = defaultDuration;
    // Spring, as physics; the response form is kept beside it for equality.
    double mass = 1, stiffness = 0, damping = 0, initialVelocity = 0;
    double response = 0, dampingFraction = 0, blendDuration = 0;
    // Base time = pace * elapsed - lead: delays and speeds in the order they were added.
    double pace = 1, lead = 0;
    // 0: once; -1: forever.
    int repeats = 0;
    bool autoreverses = false;

    bool operator==(const Storage&) const = default;

    // Bezier coordinate for the curve parameter s.
    static double bezier(double s, double p1, double p2) {
        const double r = 1 - s;
        return 3 * r * r * s * p1 + 3 * r * s * s * p2 + s * s * s;
    }
    double curveProgress(double u) const {
        if (isLinear) return u;
        if (u <= 0) return 0;
        if (u >= 1) return 1;
        // x(s) rises monotonically for control x in [0, 1]: Newton steps, kept inside a
        // bisection bracket so a flat stretch cannot throw them out.
        double lo = 0, hi = 1, s = u;
        for (int i = 0; i < 40; ++i) {
            const double x = bezier(s, x1, x2) - u;
            if (std::abs(x) < 1e-12) break;
            if (x > 0)
                hi = s;
            else
                lo = s;
            const double r = 1 - s;
            const double slope = 3 * r * r * x1 + 6 * r * s * (x2 - x1) + 3 * s * s * (1 - x2);
            double next = slope > 1e-9 ? s - x / slope : (lo + hi) / 2;
            if (next <= lo || next >= hi) next = (lo + hi) / 2;
            s = next;
        }
        return bezier(s, y1, y2);
    }

    struct SpringShape {
        double omega0 = 0, zeta = 0;
    };
    SpringShape springShape() const {
        if (!positive(mass) || !positive(stiffness)) return {};
        // A damping that is not a finite number settles like a critically damped spring
        // rather than ringing forever.
        const double zeta = std::isfinite(damping) ? std::max(0.0, damping) / (2 * std::sqrt(stiffness * mass)) : 1;
        return {std::sqrt(stiffness / mass), zeta};
    }
};

template <class Change> Animation Animation::with(Change&& change) const {
    auto copy = std::make_shared<Storage>(*storage_);
    std::forward<Change>(change)(*copy);
    return Animation(std::move(copy));
}

Animation Animation::default_() {
    auto storage = std::make_shared<Storage>(*easeInOut().storage_);
    storage->isDefault = true;
    return Animation(std::move(storage));
}

Animation Animation::linear(double duration) {
    auto storage = std::make_shared<Storage>();
    storage->isLinear = true;
    storage->x1 = storage->y1 = 0;
    storage->x2 = storage->y2 = 1;
    storage->curveDuration = duration;
    return Animation(std::move(storage));
}

Animation Animation::easeIn(double duration) {
    return timingCurve(0.42, 0, 1, 1, duration);
}

Animation Animation::easeOut(double duration) {
    return timingCurve(0, 0, 0.58, 1, duration);
}

Animation Animation::easeInOut(double duration) {
    return timingCurve(0.42, 0, 0.58, 1, duration);
}

Animation Animation::timingCurve(double c0x, double c0y, double c1x, double c1y, double duration) {
    auto unit = [](double x) { return std::isfinite(x) ? std::clamp(x, 0.0, 1.0) : 0.0; };
    auto finite = [](double y) { return std::isfinite(y) ? y : 0.0; };
    auto storage = std::make_shared<Storage>();
    storage->x1 = unit(c0x);
    storage->y1 = finite(c0y);
    storage->x2 = unit(c1x);
    storage->y2 = finite(c1y);
    storage->curveDuration = duration;
    return Animation(std::move(storage));
}

Animation Animation::spring(double response, double dampingFraction, double blendDuration) {
    auto storage = std::make_shared<Storage>();
    storage->kind = Storage::Kind::spring;
    storage->response = response;
    storage->dampingFraction = dampingFraction;
    storage->blendDuration = blendDuration;
    storage->mass = 1;
    if (positive(response)) {
        const double omega = 2 * std::numbers::pi / response;
        storage->stiffness = omega * omega;
        storage->damping = 2 * dampingFraction * omega;
    }
    return Animation(std::move(storage));
}

Animation Animation::interactiveSpring(double response, double dampingFraction, double blendDuration) {
    return spring(response, dampingFraction, blendDuration);
}

Animation Animation::interpolatingSpring(double mass, double stiffness, double damping, double initialVelocity) {
    auto storage = std::make_shared<Storage>();
    storage->kind = Storage::Kind::spring;
    storage->mass = mass;
    storage->stiffness = stiffness;
    storage->damping = damping;
    storage->initialVelocity = std::isfinite(initialVelocity) ? initialVelocity : 0;
    return Animation(std::move(storage));
}

Animation Animation::delay(double seconds) const {
    if (!std::isfinite(seconds) || seconds == 0) return *this;
    return with([&](Storage& s) { s.lead += s.pace * seconds; });
}

Animation Animation::speed(double factor) const {
    if (!positive(factor)) return *this;
    return with([&](Storage& s) { s.pace *= factor; });
}

Animation Animation::repeatCount(int count, bool autoreverses) const {
    return with([&](Storage& s) {
        s.repeats = std::max(1, count);
        s.autoreverses = autoreverses;
    });
}

Animation Animation::repeatForever(bool autoreverses) const {
    return with([&](Storage& s) {
        s.repeats = -1;
        s.autoreverses = autoreverses;
    });
}

bool Animation::isSpring() const {
    return storage_->kind == Storage::Kind::spring;
}

double Animation::initialVelocityFraction() const {
    return storage_->initialVelocity;
}

double Animation::runDuration(double displacement, double startSpeed) const {
    const Storage& s = *storage_;
    if (s.kind == Storage::Kind::curve) return positive(s.curveDuration) ? s.curveDuration : 0;
    const auto [omega0, zeta] = s.springShape();
    if (omega0 <= 0) return 0;
    // Exponential envelopes K·e^(−λt) over |c1|, |c2| and their rates; the spring is at rest
    // once both bounds have fallen under the thresholds, and they only fall from then on.
    double lambda = 0, k1 = 0, k2 = 0, k1Rate = 0, k2Rate = 0;
    if (zeta < 1) {
        const double a = zeta * omega0;
        const double omegaD = omega0 * std::sqrt(1 - zeta * zeta);
        lambda = a;
        k1 = 1 + a / omegaD;
        k2 = 1 / omegaD;
        k1Rate = omega0 * omega0 / omegaD;
        k2Rate = 1 + a / omegaD;
    } else if (zeta == 1) {
        lambda = omega0 / 2;
        k1 = 2 * std::exp(-0.5);
        k2 = 2 / std::numbers::e / omega0;
        k1Rate = omega0 * 2 / std::numbers::e;
        k2Rate = 1;
    } else {
        const double root = std::sqrt(zeta * zeta - 1);
        const double r1 = -omega0 * (zeta - root), r2 = -omega0 * (zeta + root);
        const double d = r1 - r2;
        lambda = -r1;
        k1 = (std::abs(r1) + std::abs(r2)) / d;
        k2 = 2 / d;
        k1Rate = 2 * std::abs(r1 * r2) / d;
        k2Rate = k1;
    }
    const double displacementBound = displacement * k1 + startSpeed * k2;
    const double speedBound = displacement * k1Rate + startSpeed * k2Rate;
    if (displacementBound <= springRestDisplacement && speedBound <= springRestSpeed) return 0;
    if (lambda <= 0) return infinity;
    auto until = [&](double bound, double threshold) {
        return bound <= threshold ? 0.0 : std::log(bound / threshold) / lambda;
    };
    return std::max(until(displacementBound, springRestDisplacement), until(speedBound, springRestSpeed));
}

double Animation::duration(double displacement, double startSpeed) const {
    const Storage& s = *storage_;
    const double run = runDuration(displacement, startSpeed);
    // Repeating a motion of no length forever still ends after the delay.
    if (s.repeats < 0 && run > 0) return infinity;
    return (s.lead + run * std::max(1, s.repeats)) / s.pace;
}

Animation::Sample Animation::sample(double elapsed, double runDuration) const {
    const Storage& s = *storage_;
    const double tau = s.pace * elapsed - s.lead;
    Sample out;
    if (!(tau > 0)) {
        out.c1 = 1;
        out.finished = false;
        return out;
    }
    if (runDuration <= 0) return out;
    double local = tau;
    bool backwards = false;
    // An endless run (an undamped spring) is never over, so it has nothing to repeat.
    if (s.repeats != 0 && std::isfinite(runDuration)) {
        const double runs = s.repeats < 0 ? infinity : s.repeats;
        const double index = std::floor(tau / runDuration);
        if (index >= runs) return out;
        local = tau - index * runDuration;
        backwards = s.autoreverses && std::fmod(index, 2.0) == 1;
        if (backwards) local = runDuration - local;
    } else if (tau >= runDuration) {
        return out;
    }
    out.finished = false;
    if (s.kind == Storage::Kind::curve) {
        const double u = local / runDuration;
        out.c1 = 1 - s.curveProgress(u);
        // The rate only matters for handing velocity on to a spring: a central difference.
        const double h = 1e-4;
        const double rate =
            (s.curveProgress(std::min(1.0, u + h)) - s.curveProgress(std::max(0.0, u - h))) /
            (std::min(1.0, u + h) - std::max(0.0, u - h));
        out.dc1 = -rate / runDuration;
    } else {
        const auto [omega0, zeta] = s.springShape();
        const double t = local;
        if (zeta < 1) {
            const double a = zeta * omega0;
            const double omegaD = omega0 * std::sqrt(1 - zeta * zeta);
            const double e = std::exp(-a * t), c = std::cos(omegaD * t), sn = std::sin(omegaD * t);
            out.c1 = e * (c + a / omegaD * sn);
            out.c2 = e * sn / omegaD;
            out.dc1 = -e * sn * omega0 * omega0 / omegaD;
            out.dc2 = e * (c - a / omegaD * sn);
        } else if (zeta == 1) {
            const double e = std::exp(-omega0 * t);
            out.c1 = e * (1 + omega0 * t);
            out.c2 = t * e;
            out.dc1 = -omega0 * omega0 * t * e;
            out.dc2 = e * (1 - omega0 * t);
        } else {
            const double root = std::sqrt(zeta * zeta - 1);
            const double r1 = -omega0 * (zeta - root), r2 = -omega0 * (zeta + root);
            const double d = r1 - r2, e1 = std::exp(r1 * t), e2 = std::exp(r2 * t);
            out.c1 = (-r2 * e1 + r1 * e2) / d;
            out.c2 = (e1 - e2) / d;
            out.dc1 = r1 * r2 * (e2 - e1) / d;
            out.dc2 = (r1 * e1 - r2 * e2) / d;
        }
    }
    // Rates per second of elapsed time, turned round on a backwards run.
    const double rateScale = backwards ? -s.pace : s.pace;
    out.dc1 *= rateScale;
    out.dc2 *= rateScale;
    return out;
}

bool Animation::operator==(const Animation& other) const {
    return storage_ == other.storage_ || *storage_ == *other.storage_;
}

} // namespace ui
