#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/KeyChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/PrefsPublisher.h"
#include "Prefs/Publishers.h"
#include "Prefs/ValueAccess.h"

#include "reactive/AnyCancellable.h"
#include "reactive/Subscriber.h"
#include "reactive/Subscription.h"
#include "reactive/Void.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using Prefs::ObservationOption;

namespace {

using PublisherTest = prefs_testing::PrefsTest;

template <class Value, class... Args> std::shared_ptr<Prefs::Key<Value>> key(Args&&... args) {
    return std::make_shared<Prefs::Key<Value>>(std::forward<Args>(args)...);
}

// Takes one value and cancels from within it, as a subscriber that wants only the first does.
class TakesOne final : public reactive::Subscriber<Prefs::BaseChange> {
public:
    void receiveSubscription(std::shared_ptr<reactive::Subscription> subscription) override {
        subscription_ = std::move(subscription); // asks for nothing: values come anyway
    }
    reactive::Subscribers::Demand receive(const Prefs::BaseChange& change) override {
        values.push_back(change);
        if (auto subscription = std::exchange(subscription_, nullptr)) subscription->cancel();
        return reactive::Subscribers::Demand::none();
    }
    void receiveCompletion(const reactive::Subscribers::Completion<reactive::Never>&) override {
        ++completions;
    }

    std::vector<Prefs::BaseChange> values;
    int completions = 0;

private:
    std::shared_ptr<reactive::Subscription> subscription_;
};

// Hands each value to a function; the test cancels its subscription from another thread.
class Recorder final : public reactive::Subscriber<Prefs::BaseChange> {
public:
    explicit Recorder(std::function<void(const Prefs::BaseChange&)> onValue)
        : onValue_(std::move(onValue)) {}
    void receiveSubscription(std::shared_ptr<reactive::Subscription> s) override {
        subscription = std::move(s);
    }
    reactive::Subscribers::Demand receive(const Prefs::BaseChange& change) override {
        onValue_(change);
        return reactive::Subscribers::Demand::none();
    }
    void receiveCompletion(const reactive::Subscribers::Completion<reactive::Never>&) override {}

    std::shared_ptr<reactive::Subscription> subscription; // set before the first value

private:
    const std::function<void(const Prefs::BaseChange&)> onValue_;
};

} // namespace

TEST_F(PublisherTest, TheInitialValueArrivesOnSubscribingAndNothingAfterCancel) {
    const auto defaults = suite();
    const auto count = key<int>("count", 3, defaults);
    Prefs::set(count, 5);
    std::vector<Prefs::KeyChange<int>> changes;
    auto cancellable =
        Prefs::publisher(count, ObservationOption::initial).sink([&](const Prefs::KeyChange<int>& change) {
            changes.push_back(change);
        });
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].newValue(), 5);
    EXPECT_EQ(changes[0].oldValue(), 3);

    std::vector<Prefs::KeyChange<int>> later;
    auto quiet =
        Prefs::publisher(count).sink([&](const Prefs::KeyChange<int>& change) { later.push_back(change); });
    EXPECT_TRUE(later.empty());
    Prefs::set(count, 6);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].oldValue(), 5);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(later[0], changes[1]) << "each subscriber has its own observation of the same write";

    cancellable.cancel();
    quiet.cancel();
    Prefs::set(count, 7);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(later.size(), 1u);
}

TEST_F(PublisherTest, CancellingWithinTheInitialValueEndsTheSubscriptionCleanly) {
    const auto defaults = suite();
    defaults->setObject(1, "k");
    const auto subscriber = std::make_shared<TakesOne>();
    Prefs::PrefsPublisher(defaults, "k", ObservationOption::initial).receive(subscriber);
    ASSERT_EQ(subscriber->values.size(), 1u);
    EXPECT_EQ(subscriber->values[0].newValue, foundation::PropertyList(1));
    defaults->setObject(2, "k");
    EXPECT_EQ(subscriber->values.size(), 1u);
    EXPECT_EQ(subscriber->completions, 0);
}

TEST_F(PublisherTest, TheSeveralKeysPublisherSignalsEachChangeAndNeverCompletes) {
    const auto defaults = suite();
    const auto a = key<int>("a", 0, defaults);
    const auto b = key<bool>("b", false, defaults);
    const auto c = key<std::string>("c", "", defaults);
    int signals = 0, completions = 0;
    auto all = Prefs::publisher({a, b, c}, ObservationOption::initial)
                   .sink([&](const reactive::Subscribers::Completion<reactive::Never>&) { ++completions; },
                         [&](const reactive::Void&) { ++signals; });
    EXPECT_EQ(signals, 3);
    Prefs::set(b, true);
    Prefs::set(c, "x");
    EXPECT_EQ(signals, 5);

    int none = 0;
    auto empty = Prefs::publisher(std::vector<std::shared_ptr<Prefs::_AnyKey>>{}, ObservationOption::initial)
                     .sink([&](const reactive::Subscribers::Completion<reactive::Never>&) { ++completions; },
                           [&](const reactive::Void&) { ++none; });
    Prefs::set(a, 1);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(signals, 6);
    EXPECT_EQ(completions, 0);
}

TEST_F(PublisherTest, ACancelRacingWritesStartsNoDeliveryAfterItReturns) {
    // Each write carries its number; one that began after cancel() returned must not arrive.
    const auto defaults = suite();
    const auto count = key<int>("count", 0, defaults);
    for (int round = 0; round < 100; ++round) {
        std::atomic<int> firstAfterCancel{1 << 30};
        std::atomic<int> latestWrite{0};
        std::atomic<bool> late{false};
        std::atomic<int> received{0};
        // Straight on the store's subscription, so no operator's own guard hides a late value.
        const auto recorder = std::make_shared<Recorder>([&](const Prefs::BaseChange& change) {
            if (change.newValue.number<int>().value_or(0) >= firstAfterCancel.load()) late = true;
            ++received;
        });
        Prefs::PrefsPublisher(defaults, "count", {}).receive(recorder);
        std::atomic<bool> stop{false}, writerDone{false};
        std::thread writer([&] {
            for (int i = 1; !stop.load() && i < 100000; ++i) {
                latestWrite = i;
                Prefs::set(count, i);
            }
            writerDone = true;
        });
        // Each write saves the suite's file, so the rounds wait on deliveries and spins rather
        // than on many writes: once values flow, the cancel lands somewhere in the next write.
        while (received.load() == 0 && !writerDone.load())
            std::this_thread::yield();
        for (int spin = 0; spin < round % 7 * 40; ++spin)
            std::this_thread::yield();
        recorder->subscription->cancel();
        firstAfterCancel = latestWrite.load() + 1;
        // Two whole writes that began after the cancel.
        const int target = firstAfterCancel.load() + 2;
        while (latestWrite.load() < target && !writerDone.load())
            std::this_thread::yield();
        stop = true;
        writer.join();
        EXPECT_FALSE(late) << "round " << round;
        EXPECT_GT(received.load(), 0);
    }
}
