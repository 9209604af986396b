// The simulations of the shake, wiggle, glow pulse, jump and spin, stepped without a view.
#include "Flair/AnyChangeEffect.h"
#include "Flair/FrameInterval.h"
#include "Flair/GlowPulse.h"
#include "Flair/JumpSimulation.h"
#include "Flair/JumpSimulationModifier.h"
#include "Flair/PeakTime.h"
#include "Flair/ShakeSimulation.h"
#include "Flair/SpinSimulation.h"
#include "Flair/Spring.h"
#include "foundation/Date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double pi = std::numbers::pi;
using SpinRate = Flair::AnyChangeEffect::SpinRate;

Flair::ShakeSimulation shakeAt(double count) {
    Flair::ShakeSimulation s;
    s.count = count;
    return s;
}

} // namespace

TEST(FrameIntervalTest, LimitsTheStepToAThirtiethOfASecondAndNeverBackwards) {
    const foundation::Date start(1000);
    EXPECT_EQ(Flair::frameInterval(start + 1.0 / 64, start), 1.0 / 64);
    EXPECT_EQ(Flair::frameInterval(start + 0.5, start), 1.0 / 30);
    EXPECT_EQ(Flair::frameInterval(start - 1, start), 0);
    EXPECT_EQ(Flair::frameInterval(foundation::Date(notANumber), start), 0);
}

TEST(ShakeSimulationTest, AKickRaisesTheCounterAndARunningOneKeepsItsPhase) {
    const struct {
        double before, extra, after;
    } cases[] = {{0, 0, 2}, {1.5, 0, 2.5}, {2.0, 0, 2.0}, {1.0, 0, 3.0}, {0, 4, 6}, {1.5, 4, 6.5}};
    for (const auto& c : cases) {
        auto s = shakeAt(c.before);
        s.impulse(c.extra);
        EXPECT_EQ(s.count, c.after) << c.before << " + " << c.extra;
    }
}

TEST(ShakeSimulationTest, ZeroAndBrokenStepsLeaveItAbleToShake) {
    auto s = shakeAt(0);
    s.impulse();
    for (int i = 0; i < 5; ++i)
        s.step(1.0 / 60, 0.8);
    const auto before = s;
    ASSERT_NE(before.displacement, 0);
    s.step(0, 0.8);
    EXPECT_EQ(s, before) << "a frame that took no time changes nothing";

    s.integrator.velocity = notANumber;
    s.step(1.0 / 60, 0.8);
    EXPECT_TRUE(std::isfinite(s.integrator.value) && std::isfinite(s.integrator.velocity));
    EXPECT_EQ(s.displacement, 0) << "a follower out of the finite range starts again from rest";
    for (int i = 0; i < 5; ++i)
        s.step(1.0 / 60, 0.8);
    EXPECT_GT(std::abs(s.displacement), 1);

    for (double phaseLength : {-1.0, 0.0, notANumber}) {
        auto odd = shakeAt(0);
        odd.impulse();
        odd.step(1.0 / 60, phaseLength);
        EXPECT_EQ(odd.count, 0) << "phase length " << phaseLength << " ends the motion at once";
    }
}

TEST(ShakeSimulationTest, ItSnapsToRestOnlyWhenTheMotionIsTooSmallToSee) {
    auto swinging = shakeAt(0);
    swinging.integrator.value = 5e-4;
    swinging.integrator.velocity = 2; // through 0, about to swing out again
    swinging.step(1.0 / 600, 0.8);
    EXPECT_FALSE(swinging.isResting());

    auto settling = shakeAt(0);
    settling.integrator.value = 5e-4;
    settling.integrator.velocity = 5e-3;
    settling.step(1.0 / 600, 0.8);
    EXPECT_TRUE(settling.isResting());
    EXPECT_EQ(settling.integrator, Flair::ShakeSimulation{}.integrator);
}

TEST(GlowPulseTest, KicksSetTheSpeedAndTheRestTestIsSigned) {
    const struct { double before, after; } kicks[] = {{0, 5}, {2, 3.5}, {4, 5}, {0.05, 5}, {-3, 5}};
    for (const auto& k : kicks) {
        Flair::GlowPulse p{0.5, k.before};
        p.impulse();
        EXPECT_EQ(p.velocity, k.after) << "kicked at " << k.before;
    }

    Flair::GlowPulse falling{0.005, -2};
    falling.step(0);
    EXPECT_EQ(falling, Flair::GlowPulse{}) << "near 0 and falling fast: at rest";
    Flair::GlowPulse rising{0.005, 0.5};
    rising.step(0);
    EXPECT_EQ(rising, (Flair::GlowPulse{0.005, 0.5}));
    EXPECT_TRUE((Flair::GlowPulse{0, 0.02}).isResting());
    EXPECT_FALSE((Flair::GlowPulse{0, -0.03}).isResting());
}

TEST(JumpSimulationTest, LaunchesRelaunchesLowAndBuffersHighUpWhileRising) {
    const double v0 = Flair::JumpSimulationModifier(1, 20).initialVelocity;
    EXPECT_NEAR(v0, 309.06, 0.005);
    EXPECT_DOUBLE_EQ(v0, 20 / 0.06471186350219783);

    for (auto [x, v] : {std::pair{-9.9, -80.0}, {-9.9, 80.0}, {3.0, 40.0}}) {
        Flair::JumpSimulation j{x, v, false};
        j.launch(v0);
        EXPECT_EQ(j.velocity, -v0) << "at " << x << ": a full relaunch, not added";
        EXPECT_FALSE(j.jumpBuffered);
    }
    Flair::JumpSimulation rising{-10, -50, false};
    rising.launch(v0);
    EXPECT_EQ(rising, (Flair::JumpSimulation{-10, -50, true}));
    Flair::JumpSimulation falling{-15, 50, false};
    falling.launch(v0);
    EXPECT_EQ(falling, (Flair::JumpSimulation{-15, 50, false}));

    // Kept as it stands: a negative height squashes at twice the speed.
    Flair::JumpSimulation squashing;
    squashing.launch(-v0);
    EXPECT_EQ(squashing.velocity, 2 * v0);
}

TEST(JumpSimulationTest, ABufferedJumpLaunchesAtTheLandingUnlessTheLandingRests) {
    const double v0 = Flair::JumpSimulationModifier(1, 20).initialVelocity;
    const double dt = 1.0 / 60;
    Flair::JumpSimulation landing{-0.5, 60, true};
    landing.step(dt, v0, 20);
    EXPECT_GE(landing.displacement, 0);
    EXPECT_LT(landing.velocity, -200) << "relaunched from the landing";
    EXPECT_FALSE(landing.jumpBuffered);

    // Falling so as to end 0.02 above the line: the rest test drops the relaunch just made.
    const double damping =
        4 * pi * Flair::jumpSpring.zeta / (2 * pi / std::sqrt(Flair::jumpSpring.stiffness));
    const double x = -0.5, wanted = 0.02;
    const double v = ((wanted - x) / dt - Flair::jumpSpring.stiffness * -x * dt) / (1 - damping * dt);
    Flair::JumpSimulation close{x, v, true};
    close.step(dt, v0, 20);
    EXPECT_EQ(close, Flair::JumpSimulation{});
}

TEST(JumpSimulationTest, HighJumpsSlowNearThePeakAndBrokenNumbersRest) {
    const double dt = 1.0 / 60;
    for (double height : {20.0, 32.0}) {
        Flair::JumpSimulation j{-height, -10, false};
        j.step(dt, 0, height);
        const auto plain = Flair::springStep({-height, -10}, 0, Flair::jumpSpring, dt);
        EXPECT_EQ(j.displacement, plain.position) << height << " pt never slows";
    }
    Flair::JumpSimulation peak{-40, -10, false};
    peak.step(dt, 0, 40);
    const auto fifth = Flair::springStep({-40, -10}, 0, Flair::jumpSpring, 0.19999999999999996 * dt);
    EXPECT_EQ(peak.displacement, fifth.position) << "at its peak a 40 pt jump runs at a fifth";

    for (double height : {infinity, notANumber, 1e308})
        EXPECT_EQ(Flair::JumpSimulationModifier(1, height).initialVelocity, 0) << height;
    Flair::JumpSimulation huge{-1e308, -1e308, true};
    huge.step(dt, 0, 1e306);
    EXPECT_EQ(huge, Flair::JumpSimulation{});
}

TEST(SpinSimulationTest, KicksStartOrAddAndNeverPassTheMaximum) {
    const struct {
        double before, after;
    } kicks[] = {{0, 360}, {700, 720}, {5, 360}, {300, 660}, {-400, 360}};
    for (const auto& k : kicks) {
        Flair::SpinSimulation s{0, 0, k.before};
        s.impulse(SpinRate::default_());
        EXPECT_EQ(s.velocity, k.after) << "kicked at " << k.before << " °/s";
    }
    Flair::SpinSimulation fast;
    fast.impulse(SpinRate::fast());
    EXPECT_EQ(fast.velocity, 900);
}

TEST(SpinSimulationTest, TurnsFreelyAbove240AndRestsOnAWholeTurn) {
    Flair::SpinSimulation atBoundary{10, 0, 240};
    atBoundary.step(1.0 / 60, 0);
    EXPECT_EQ(atBoundary.targetAngle, 0) << "exactly 240 °/s: the spring holds the target";
    EXPECT_LT(atBoundary.velocity, 235);
    Flair::SpinSimulation above{10, 0, std::nextafter(240.0, 300.0)};
    above.step(1.0 / 60, 0);
    EXPECT_EQ(above.targetAngle, 360) << "faster: free, aiming at the next whole turn";

    Flair::SpinSimulation stopped{0, 0, 900};
    stopped.step(1.0 / 60, 0.99);
    EXPECT_EQ(stopped.velocity, 0) << "additional speed 0.99 stops it on the first free tick";

    const auto restingAngle = [](double hz, double additionalSpeed) {
        Flair::SpinSimulation s;
        s.impulse(SpinRate::default_());
        for (int tick = 0; tick < 10000 && !s.isResting(); ++tick)
            s.step(1 / hz, additionalSpeed);
        EXPECT_TRUE(s.isResting());
        return s.angle;
    };
    for (double hz : {30.0, 60.0, 120.0})
        EXPECT_EQ(restingAngle(hz, 0), 360) << hz << " Hz";
    for (double additionalSpeed : {-0.5, 2.5, notANumber}) {
        const double angle = restingAngle(60, additionalSpeed);
        EXPECT_EQ(std::fmod(angle, 360), 0) << additionalSpeed << " rests on " << angle;
    }

    Flair::SpinSimulation broken{700, 0, infinity};
    broken.step(1.0 / 60, 0);
    EXPECT_EQ(broken, (Flair::SpinSimulation{720, 720, 0})) << "out of range: at rest on its whole turn";
}
