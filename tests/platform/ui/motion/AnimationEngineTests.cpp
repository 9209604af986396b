#include "Handles.h"
#include "TestBox.h"

#include "foundation/RunLoop.h"
#include "foundation/Timer.h"
#include "ui/Animation.h"
#include "ui/GeometryEffect.h"
#include "ui/OffsetEffect.h"
#include "ui/TestHost.h"
#include "ui/TransactionModifier.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

using namespace uitest;

namespace {

using Wrap = std::function<ui::View(ui::View, double)>;

// A box moved right by the state "x"; `wrap` may add modifiers around the moved box.
struct Mover {
    HandlesPtr<double> handles;
    Wrap wrap;
    ui::View body(ui::ViewContext& ctx) const {
        auto x = ctx.state<double>("x", 0);
        handles->keep("x", x);
        ui::View moved = box(10, 10).id("box").offset(*x, 0);
        return wrap ? wrap(moved, *x) : moved;
    }
};

struct Fixture {
    HandlesPtr<double> handles = std::make_shared<Handles<double>>();
    ui::TestHost host;
    explicit Fixture(Wrap wrap = {})
        : host(ui::View(Mover{handles, std::move(wrap)}).frame(200, 10, ui::Alignment::leading), {200, 10}) {}
    const ui::State<double>& x() { return (*handles)["x"]; }
    double shown() { return ui::TestHost::frame(host.find("box")).minX(); }
};

TEST(AnimationEngineTest, WritesAnimateOnlyInsideWithAnimationAndLandExactly) {
    Fixture f;
    f.x().set(40);
    f.host.update();
    EXPECT_EQ(f.shown(), 40) << "outside withAnimation the new value shows at once";
    EXPECT_FALSE(f.host.frameClock().hasSubscribers()) << "nothing runs without an animation";

    ui::withAnimation(ui::Animation::linear(3), [&] { f.x().set(100); });
    f.host.update();
    EXPECT_EQ(f.shown(), 40) << "starts where it was";
    f.host.stepFrame(1.5);
    EXPECT_DOUBLE_EQ(f.shown(), 70);
    f.host.stepFrame(1.0);
    EXPECT_DOUBLE_EQ(f.shown(), 90);
    f.host.stepFrame(0.6);
    EXPECT_EQ(f.shown(), 100);
    EXPECT_FALSE(f.host.frameClock().hasSubscribers()) << "the clock is left alone when done";
}

TEST(AnimationEngineTest, AValueThatIsNotANumberIsShownAtOnceEvenUnderASpring) {
    Fixture f;
    for (double x : {double(NAN), 30.0}) {
        ui::withAnimation(ui::Animation::spring(), [&] { f.x().set(x); });
        f.host.update();
        EXPECT_FALSE(f.host.frameClock().hasSubscribers()) << "no spring runs to or from " << x;
    }
    EXPECT_EQ(f.shown(), 30);
}

TEST(AnimationEngineTest, AnInstantAnimationWithADelayChangesWhenTheDelayEnds) {
    Fixture f;
    ui::withAnimation(ui::Animation::linear(0).delay(1), [&] { f.x().set(100); });
    f.host.update();
    f.host.stepFrame(0.5);
    EXPECT_EQ(f.shown(), 0) << "waits out the delay";
    f.host.stepFrame(0.6);
    EXPECT_EQ(f.shown(), 100);
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());
}

TEST(AnimationEngineTest, DisablesAnimationsAndNilAnimationWin) {
    {
        Fixture f;
        ui::Transaction disabled;
        disabled.setAnimation(ui::Animation::linear(1));
        disabled.disablesAnimations = true;
        ui::withTransaction(disabled, [&] { f.x().set(100); });
        f.host.update();
        EXPECT_EQ(f.shown(), 100);
    }
    {
        // A subtree that disables animations beats withAnimation and its own animation.
        Fixture f([](ui::View v, double) {
            return v.animation(ui::Animation::linear(1)).transaction([](ui::Transaction& t) {
                t.disablesAnimations = true;
            });
        });
        ui::withAnimation(ui::Animation::linear(1), [&] { f.x().set(100); });
        f.host.update();
        EXPECT_EQ(f.shown(), 100);
    }
    {
        Fixture f([](ui::View v, double) { return v.animation(std::nullopt); });
        ui::withAnimation(ui::Animation::linear(1), [&] { f.x().set(100); });
        f.host.update();
        EXPECT_EQ(f.shown(), 100) << "animation(nil) removes the animation";
    }
}

TEST(AnimationEngineTest, AnimationForAValueAppliesOnlyWhenItChanged) {
    // The box animates when x changes, whatever the write's transaction was.
    HandlesPtr<double> other = std::make_shared<Handles<double>>();
    Fixture f([](ui::View v, double x) { return v.animation(ui::Animation::linear(1), x); });
    f.x().set(100);
    f.host.update();
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(f.shown(), 50);
    f.host.stepFrame(0.5);
    EXPECT_EQ(f.shown(), 100);

    // Keyed on something that does not change, the same write shows at once.
    Fixture g([](ui::View v, double) { return v.animation(ui::Animation::linear(1), 7); });
    g.x().set(100);
    g.host.update();
    EXPECT_EQ(g.shown(), 100);
}

// Moves its content right by `shift` with an offset of its own.
struct Shift {
    double shift = 0;
    ui::View body(ui::ViewContext&, ui::View content) const { return content.offset(shift, 0).id("shifted"); }
};

TEST(AnimationEngineTest, AModifierLevelAnimationReachesOnlyTheModifiersOwnViews) {
    Fixture f([](ui::View v, double x) { return v.modifier(ui::animation(Shift{x}, std::nullopt)); });
    ui::withAnimation(ui::Animation::linear(1), [&] { f.x().set(100); });
    f.host.update();
    f.host.stepFrame(0.5);
    // The content's offset animates (50 of 100); the modifier's own offset jumps (100).
    EXPECT_DOUBLE_EQ(f.shown(), 150);
    f.host.stepFrame(0.5);
    EXPECT_EQ(f.shown(), 200);
}

TEST(AnimationEngineTest, AGeometryEffectWithAModifierLevelAnimationTakesItForItsOwnData) {
    // No animation for the effect: its offset jumps while the content's own offset animates.
    Fixture f([](ui::View v, double x) {
        return v.modifier(ui::animation(ui::OffsetEffect{{x, 0}}, std::nullopt));
    });
    ui::withAnimation(ui::Animation::linear(1), [&] { f.x().set(100); });
    f.host.update();
    f.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(f.shown(), 150);

    // An animation of its own: the effect's offset takes a second to the content's two.
    Fixture g([](ui::View v, double x) {
        return v.modifier(ui::animation(ui::OffsetEffect{{x, 0}}, ui::Animation::linear(1)));
    });
    ui::withAnimation(ui::Animation::linear(2), [&] { g.x().set(100); });
    g.host.update();
    g.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(g.shown(), 25 + 50);
    g.host.stepFrame(1.5);
    EXPECT_EQ(g.shown(), 200);
}

TEST(AnimationEngineTest, ATimerSteppingAValueIsShownExactly) {
    Fixture f;
    ui::withAnimation(ui::Animation::linear(10), [&] { f.x().set(100); });
    f.host.update();
    int tick = 0;
    auto timer = foundation::Timer::scheduledTimer(1.0 / 60, true, [&](foundation::Timer&) { f.x().set(++tick); });
    for (int i = 0; i < 5; ++i) {
        f.host.stepFrame();
        EXPECT_EQ(f.shown(), tick) << "the timer's write carries no animation";
    }
    EXPECT_EQ(tick, 5);
    timer->invalidate();
}

double springDisplacement(double omega0, double zeta, double x0, double v0, double t) {
    const double a = zeta * omega0, wd = omega0 * std::sqrt(1 - zeta * zeta);
    return std::exp(-a * t) * (x0 * std::cos(wd * t) + (v0 + a * x0) / wd * std::sin(wd * t));
}

double springVelocity(double omega0, double zeta, double x0, double v0, double t) {
    const double h = 1e-6;
    return (springDisplacement(omega0, zeta, x0, v0, t + h) - springDisplacement(omega0, zeta, x0, v0, t - h)) /
           (2 * h);
}

TEST(AnimationEngineTest, ASpringFollowsTheClosedFormAndKeepsItsVelocityWhenRetargeted) {
    const double response = 0.6, zeta = 0.5, omega0 = 2 * std::numbers::pi / response;
    const auto spring = ui::Animation::spring(response, zeta);
    Fixture f;
    ui::withAnimation(spring, [&] { f.x().set(100); });
    f.host.update();
    f.host.stepFrame(0.1);
    EXPECT_NEAR(f.shown(), 100 + springDisplacement(omega0, zeta, -100, 0, 0.1), 1e-9);
    f.host.stepFrame(0.1);
    const double at = 100 + springDisplacement(omega0, zeta, -100, 0, 0.2);
    const double velocity = springVelocity(omega0, zeta, -100, 0, 0.2);
    EXPECT_NEAR(f.shown(), at, 1e-9);

    // Sent back to 0 mid-flight: it leaves from where it is, still moving the way it was.
    ui::withAnimation(spring, [&] { f.x().set(0); });
    f.host.update();
    EXPECT_NEAR(f.shown(), at, 1e-9);
    for (double t : {0.05, 0.15}) {
        f.host.stepFrame(t == 0.05 ? 0.05 : 0.1);
        EXPECT_NEAR(f.shown(), springDisplacement(omega0, zeta, at, velocity, t), 1e-6) << t;
    }
    f.host.stepFrame(0.001);
    EXPECT_TRUE(f.host.frameClock().hasSubscribers());
    f.host.stepFrame(5);
    EXPECT_EQ(f.shown(), 0) << "lands exactly";
}

// Records the data its body runs with, through accessors.
struct Probe {
    double value = 0;
    std::shared_ptr<std::vector<double>> seen;
    double animatableData() const { return value; }
    void setAnimatableData(double data) { value = data; }
    ui::View body(ui::ViewContext&, ui::View content) const {
        seen->push_back(value);
        return content;
    }
};

TEST(AnimationEngineTest, ACustomAnimatableModifierRunsWithInterpolatedData) {
    auto seen = std::make_shared<std::vector<double>>();
    Fixture f([seen](ui::View v, double x) { return v.modifier(Probe{x, seen}); });
    ui::withAnimation(ui::Animation::linear(3), [&] { f.x().set(1.0); });
    f.host.update();
    f.host.stepFrame(1.5);
    EXPECT_DOUBLE_EQ(seen->back(), 0.5);
    f.host.stepFrame(1.5);
    EXPECT_EQ(seen->back(), 1.0) << "ends exactly on the target";
    const auto runs = seen->size();
    f.host.stepFrame(1);
    EXPECT_EQ(seen->size(), runs) << "no frames after the end";
}

TEST(AnimationEngineTest, CompletionRunsWhenTheAnimationsEnd) {
    Fixture f;
    int completed = 0;
    ui::withAnimation(ui::Animation::linear(1), [&] { f.x().set(100); }, [&] { ++completed; });
    f.host.update();
    f.host.stepFrame(0.5);
    EXPECT_EQ(completed, 0);
    f.host.stepFrame(0.5);
    f.host.update();
    EXPECT_EQ(completed, 1);

    // Nothing to animate: the completion comes at the next turn of the queue.
    ui::withAnimation(ui::Animation::linear(1), [] {}, [&] { ++completed; });
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(completed, 2);
}

} // namespace

namespace {

TEST(AnimationEngineTest, OpacityPaintsItsPresentedValue) {
    auto handles = std::make_shared<Handles<double>>();
    struct Fader {
        HandlesPtr<double> handles;
        ui::View body(ui::ViewContext& ctx) const {
            auto o = ctx.state<double>("o", 1);
            handles->keep("o", o);
            return ui::View(ui::Color(0, 0, 0)).opacity(*o);
        }
    };
    ui::TestHost host(Fader{handles}, {40, 40});
    ui::withAnimation(ui::Animation::linear(2), [&] { (*handles)["o"].set(0); });
    host.update();
    host.stepFrame(1);
    EXPECT_NEAR(qGray(host.render().pixel(20, 20)), 128, 2) << "half faded to the white behind";
    host.stepFrame(1);
    EXPECT_EQ(qGray(host.render().pixel(20, 20)), 255);
}

} // namespace
