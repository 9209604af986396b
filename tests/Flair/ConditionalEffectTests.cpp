#include "EffectProbe.h"

#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "foundation/Duration.h"
#include "foundation/RunLoop.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <variant>

using namespace flairtest;

namespace {

struct Settings {
    double interval = 0.5;
    double delay = 0;
    bool condition = true;
    std::optional<ui::Animation> animation = std::nullopt;
};

// The card under a repeating test effect whose condition and interval are states of the view.
struct Repeater {
    ProbePtr probe;
    Settings settings;
    ui::View body(ui::ViewContext& ctx) const {
        probe->condition = ctx.state<bool>("condition", settings.condition);
        probe->interval = ctx.state<double>("interval", settings.interval);
        const auto effect = Flair::AnyConditionalEffect::repeat(
            countingEffect(probe, settings.animation).delay(settings.delay), probe->interval->value());
        return card() | Flair::conditionalEffect(effect, probe->condition->value());
    }
};

struct Fixture {
    ProbePtr probe = std::make_shared<Probe>();
    ui::TestHost host;

    explicit Fixture(Settings s)
        : host(ui::View(Repeater{probe, s}).frame(300, 100, ui::Alignment::topLeading), {300, 100}) {}
    // The view goes; its pending timer fires once, here, instead of in a later test.
    ~Fixture() {
        host.setRoot(ui::View());
        host.update();
        foundation::RunLoop::main().advance(10);
    }
    void wait(double seconds) { host.stepFrame(seconds); }
    template <class T> void set(std::optional<ui::State<T>>& state, T value) {
        state->set(value);
        host.update();
    }
    std::int64_t count() const { return probe->shownCount; }
};

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(RepeatingEffectTest, IntervalsAreClampedAndThoseNotAboveZeroNeverTick) {
    for (double interval : {0.0, -1.0, notANumber}) {
        Fixture f({.interval = interval});
        f.wait(2);
        EXPECT_EQ(f.count(), 0) << interval;
    }
    Fixture f({.interval = 0.01});
    EXPECT_EQ(f.count(), 1);
    // Ticks at 0, 1/15, 2/15, 3/15, ...
    for (auto [wait, count] : {std::pair{0.05, 1}, {0.05, 2}, {0.05, 3}, {0.1, 4}}) {
        f.wait(wait);
        EXPECT_EQ(f.count(), count);
    }

    const auto effect = countingEffect(std::make_shared<Probe>(), std::nullopt);
    const auto fromDuration =
        Flair::AnyConditionalEffect::repeat(effect, foundation::Duration(1, 500'000'000'000'000'000));
    ASSERT_TRUE(std::holds_alternative<Flair::AnyConditionalEffect::Repeating>(fromDuration.guts()));
    EXPECT_EQ(std::get<Flair::AnyConditionalEffect::Repeating>(fromDuration.guts()).interval, 1.5);
}

TEST(RepeatingEffectTest, PlaysAtEachStartThenOncePerIntervalAndTheCountCarriesOn) {
    Fixture f({.interval = 0.5});
    EXPECT_EQ(f.count(), 1) << "enabled at first appearance: plays at once";
    f.wait(0.4);
    EXPECT_EQ(f.count(), 1);
    f.wait(0.2);
    EXPECT_EQ(f.count(), 2);

    f.set(f.probe->condition, false);
    f.wait(2);
    EXPECT_EQ(f.count(), 2) << "no ticks while disabled";
    f.set(f.probe->condition, true);
    EXPECT_EQ(f.count(), 3) << "enabled again: continues, at once";
    f.wait(0.3);
    f.set(f.probe->interval, 1.0);
    EXPECT_EQ(f.count(), 4) << "a new interval restarts the chain";
    f.wait(0.9);
    EXPECT_EQ(f.count(), 4);
    f.wait(0.2);
    EXPECT_EQ(f.count(), 5);

    // Enabled together with a new interval: one start, with that interval.
    f.set(f.probe->condition, false);
    f.probe->condition->set(true);
    f.probe->interval->set(2);
    f.host.update();
    EXPECT_EQ(f.count(), 6);
    f.wait(1.9);
    EXPECT_EQ(f.count(), 6);
    f.wait(0.2);
    EXPECT_EQ(f.count(), 7);
}

TEST(RepeatingEffectTest, TheDelayPutsOffOnlyTheFirstTickAfterEachStart) {
    Fixture f({.interval = 0.5, .delay = 0.3});
    EXPECT_EQ(f.count(), 0);
    f.wait(0.25);
    EXPECT_EQ(f.count(), 0);
    f.wait(0.1);
    EXPECT_EQ(f.count(), 1) << "0.3 s after the start";
    f.wait(0.5);
    EXPECT_EQ(f.count(), 2) << "then every interval";
    f.set(f.probe->condition, false);
    f.set(f.probe->condition, true);
    f.wait(0.25);
    EXPECT_EQ(f.count(), 2);
    f.wait(0.1);
    EXPECT_EQ(f.count(), 3);

    {
        Fixture disabled({.condition = false});
        disabled.wait(2);
        EXPECT_EQ(disabled.count(), 0);
    }
    {
        Fixture soon({.delay = notANumber});
        EXPECT_EQ(soon.count(), 0);
        soon.wait(0.01);
        EXPECT_EQ(soon.count(), 1) << "a NaN delay: at the next turn";
    }
    {
        Fixture never({.delay = std::numeric_limits<double>::infinity()});
        never.wait(100);
        EXPECT_EQ(never.count(), 0);
    }
    {
        Fixture once({.interval = std::numeric_limits<double>::infinity()});
        const std::size_t pending = foundation::RunLoop::main().pendingCount();
        once.wait(100);
        EXPECT_EQ(once.count(), 1) << "an infinite interval plays at the start and arms nothing";
        EXPECT_EQ(foundation::RunLoop::main().pendingCount(), pending);
    }
}

TEST(RepeatingEffectTest, APendingTimerOfAViewThatWentFiresOnceAndEndsTheChain) {
    Fixture f({.interval = 0.5});
    const std::size_t pending = foundation::RunLoop::main().pendingCount();
    f.host.setRoot(ui::View());
    f.host.update();
    EXPECT_EQ(foundation::RunLoop::main().pendingCount(), pending) << "the timer is still pending";
    f.wait(0.6);
    EXPECT_EQ(foundation::RunLoop::main().pendingCount(), pending - 1) << "it fired and armed no other";
    EXPECT_EQ(f.count(), 1);
}

TEST(RepeatingEffectTest, TicksAnimateWithTheEffectsAnimation) {
    Fixture f({.interval = 2, .animation = ui::Animation::linear(1)});
    f.wait(0.5);
    EXPECT_DOUBLE_EQ(cardOrigin(f.host).x, 6);
    f.wait(1.5);
    f.wait(0.5);
    EXPECT_DOUBLE_EQ(cardOrigin(f.host).x, 18) << "the second tick, halfway";
}

namespace {

// Moves the content 10 pt right while active.
struct ActiveShift {
    bool isActive = false;
    ui::View body(ui::ViewContext&, ui::View content) const { return content.offset(isActive ? 10 : 0, 0); }
};

// The card under a continuous effect that records each flag it is handed.
struct Continuous {
    ProbePtr probe;
    std::shared_ptr<std::vector<bool>> seen;
    ui::View body(ui::ViewContext& ctx) const {
        probe->condition = ctx.state<bool>("condition", false);
        const auto effect =
            Flair::AnyConditionalEffect(Flair::AnyContinuousEffect([seen = seen](bool isActive) {
                seen->push_back(isActive);
                return ActiveShift{isActive};
            }));
        return card() | Flair::conditionalEffect(effect, probe->condition->value());
    }
};

} // namespace

TEST(ContinuousEffectTest, TheEffectSeesTheConditionAtEveryEvaluation) {
    auto probe = std::make_shared<Probe>();
    auto seen = std::make_shared<std::vector<bool>>();
    ui::TestHost host(ui::View(Continuous{probe, seen}).frame(300, 100, ui::Alignment::topLeading),
                      {300, 100});
    for (bool value : {true, false, true}) {
        probe->condition->set(value);
        host.update();
        EXPECT_EQ(seen->back(), value);
        EXPECT_EQ(cardOrigin(host).x, value ? 10 : 0);
    }
    EXPECT_EQ(*seen, (std::vector<bool>{false, true, false, true}));
}

namespace {

// Reads the flag above, beside and inside a conditional effect, in its content and in its
// effect's own views.
struct FlagLayout {
    ProbePtr probe;
    bool repeating = true;
    ui::View body(ui::ViewContext&) const {
        const Flair::AnyConditionalEffect effect =
            repeating ? Flair::AnyConditionalEffect::repeat(countingEffect(probe, std::nullopt), 1)
                      : Flair::AnyConditionalEffect(Flair::AnyContinuousEffect([probe = probe](bool) {
                            return CountingModifier{0, probe};
                        }));
        const ui::View inside =
            ui::View(FlagReader{probe, "content"}) | Flair::conditionalEffect(effect, false);
        return ui::VStack({inside, ui::View(FlagReader{probe, "beside"})});
    }
};

} // namespace

TEST(ConditionalEffectTest, IsConditionalEffectHoldsInsideEitherKindOnly) {
    for (bool repeating : {true, false}) {
        auto probe = std::make_shared<Probe>();
        ui::TestHost host(
            ui::VStack({ui::View(FlagLayout{probe, repeating}), ui::View(FlagReader{probe, "above"})}));
        host.update();
        EXPECT_EQ(probe->isConditionalEffect,
                  (std::map<std::string, bool>{
                      {"content", true}, {"effect", true}, {"beside", false}, {"above", false}}))
            << (repeating ? "repeating" : "continuous");
    }
}
