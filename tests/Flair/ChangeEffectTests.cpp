#include "EffectProbe.h"

#include "Flair/ChangeCounting.h"
#include "Flair/ChangeEffect.h"
#include "Flair/OverrideDefaultAnimation.h"
#include "foundation/Date.h"
#include "ui/Transaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>

using namespace flairtest;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

// A card whose watched value moves it 10 pt down, under the test effect.
struct Watcher {
    ProbePtr probe;
    Flair::AnyChangeEffect effect;
    std::function<bool(const int&)> predicate;
    int initial = 0;
    ui::View body(ui::ViewContext& ctx) const {
        auto value = ctx.state<int>("value", initial);
        probe->value = value;
        return card().offset(0, 10.0 * *value) | Flair::changeEffect(effect, *value, predicate);
    }
};

struct Settings {
    double cooldown = 0;
    double delay = 0;
    int initial = 0;
    std::optional<ui::Animation> animation = std::nullopt;
    bool disablesAnimations = false; // in the whole view
};

struct Fixture {
    ProbePtr probe = std::make_shared<Probe>();
    std::shared_ptr<int> predicateCalls = std::make_shared<int>(0);
    ui::TestHost host;

    explicit Fixture(
        Settings s, std::function<bool(const int&)> accept = [](const int&) { return true; })
        : host(ui::View(Watcher{probe, countingEffect(probe, s.animation, s.cooldown).delay(s.delay),
                                [calls = predicateCalls, accept](const int& v) {
                                    ++*calls;
                                    return accept(v);
                                },
                                s.initial})
                   .transaction([s](ui::Transaction& t) { t.disablesAnimations |= s.disablesAnimations; })
                   .frame(300, 200, ui::Alignment::topLeading),
               {300, 200}) {}

    void set(int value) {
        probe->value->set(value);
        host.update();
    }
    void wait(double seconds) { host.stepFrame(seconds); }
    std::int64_t count() const { return probe->shownCount; }
};

} // namespace

TEST(ChangeEffectTest, CountsChangesThatPassThePredicateAndLieBeyondTheCooldown) {
    {
        Fixture f({});
        EXPECT_EQ(f.count(), 0);
        f.set(1);
        EXPECT_EQ(f.count(), 1) << "the first change counts at once";
        f.set(1);
        EXPECT_EQ(f.count(), 1) << "an equal value is no change";
    }
    {
        Fixture f({.cooldown = 0.5});
        f.set(1);
        EXPECT_EQ(f.count(), 1);
        f.wait(0.3);
        f.set(2);
        EXPECT_EQ(f.count(), 1) << "0.3 s after the counted change";
        f.wait(0.2);
        f.set(3);
        EXPECT_EQ(f.count(), 1) << "exactly the cooldown after it";
        f.wait(0.1);
        f.set(4);
        EXPECT_EQ(f.count(), 2) << "0.6 s after the counted one: the dropped changes left its time alone";
    }
    {
        Fixture f({}, [](const int& v) { return v % 2 == 0; });
        f.set(1);
        f.set(3);
        EXPECT_EQ(f.count(), 0) << "the predicate refused both";
        f.set(4);
        EXPECT_EQ(f.count(), 1);
    }
}

TEST(ChangeEffectTest, ADelayedStepComparesWithTheValueKeptAtItsReport) {
    Fixture f({.delay = 0.2, .initial = 1});
    f.set(2);
    f.wait(0.1);
    f.set(1);
    f.wait(0.05);
    EXPECT_EQ(f.count(), 0) << "nothing is examined before the delay";
    f.wait(0.1);
    EXPECT_EQ(f.count(), 1) << "1 → 2, examined at 0.2 s";
    f.wait(0.1);
    EXPECT_EQ(f.count(), 2) << "2 → 1 counts too, although the value was 1 before either change";
}

TEST(ChangeEffectTest, AStepDueAfterTheViewIsGoneDoesNothing) {
    Fixture f({.delay = 0.2});
    f.set(1);
    f.host.setRoot(ui::View());
    f.host.update();
    f.wait(0.5);
    EXPECT_EQ(*f.predicateCalls, 0);
    EXPECT_FALSE(f.probe->value->isAlive());
}

TEST(ChangeEffectTest, OddTimesAndCountsAreHandledSoundly) {
    {
        // The cooldown runs on uptime: setting the wall clock back does not hold changes back.
        Fixture f({.cooldown = 0.5});
        f.set(1);
        f.host.clock().set(f.host.clock().now() - 3600);
        f.wait(0.6);
        f.set(2);
        EXPECT_EQ(f.count(), 2);
    }
    {
        Fixture f({.cooldown = notANumber});
        f.set(1);
        f.set(2);
        EXPECT_EQ(f.count(), 1) << "a NaN cooldown acts as 0: a second change in the same instant is dropped";
        f.wait(0.01);
        f.set(3);
        EXPECT_EQ(f.count(), 2);
    }
    for (double delay : {notANumber, -1.0}) {
        Fixture f({.delay = delay});
        f.set(1);
        EXPECT_EQ(f.count(), 0) << delay;
        f.host.update();
        EXPECT_EQ(f.count(), 1) << "a delay of " << delay << " runs the step at the next turn";
    }
    {
        Fixture f({.delay = infinity});
        f.set(1);
        f.wait(1e9);
        EXPECT_EQ(f.count(), 0) << "an infinite delay never runs the step";
    }
}

TEST(ChangeEffectTest, TheCountWrapsInsteadOfOverflowing) {
    EXPECT_EQ(Flair::detail::nextCount(std::numeric_limits<std::int64_t>::max()),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Flair::detail::nextCount(-1), 0);
}

TEST(ChangeEffectTest, TheEffectKeepsItsOwnStateAcrossCounts) {
    Fixture f({});
    f.probe->own->set(7);
    for (int value : {1, 2, 3}) {
        f.wait(0.1);
        f.set(value);
        ASSERT_EQ(f.count(), value);
        EXPECT_EQ(f.probe->own->value(), 7) << "after count " << value;
    }
    EXPECT_NE(f.host.findByText("count 3"), nullptr);
}

TEST(ChangeEffectTest, TheEffectsViewsAnimateWithItsAnimationAndTheContentWithTheOuterOne) {
    for (std::optional<ui::Animation> outer :
         {std::optional<ui::Animation>(), std::optional(ui::Animation::linear(1))}) {
        Fixture f({.animation = ui::Animation::linear(0.5)});
        ui::withAnimation(outer, [&] { f.probe->value->set(1); });
        f.host.update();
        f.wait(0.25);
        EXPECT_DOUBLE_EQ(cardOrigin(f.host).x, 6) << "halfway through the effect's 0.5 s";
        EXPECT_DOUBLE_EQ(cardOrigin(f.host).y, outer ? 2.5 : 10) << "the content follows the change's own";
        f.wait(0.25);
        EXPECT_EQ(cardOrigin(f.host).x, 12);
    }
    {
        Fixture f({.animation = std::nullopt});
        ui::withAnimation(ui::Animation::linear(1), [&] { f.probe->value->set(1); });
        f.host.update();
        EXPECT_EQ(cardOrigin(f.host).x, 12) << "an effect without animation moves at once";
        f.wait(0.5);
        EXPECT_DOUBLE_EQ(cardOrigin(f.host).y, 5);
    }
    {
        Fixture f({.animation = ui::Animation::linear(1), .disablesAnimations = true});
        f.set(1);
        EXPECT_EQ(cardOrigin(f.host).x, 12) << "a transaction that disables animations keeps doing so";
    }
}

TEST(ChangeEffectTest, OverrideDefaultAnimationReplacesOnlyTheDefault) {
    const auto replacement = ui::Animation::linear(2);
    ui::Transaction none;
    Flair::overrideDefaultAnimation(none, replacement);
    EXPECT_FALSE(none.animation);

    ui::Transaction easeIn;
    easeIn.setAnimation(ui::Animation::easeIn(0.35));
    Flair::overrideDefaultAnimation(easeIn, replacement);
    EXPECT_EQ(*easeIn.animation, ui::Animation::easeIn(0.35));

    ui::Transaction byDefault;
    byDefault.setAnimation(ui::Animation::default_());
    Flair::overrideDefaultAnimation(byDefault, replacement);
    EXPECT_EQ(*byDefault.animation, replacement);
}
