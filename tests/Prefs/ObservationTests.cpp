#include "PrefsFixture.h"

#include "Prefs/CompositePrefsObservation.h"
#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/Observe.h"
#include "Prefs/PrefsObservation.h"
#include "Prefs/ValueAccess.h"
#include "Prefs/WithoutPropagation.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/Object.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using foundation::KeyValueChangeKind;
using foundation::PropertyList;
using Prefs::ObservationOption;
using Prefs::ObservationOptions;

namespace {

using ObservationTest = prefs_testing::PrefsTest;

template <class Value, class... Args> std::shared_ptr<Prefs::Key<Value>> key(Args&&... args) {
    return std::make_shared<Prefs::Key<Value>>(std::forward<Args>(args)...);
}

struct Owner : foundation::Object {};

} // namespace

TEST(ObservationOptionTest, MapsToTheSuitesOptionsWithInitialWinning) {
    EXPECT_EQ(Prefs::keyValueObservingOptions({}).rawValue(), 3u);
    EXPECT_EQ(Prefs::keyValueObservingOptions(ObservationOption::initial).rawValue(), 7u);
    EXPECT_EQ(Prefs::keyValueObservingOptions(ObservationOption::prior).rawValue(), 11u);
    EXPECT_EQ(
        Prefs::keyValueObservingOptions({ObservationOption::initial, ObservationOption::prior}).rawValue(),
        7u);
    EXPECT_EQ(ObservationOptions({ObservationOption::prior, ObservationOption::prior}),
              ObservationOptions(ObservationOption::prior));
}

TEST_F(ObservationTest, InitialArrivesBeforeObserveReturnsWithTheDefaultAsOld) {
    const auto defaults = suite();
    const auto count = key<int>("count", 3, defaults);
    Prefs::set(count, 8);
    std::vector<Prefs::KeyChange<int>> changes;
    // With prior as well: one initial, and no prior notifications later.
    const auto observation = Prefs::observe(count, {ObservationOption::initial, ObservationOption::prior},
                                            [&](const Prefs::KeyChange<int>& c) { changes.push_back(c); });
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].kind(), KeyValueChangeKind::setting);
    EXPECT_EQ(changes[0].newValue(), 8);
    EXPECT_EQ(changes[0].oldValue(), 3);
    EXPECT_FALSE(changes[0].isPrior());
    EXPECT_FALSE(changes[0].indexes());

    Prefs::set(count, 9);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[1].isPrior());
    EXPECT_EQ(changes[1].oldValue(), 8);
    EXPECT_EQ(changes[1].newValue(), 9);
}

TEST_F(ObservationTest, PriorComesFirstAndMissingOrForeignValuesReadAsTheDefault) {
    const auto defaults = suite();
    int defaultReads = 0;
    const auto title = std::make_shared<Prefs::Key<std::string>>("title", defaults, false, [&] {
        ++defaultReads;
        return std::string("untitled");
    });
    std::vector<Prefs::KeyChange<std::string>> changes;
    const auto observation =
        Prefs::observe(title, ObservationOption::prior,
                       [&](const Prefs::KeyChange<std::string>& c) { changes.push_back(c); });
    Prefs::set(title, "first");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_TRUE(changes[0].isPrior());
    EXPECT_EQ(changes[0].newValue(), "untitled");
    EXPECT_EQ(changes[0].oldValue(), "untitled");
    EXPECT_FALSE(changes[1].isPrior());
    EXPECT_EQ(changes[1].newValue(), "first");
    EXPECT_EQ(defaultReads, 2) << "the default is read once for each notification";

    changes.clear();
    title->reset();
    defaults->setObject(42, "title");
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[1].oldValue(), "first");
    EXPECT_EQ(changes[1].newValue(), "untitled") << "a removal reports the default";
    EXPECT_EQ(changes[3].newValue(), "untitled") << "a number is no text";
}

TEST_F(ObservationTest, WritesInsideWithoutPropagationReachNobodyOnThisThreadOnly) {
    const auto defaults = suite();
    const auto flag = key<bool>("flag", false, defaults);
    std::vector<bool> seen;
    const auto observation =
        Prefs::observe(flag, {}, [&](const Prefs::KeyChange<bool>& c) { seen.push_back(c.newValue()); });

    Prefs::withoutPropagation([&] {
        Prefs::set(flag, true);
        std::thread([&] { Prefs::set(flag, false); }).join(); // another thread's write is delivered
    });
    EXPECT_EQ(seen, std::vector<bool>{false});

    // A nested block ends the suppression for the rest of the enclosing one.
    Prefs::withoutPropagation([&] {
        Prefs::withoutPropagation([&] { Prefs::set(flag, true); });
        Prefs::set(flag, false);
    });
    EXPECT_EQ(seen, (std::vector<bool>{false, false}));

    EXPECT_THROW(Prefs::withoutPropagation([&] {
                     Prefs::set(flag, true);
                     throw std::runtime_error("inside");
                 }),
                 std::runtime_error);
    Prefs::set(flag, false);
    EXPECT_EQ(seen, (std::vector<bool>{false, false, false})) << "an exception ends the suppression";
}

TEST_F(ObservationTest, ATieToAnOwnerEndsWithTheOwner) {
    const auto defaults = suite();
    const auto count = key<int>("count", 0, defaults);
    int calls = 0;
    auto owner = std::make_shared<Owner>();

    // Kept alive by the tie alone.
    std::weak_ptr<Prefs::_PrefsObservation> tiedOnly =
        Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>&) { ++calls; })->bindToLifetime(owner);
    // Held by the caller too.
    const auto held = Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>&) { ++calls; });
    held->bindToLifetime(owner);
    Prefs::set(count, 1);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(tiedOnly.expired());

    owner.reset();
    EXPECT_TRUE(tiedOnly.expired());
    Prefs::set(count, 2);
    EXPECT_EQ(calls, 2) << "a held observation stops with its owner too";
}

TEST_F(ObservationTest, UnbindingAndRebindingKeepAHeldObservationObserving) {
    const auto defaults = suite();
    const auto count = key<int>("count", 0, defaults);
    int heldCalls = 0, tiedCalls = 0;
    auto first = std::make_shared<Owner>();
    auto second = std::make_shared<Owner>();

    const auto held = Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>&) { ++heldCalls; });
    held->bindToLifetime(first);
    held->unbindLifetime();
    first.reset();
    Prefs::set(count, 1);
    EXPECT_EQ(heldCalls, 1);

    // Only the tie keeps this one: unbinding destroys it at once.
    std::weak_ptr<Prefs::_PrefsObservation> tiedOnly =
        Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>&) { ++tiedCalls; })->bindToLifetime(second);
    tiedOnly.lock()->unbindLifetime();
    EXPECT_TRUE(tiedOnly.expired());
    Prefs::set(count, 2);
    EXPECT_EQ(tiedCalls, 0);

    // A second tie replaces the first; the observation goes on until the second owner goes.
    auto third = std::make_shared<Owner>();
    auto fourth = std::make_shared<Owner>();
    std::weak_ptr<Prefs::_PrefsObservation> rebound =
        Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>&) { ++tiedCalls; })->bindToLifetime(third);
    rebound.lock()->bindToLifetime(fourth);
    Prefs::set(count, 3);
    EXPECT_EQ(tiedCalls, 1);
    third.reset();
    Prefs::set(count, 4);
    EXPECT_EQ(tiedCalls, 2) << "the first owner no longer counts";
    fourth.reset();
    EXPECT_TRUE(rebound.expired());
    Prefs::set(count, 5);
    EXPECT_EQ(tiedCalls, 2);
}

TEST_F(ObservationTest, AHandlerMayStopOrReleaseItsObservationDuringTheInitialDelivery) {
    const auto defaults = suite();
    int calls = 0;
    std::shared_ptr<Prefs::PrefsObservation> stopping;
    stopping = std::make_shared<Prefs::PrefsObservation>(
        defaults, "k", [&](const Prefs::SuiteKeyPair&, const Prefs::BaseChange&) {
            ++calls;
            stopping->stopObserving(); // would deadlock were the lock held here
        });
    stopping->beginObserving(ObservationOption::initial);
    defaults->setObject(1, "k");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(stopping->isObserving());

    std::shared_ptr<Prefs::PrefsObservation> releasing;
    releasing = std::make_shared<Prefs::PrefsObservation>(
        defaults, "k", [&](const Prefs::SuiteKeyPair&, const Prefs::BaseChange&) {
            ++calls;
            releasing.reset(); // the last reference, from inside its own delivery
        });
    std::weak_ptr<Prefs::PrefsObservation> weak = releasing;
    releasing->beginObserving(ObservationOption::initial);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(weak.expired());
    defaults->setObject(2, "k");
    EXPECT_EQ(calls, 2);
}

TEST_F(ObservationTest, AStoppedOrOrphanedObservationRegistersAndDeliversNothing) {
    auto defaults = suite();
    int calls = 0;
    const auto observation = std::make_shared<Prefs::PrefsObservation>(
        defaults, "k", [&](const Prefs::SuiteKeyPair& pair, const Prefs::BaseChange&) {
            ++calls;
            EXPECT_EQ(pair.key(), "k");
        });
    observation->beginObserving();
    defaults->setObject(1, "k");
    observation->stopObserving();
    observation->stopObserving();
    observation->beginObserving(ObservationOption::initial); // invalidated: registers nothing
    EXPECT_TRUE(observation->isObserving());
    defaults->setObject(2, "k");
    EXPECT_EQ(calls, 1);

    const auto orphan = std::make_shared<Prefs::PrefsObservation>(
        defaults, "k", [&](const Prefs::SuiteKeyPair&, const Prefs::BaseChange&) { ++calls; });
    defaults.reset();
    orphan->beginObserving(ObservationOption::initial);
    EXPECT_EQ(calls, 1);
    suite()->setObject(3, "k");
    EXPECT_EQ(calls, 1);
}

TEST_F(ObservationTest, CompositeCallsOncePerChangeOfAnyMemberAndFollowsAddedAndRemovedKeys) {
    const auto defaults = suite();
    const auto other = suite("com.example.other");
    const auto a = key<int>("a", 0, defaults);
    const auto b = key<std::string>("b", "", defaults);
    const auto c = key<bool>("c", false, defaults);
    int calls = 0;
    const auto observation = Prefs::observe({a, b, c}, ObservationOption::initial, [&] { ++calls; });
    EXPECT_EQ(calls, 3) << "once per key at registration";
    Prefs::set(a, 1);
    Prefs::set(b, "x");
    Prefs::set(c, true);
    EXPECT_EQ(calls, 6);

    std::vector<std::string> fired;
    const auto composite = std::make_shared<Prefs::CompositePrefsObservation>(
        [&](const Prefs::SuiteKeyPair& pair, const Prefs::BaseChange&) { fired.push_back(pair.key()); });
    composite->addKey(*a);
    composite->addKey(*b);
    composite->removeKey(*key<int>("a", 0, other)); // same name, another suite: nothing
    composite->removeKey(*c);                       // no member: nothing
    Prefs::set(a, 2);
    Prefs::set(b, "y");
    composite->removeKey(*a);
    Prefs::set(a, 3);
    Prefs::set(b, "z");
    EXPECT_EQ(fired, (std::vector<std::string>{"a", "b", "b"}));

    composite->stopObserving();
    Prefs::set(b, "after");
    EXPECT_EQ(fired.size(), 3u);
    composite->beginObserving(); // stopped members stay stopped
    Prefs::set(b, "again");
    EXPECT_EQ(fired.size(), 3u);

    // Adding after a stop observes anew, and the stopped members are dropped, not piled up.
    for (int round = 0; round < 3; ++round) {
        composite->addKey(*b);
        composite->stopObserving();
    }
    composite->addKey(*b);
    EXPECT_EQ(composite->observations().size(), 1u);
    Prefs::set(b, "re-added");
    EXPECT_EQ(fired, (std::vector<std::string>{"a", "b", "b", "b"}));
}

TEST_F(ObservationTest, SuiteKeyPairsCompareByKeyAndSuite) {
    auto one = suite();
    const auto two = suite();
    const Prefs::SuiteKeyPair a(one, "k");
    EXPECT_EQ(a, Prefs::SuiteKeyPair(one, "k"));
    EXPECT_EQ(a.hash(), Prefs::SuiteKeyPair(one, "k").hash());
    EXPECT_NE(a, Prefs::SuiteKeyPair(two, "k"));
    EXPECT_NE(a, Prefs::SuiteKeyPair(one, "j"));
    const Prefs::SuiteKeyPair gone(std::weak_ptr<foundation::UserDefaults>(), "k");
    EXPECT_NE(a, gone);
    one.reset();
    EXPECT_EQ(a, gone) << "both suites gone";
}

TEST_F(ObservationTest, AThrowingHandlerKeepsTheWriteAndTheOtherObservers) {
    const auto defaults = suite();
    const auto count = key<int>("count", 0, defaults);
    const auto throwing = Prefs::observe(
        count, {}, [](const Prefs::KeyChange<int>&) { throw std::runtime_error("handler failed"); });
    std::vector<int> seen;
    const auto later =
        Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>& c) { seen.push_back(c.newValue()); });
    EXPECT_NO_THROW(Prefs::set(count, 4));
    EXPECT_NO_THROW(Prefs::set(count, 5));
    EXPECT_EQ(seen, (std::vector<int>{4, 5}));
    EXPECT_EQ(Prefs::get(count), 5);
}

TEST_F(ObservationTest, AHandlerMayWriteItsKeyStopItselfOrObserveAnotherKeyDuringAChange) {
    const auto defaults = suite();
    const auto count = key<int>("count", 0, defaults);
    const auto other = key<int>("other", 0, defaults);
    std::vector<int> seen;
    std::shared_ptr<Prefs::_PrefsObservation> self, added;
    int otherCalls = 0;
    self = Prefs::observe(count, {}, [&](const Prefs::KeyChange<int>& c) {
        seen.push_back(c.newValue());
        if (c.newValue() == 1) Prefs::set(count, 2); // nested write of the same key
        if (c.newValue() == 2 && !added)
            added = Prefs::observe(other, {}, [&](const Prefs::KeyChange<int>&) { ++otherCalls; });
        if (c.newValue() == 3) self->stopObserving();
    });
    Prefs::set(count, 1);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    Prefs::set(other, 1);
    EXPECT_EQ(otherCalls, 1);
    Prefs::set(count, 3);
    Prefs::set(count, 4);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));

    // A composite's handler may change its own members.
    std::shared_ptr<Prefs::CompositePrefsObservation> composite;
    int compositeCalls = 0;
    composite = std::make_shared<Prefs::CompositePrefsObservation>(
        std::vector<std::shared_ptr<Prefs::_AnyKey>>{count},
        [&](const Prefs::SuiteKeyPair&, const Prefs::BaseChange&) {
            ++compositeCalls;
            composite->removeKey(*count);
            composite->addKey(*other);
        });
    composite->beginObserving();
    Prefs::set(count, 5);
    Prefs::set(count, 6);
    EXPECT_EQ(compositeCalls, 1);
}
