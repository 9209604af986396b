#pragma once

#include <memory>
#include <utility>

namespace ui {

// How a change moves from the value shown to the new one: a timing curve or a spring, with a
// delay, a speed and repeats. A cheap value; equal when built the same way.
//
// Every animation is run by the engine in one form: the shown value is
//     target + (start - target) * c1(t) + startVelocity * c2(t)
// for the time t since it started, so any VectorArithmetic value animates the same way.
// A timing curve ignores the start velocity (c2 = 0); a spring carries it on, which is how a
// spring retargeted mid-flight keeps moving smoothly.
//
// Springs end when the displacement from the target and the speed both stay below the
// absolute thresholds below, measured on the animated value's magnitude. They are absolute on
// purpose: a value presented scaled up (progress times 64, say) must settle more finely, not
// at the same fraction of its change.
class Animation {
public:
    // The displacement and the speed (per second) under which a spring counts as at rest.
    static constexpr double springRestDisplacement = 1e-3;
    static constexpr double springRestSpeed = 1e-3;
    // The duration of the timing curves made without one.
    static constexpr double defaultDuration = 0.35;

    // The animation used when none is named: an ease-in-out over 0.35 s. It compares equal only
    // to itself, not to an ease-in-out built by hand.
    static Animation default_();
    static Animation linear(double duration = defaultDuration);
    static Animation easeIn(double duration = defaultDuration);
    static Animation easeOut(double duration = defaultDuration);
    static Animation easeInOut(double duration = defaultDuration);
    // A cubic Bezier from (0, 0) to (1, 1) with control points (c0x, c0y) and (c1x, c1y). The y
    // coordinates may leave [0, 1] (the value overshoots); the x coordinates are clamped to it,
    // since time cannot run backwards.
    static Animation timingCurve(double c0x, double c0y, double c1x, double c1y,
                                 double duration = defaultDuration);
    // A spring taking about `response` seconds per oscillation; a damping fraction of 1 just
    // does not overshoot. `blendDuration` is kept for equality only. A damping (here or below)
    // that is not a finite number counts as critical damping.
    static Animation spring(double response = 0.5, double dampingFraction = 0.825, double blendDuration = 0);
    static Animation interactiveSpring(double response = 0.15, double dampingFraction = 0.86,
                                       double blendDuration = 0.25);
    // A spring from its physical constants; `initialVelocity` is in units of the change per
    // second and adds to the velocity the value already had.
    static Animation interpolatingSpring(double mass, double stiffness, double damping,
                                         double initialVelocity = 0);

    // Starts `seconds` later (at the pace in force where it is added).
    Animation delay(double seconds) const;
    // Runs `factor` times as fast, delays added before included. A factor of 0 or less, or not
    // a number, leaves the speed as it was.
    Animation speed(double factor) const;
    // Runs the motion `count` times, every other run backwards when `autoreverses`; a count
    // below 1 counts as 1. It always ends on the new value.
    Animation repeatCount(int count, bool autoreverses = true) const;
    Animation repeatForever(bool autoreverses = true) const;

    bool isSpring() const;
    // How long the animation runs for a change of the given displacement and start speed
    // (magnitudes), delay included; infinite when a motion of some length repeats forever or
    // is an undamped spring.
    double duration(double displacement = 1, double startSpeed = 0) const;

    // The engine's view of one moment, `elapsed` seconds after the start.
    struct Sample {
        double c1 = 0, c2 = 0;   // weights of the start displacement and start velocity
        double dc1 = 0, dc2 = 0; // their rates, for the velocity
        bool finished = true;
    };
    // `runDuration` is the length of one run for this change (see below).
    Sample sample(double elapsed, double runDuration) const;
    // The length of one run of the motion for this change, before delay, speed and repeats.
    double runDuration(double displacement, double startSpeed) const;
    // The start velocity that interpolatingSpring adds, as a fraction of the change.
    double initialVelocityFraction() const;

    bool operator==(const Animation& other) const;

    struct Storage;

private:
    explicit Animation(std::shared_ptr<const Storage> storage)
        : storage_(std::move(storage)) {}
    template <class Change> Animation with(Change&& change) const;
    std::shared_ptr<const Storage> storage_;
};

} // namespace ui
