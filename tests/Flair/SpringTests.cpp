#include "Flair/PeakTime.h"
#include "Flair/SecondOrderDynamics.h"
#include "Flair/Spring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using Flair::SecondOrderDynamics;
using Flair::Spring;
using Flair::SpringState;

TEST(SpringTest, AStepMovesTheVelocityFirstThenThePositionByIt) {
    // Period 2π / √100 = 0.6283185307179586; force 100 · (1 − 0) over one hundredth of a second.
    EXPECT_EQ(Flair::springStep({0, 0}, 1, Spring{1, 100, 1}, 0.01), (SpringState{0.01, 1.0}));
    // The damping pulls against the velocity: −4π ζ m / period = −20 per unit of velocity.
    const SpringState damped = Flair::springStep({1, 2}, 1, Spring{1, 100, 1}, 0.01);
    EXPECT_NEAR(damped.velocity, 2 - 20 * 2 * 0.01, 1e-12);
    EXPECT_NEAR(damped.position, 1 + damped.velocity * 0.01, 1e-15);
    // Without a period the value lands on the target at rest.
    EXPECT_EQ(Flair::springStep({3, 5}, 1, Spring{-1, 100, 1}, 0.01), (SpringState{1, 0}));
}

TEST(SpringTest, TheReleaseRateIsFiniteOnlyBelowCriticalDamping) {
    EXPECT_FALSE(std::isfinite(Flair::springReleaseRate(0.1, 1, 100, 1, 1, 0)));
    EXPECT_FALSE(std::isfinite(Flair::springReleaseRate(0.1, 1, 100, 1.5, 1, 0)));
    // Undamped from rest with unit speed: −cos(10 t), zero at the quarter period.
    EXPECT_NEAR(Flair::springReleaseRate(0, 1, 100, 0, 1, 0), -1, 1e-15);
    EXPECT_NEAR(Flair::springReleaseRate(std::numbers::pi / 20, 1, 100, 0, 1, 0), 0, 1e-15);
}

TEST(SecondOrderDynamicsTest, ShakeConstantsFollowTheirRule) {
    constexpr double pi = std::numbers::pi;
    const double f = 3, zeta = 0.85, response = -0.2;
    EXPECT_EQ(Flair::shakeDynamicsK1, zeta / (pi * f));
    EXPECT_EQ(Flair::shakeDynamicsK2, 1 / ((2 * pi * f) * (2 * pi * f)));
    EXPECT_EQ(Flair::shakeDynamicsK3, response * zeta / (2 * pi * f));
}

TEST(SecondOrderDynamicsTest, AnUpdateMovesTheValueWithTheOldVelocityThenTheVelocity) {
    // Worked by hand with k1 = k2 = 1, k3 = 0.5, steps of 0.5 towards 1:
    //   1: rate 2; value 0 + 0 · 0.5 = 0; velocity 0 + (0.5 · 2 + 1 − 0 − 0) · 0.5 = 1.
    //   2: rate 0; value 0 + 1 · 0.5 = 0.5; velocity 1 + (0 + 1 − 0.5 − 1) · 0.5 = 0.75.
    SecondOrderDynamics<double> dynamics{1, 1, 0.5};
    EXPECT_EQ(dynamics.update(1, 0.5), 0);
    EXPECT_EQ(dynamics.velocity, 1);
    EXPECT_EQ(dynamics.previousTarget, 1);
    EXPECT_EQ(dynamics.update(1, 0.5), 0.5);
    EXPECT_EQ(dynamics.velocity, 0.75);

    // A step too long for the inertia takes (T²/4 + k1 T/2) · 1.1 instead: T = 2, k1 = 0 gives 1.1.
    SecondOrderDynamics<double> stiff{0, 0.001, 0};
    stiff.update(1, 2);
    EXPECT_DOUBLE_EQ(stiff.velocity, 1 / 1.1 * 2);
}

TEST(SecondOrderDynamicsTest, AStepThatIsNotPositiveChangesNothing) {
    SecondOrderDynamics<double> dynamics{Flair::shakeDynamicsK1, Flair::shakeDynamicsK2,
                                         Flair::shakeDynamicsK3};
    dynamics.update(1, 1.0 / 60);
    dynamics.update(1, 1.0 / 60);
    const SecondOrderDynamics<double> before = dynamics;
    for (double step : {0.0, -0.01, std::nan("")})
        EXPECT_EQ(dynamics.update(5, step), before.value);
    EXPECT_EQ(dynamics, before);
    // And the next real step goes on normally.
    EXPECT_TRUE(std::isfinite(dynamics.update(1, 1.0 / 60)));
    EXPECT_TRUE(std::isfinite(dynamics.velocity));
}

TEST(PeakTimeTest, FindsTheFirstTurningPointOfAnUnderdampedSpring) {
    EXPECT_DOUBLE_EQ(Flair::peakTime(0, 1, 1, 100, 1.0 / 3), 0.13112480802838347);
    // The jump's launch: the spring's displacement at that peak after a unit launch.
    EXPECT_DOUBLE_EQ(20 / Flair::jumpInitialVelocity(20), 0.06471186350219783);
    EXPECT_NEAR(Flair::jumpInitialVelocity(20), 309.06, 0.005);
    // Released from a displacement at rest: half a damped period.
    EXPECT_DOUBLE_EQ(Flair::peakTime(1, 0, 1, 100, 0), std::numbers::pi / 10);
    EXPECT_EQ(Flair::peakTime(0, 0, 1, 100, 0.5), 0);
    EXPECT_EQ(Flair::peakTime(0, 1, 1, 100, 1), 0);
    EXPECT_EQ(Flair::peakTime(0, 1, 1, 100, std::nan("")), 0);
    // Not finite: a spring without mass, or no stiffness at all.
    EXPECT_EQ(Flair::peakTime(0, 1, 0, 100, 0.5), 0);
    EXPECT_EQ(Flair::peakTime(1, 0, 1, 0, 0.5), 0);
}
