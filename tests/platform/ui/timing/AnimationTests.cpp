#include "ui/Animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

// The shown fraction of the change, from the engine's weights (no start velocity).
double progress(const ui::Animation& animation, double elapsed, double displacement = 1) {
    const double run = animation.runDuration(displacement, 0);
    return 1 - animation.sample(elapsed, run).c1;
}

double bezier(double s, double p1, double p2) {
    return 3 * (1 - s) * (1 - s) * s * p1 + 3 * (1 - s) * s * s * p2 + s * s * s;
}

TEST(AnimationTest, TimingCurvesAtFixedTimes) {
    EXPECT_DOUBLE_EQ(progress(ui::Animation::linear(3), 1.5), 0.5);
    EXPECT_DOUBLE_EQ(progress(ui::Animation::linear(3), 0.75), 0.25);
    EXPECT_NEAR(progress(ui::Animation::easeInOut(2), 1), 0.5, 1e-9);
    // A point of the curve at parameter s: the value at time x(s) is y(s).
    for (double s : {0.2, 0.5, 0.8}) {
        EXPECT_NEAR(progress(ui::Animation::easeIn(1), bezier(s, 0.42, 1)), bezier(s, 0, 1), 1e-9);
        EXPECT_NEAR(progress(ui::Animation::easeOut(2), 2 * bezier(s, 0, 0.58)), bezier(s, 0, 1), 1e-9);
        // Control points outside [0, 1] in y: the value overshoots the change.
        auto overrun = ui::Animation::timingCurve(0.33, 1.55, 0.66, 1.0, 0.35);
        EXPECT_NEAR(progress(overrun, 0.35 * bezier(s, 0.33, 0.66)), bezier(s, 1.55, 1.0), 1e-9);
    }
    auto windUp = ui::Animation::timingCurve(0.33, 0, 0.66, -0.55, 1);
    EXPECT_LT(progress(windUp, 0.6), 0) << "moves backwards first";
    EXPECT_EQ(progress(windUp, 1), 1) << "and lands exactly";
    EXPECT_TRUE(windUp.sample(1, 1).finished);
    EXPECT_FALSE(windUp.sample(0.99, 1).finished);
}

TEST(AnimationTest, DefaultIsComparableOnlyToItself) {
    EXPECT_EQ(ui::Animation::default_(), ui::Animation::default_());
    EXPECT_NE(ui::Animation::default_(), ui::Animation::easeInOut());
    EXPECT_EQ(ui::Animation::easeInOut(0.35), ui::Animation::easeInOut());
    EXPECT_NE(ui::Animation::default_(), ui::Animation::default_().delay(1));
    EXPECT_NEAR(progress(ui::Animation::default_(), 0.175), progress(ui::Animation::easeInOut(), 0.175), 1e-12);
    EXPECT_EQ(ui::Animation::spring(), ui::Animation::spring(0.5, 0.825, 0));
    EXPECT_NE(ui::Animation::spring(), ui::Animation::interactiveSpring());
}

TEST(AnimationTest, DelaySpeedAndRepeatsShapeTime) {
    auto delayed = ui::Animation::linear(1).delay(0.5);
    EXPECT_EQ(progress(delayed, 0.4), 0);
    EXPECT_DOUBLE_EQ(progress(delayed, 1.0), 0.5);
    EXPECT_DOUBLE_EQ(delayed.duration(), 1.5);
    // A speed applies to the delays added before it, not to those after.
    EXPECT_DOUBLE_EQ(ui::Animation::linear(1).delay(1).speed(2).duration(), 1.0);
    EXPECT_DOUBLE_EQ(ui::Animation::linear(1).speed(2).delay(1).duration(), 1.5);
    EXPECT_DOUBLE_EQ(ui::Animation::linear(1).speed(0).duration(), 1.0) << "a speed of 0 is ignored";

    auto bounce = ui::Animation::linear(1).repeatCount(3);
    EXPECT_DOUBLE_EQ(progress(bounce, 0.25), 0.25);
    EXPECT_DOUBLE_EQ(progress(bounce, 1.25), 0.75) << "the second run goes back";
    EXPECT_DOUBLE_EQ(progress(bounce, 2.25), 0.25);
    EXPECT_EQ(progress(bounce, 3), 1);
    EXPECT_DOUBLE_EQ(progress(ui::Animation::linear(1).repeatCount(2, false), 1.25), 0.25);
    EXPECT_TRUE(std::isinf(ui::Animation::linear(1).repeatForever().duration()));
    EXPECT_FALSE(ui::Animation::linear(1).repeatForever().sample(1e6 + 0.5, 1).finished);
}

// x(t) of a released spring from displacement x0 and velocity v0.
double springDisplacement(double omega0, double zeta, double x0, double v0, double t) {
    const double a = zeta * omega0, wd = omega0 * std::sqrt(1 - zeta * zeta);
    return std::exp(-a * t) * (x0 * std::cos(wd * t) + (v0 + a * x0) / wd * std::sin(wd * t));
}

TEST(AnimationTest, SpringsFollowTheClosedFormAndSettleByAbsoluteThresholds) {
    const double response = 0.5, zeta = 0.4, omega0 = 2 * std::numbers::pi / response;
    auto spring = ui::Animation::spring(response, zeta);
    EXPECT_TRUE(spring.isSpring());
    const double run = spring.runDuration(100, 0);
    for (double t : {0.05, 0.2, 0.37, 0.9}) {
        const auto s = spring.sample(t, run);
        EXPECT_NEAR(100 * s.c1, springDisplacement(omega0, zeta, 100, 0, t), 1e-9) << t;
        EXPECT_NEAR(7 * s.c2, springDisplacement(omega0, zeta, 0, 7, t), 1e-9) << t;
    }
    // At rest when what is left lies under the thresholds, which do not scale with the change.
    const auto end = spring.sample(run, run);
    EXPECT_TRUE(end.finished);
    const auto before = spring.sample(run * 0.5, run);
    EXPECT_FALSE(before.finished);
    EXPECT_GT(spring.runDuration(6400, 0), spring.runDuration(100, 0));
    // Critically and over-damped springs do not overshoot.
    auto critical = ui::Animation::interpolatingSpring(1, 100, 20);
    auto over = ui::Animation::interpolatingSpring(1, 100, 40);
    for (double t = 0.01; t < 2; t += 0.05) {
        EXPECT_GE(critical.sample(t, critical.runDuration(1, 0)).c1, 0);
        EXPECT_GE(over.sample(t, over.runDuration(1, 0)).c1, 0);
    }
    EXPECT_NEAR(critical.sample(0.1, 10).c1, std::exp(-1.0) * 2, 1e-12);
    // Impossible springs do not run at all rather than producing numbers that are not numbers.
    EXPECT_EQ(ui::Animation::interpolatingSpring(0, 100, 10).runDuration(1, 0), 0);
    EXPECT_EQ(ui::Animation::spring(-1).runDuration(1, 0), 0);
    EXPECT_TRUE(std::isinf(ui::Animation::interpolatingSpring(1, 100, 0).runDuration(1, 0)))
        << "an undamped spring never comes to rest";
    // Repeating an endless run is that one run.
    const auto undamped = ui::Animation::interpolatingSpring(1, 100, 0);
    for (const auto& repeated : {undamped.repeatCount(2), undamped.repeatForever()}) {
        EXPECT_DOUBLE_EQ(repeated.sample(0.3, INFINITY).c1, undamped.sample(0.3, INFINITY).c1);
        EXPECT_FALSE(repeated.sample(0.3, INFINITY).finished);
    }
    // A damping that is not a finite number settles as critical damping does.
    EXPECT_DOUBLE_EQ(ui::Animation::spring(0.5, NAN).runDuration(1, 0),
                     ui::Animation::spring(0.5, 1).runDuration(1, 0));
    for (double damping : {double(NAN), double(INFINITY)})
        EXPECT_DOUBLE_EQ(ui::Animation::interpolatingSpring(1, 100, damping).runDuration(1, 0),
                         critical.runDuration(1, 0));
}

} // namespace
