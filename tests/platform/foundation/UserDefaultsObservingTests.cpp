#include "SuiteFixture.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <latch>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;

namespace {

using UserDefaultsObservingTest = testing_support::SuiteTest;
using Option = KeyValueObservingOption;

struct Notification {
    std::string keyPath;
    Object* object;
    KeyValueChange change;
    void* context;
};

// Records what it is told; `onNotify` runs inside the delivery.
class Recorder : public KeyValueObserver {
public:
    void observeValue(std::string_view keyPath, Object* object, const KeyValueChange& change,
                      void* context) override {
        {
            std::lock_guard lock(mutex_);
            notifications_.push_back({std::string(keyPath), object, change, context});
        }
        if (onNotify) onNotify(change);
    }
    std::vector<Notification> notifications() const {
        std::lock_guard lock(mutex_);
        return notifications_;
    }
    std::size_t count() const { return notifications().size(); }

    std::function<void(const KeyValueChange&)> onNotify;

private:
    mutable std::mutex mutex_;
    std::vector<Notification> notifications_;
};

const KeyValueObservingOptions newAndOld = Option::newValue | Option::oldValue;

} // namespace

TEST(KeyValueObservingOptionsTest, CombineAndTest) {
    const KeyValueObservingOptions options = Option::newValue | Option::prior;
    EXPECT_TRUE(options.contains(Option::newValue));
    EXPECT_TRUE(options.contains(Option::prior));
    EXPECT_FALSE(options.contains(Option::oldValue));
    EXPECT_EQ(options.rawValue(), 9u);
    EXPECT_EQ(KeyValueObservingOptions(9u), options);
    EXPECT_EQ((options | Option::initial).rawValue(), 13u);
    EXPECT_FALSE(KeyValueObservingOptions().contains(Option::initial));
}

TEST_F(UserDefaultsObservingTest, InitialIsDeliveredInsideAddObserver) {
    const auto defaults = suite();
    defaults->setObject("now", "k");
    const auto withValue = std::make_shared<Recorder>();
    const auto withoutValue = std::make_shared<Recorder>();
    int context = 0;
    defaults->addObserver(*withValue, "k", Option::initial | Option::newValue | Option::oldValue, &context);
    defaults->addObserver(*withoutValue, "k", Option::initial, nullptr);

    ASSERT_EQ(withValue->count(), 1u);
    const auto n = withValue->notifications()[0];
    EXPECT_EQ(n.keyPath, "k");
    EXPECT_EQ(n.object, defaults.get());
    EXPECT_EQ(n.context, &context);
    EXPECT_EQ(n.change.kind, KeyValueChangeKind::setting);
    EXPECT_EQ(n.change.newValue, PropertyList("now"));
    EXPECT_TRUE(n.change.oldValue.isAbsent());
    EXPECT_FALSE(n.change.isPrior);
    EXPECT_FALSE(n.change.indexes);
    ASSERT_EQ(withoutValue->count(), 1u);
    EXPECT_TRUE(withoutValue->notifications()[0].change.newValue.isAbsent());
}

TEST_F(UserDefaultsObservingTest, PriorComesBeforeTheChangeWhileTheOldValueIsStored) {
    const auto defaults = suite();
    defaults->setObject(1, "k");
    const auto observer = std::make_shared<Recorder>();
    std::vector<PropertyList> storedDuringCall;
    observer->onNotify = [&](const KeyValueChange&) {
        storedDuringCall.push_back(defaults->objectForKey("k"));
    };
    defaults->addObserver(*observer, "k", newAndOld | Option::prior, nullptr);
    defaults->setObject(2, "k");

    const auto notifications = observer->notifications();
    ASSERT_EQ(notifications.size(), 2u);
    EXPECT_TRUE(notifications[0].change.isPrior);
    EXPECT_EQ(notifications[0].change.oldValue, PropertyList(1));
    EXPECT_TRUE(notifications[0].change.newValue.isAbsent());
    EXPECT_FALSE(notifications[1].change.isPrior);
    EXPECT_EQ(notifications[1].change.oldValue, PropertyList(1));
    EXPECT_EQ(notifications[1].change.newValue, PropertyList(2));
    EXPECT_EQ(storedDuringCall, (std::vector<PropertyList>{1, 2}));
}

TEST_F(UserDefaultsObservingTest, EveryWriteNotifiesAlsoOfAnEqualValueButARefusedOneDoesNot) {
    const auto defaults = suite();
    const auto observer = std::make_shared<Recorder>();
    const auto other = std::make_shared<Recorder>();
    defaults->addObserver(*observer, "k", newAndOld, nullptr);
    defaults->addObserver(*other, "other", newAndOld, nullptr);
    defaults->setObject("same", "k");
    defaults->setObject("same", "k");
    defaults->removeObjectForKey("k");
    defaults->removeObjectForKey("k");
    defaults->setObject(PropertyList(), "k");
    EXPECT_EQ(observer->count(), 5u);
    EXPECT_EQ(other->count(), 0u);
    const auto n = observer->notifications();
    EXPECT_EQ(n[1].change.oldValue, PropertyList("same"));
    EXPECT_EQ(n[1].change.newValue, PropertyList("same"));
    EXPECT_TRUE(n[2].change.newValue.isAbsent());
    EXPECT_TRUE(n[3].change.oldValue.isAbsent());

    // The new value is what the file holds; a refused write tells nobody.
    defaults->setObject(Date(10.1234567), "k");
    EXPECT_EQ(observer->notifications().back().change.newValue,
              testing_support::throughAFile(Date(10.1234567)));
    testing::internal::CaptureStderr();
    defaults->setObject(PropertyList::null(), "k");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(observer->count(), 6u);
}

TEST_F(UserDefaultsObservingTest, EverySuiteObjectOfTheNameNotifiesWithItsOwnRegisteredValues) {
    const auto a = suite();
    const auto b = suite();
    const auto elsewhere = suite("elsewhere");
    a->registerDefaults({{"k", "registered in a"}});
    const auto onA = std::make_shared<Recorder>();
    const auto onB = std::make_shared<Recorder>();
    const auto onElsewhere = std::make_shared<Recorder>();
    a->addObserver(*onA, "k", newAndOld, nullptr);
    b->addObserver(*onB, "k", newAndOld, nullptr);
    elsewhere->addObserver(*onElsewhere, "k", newAndOld, nullptr);

    b->setObject("stored", "k");
    b->removeObjectForKey("k");
    const auto seenByA = onA->notifications();
    const auto seenByB = onB->notifications();
    ASSERT_EQ(seenByA.size(), 2u);
    ASSERT_EQ(seenByB.size(), 2u);
    EXPECT_EQ(seenByA[0].object, a.get());
    EXPECT_EQ(seenByB[0].object, b.get());
    EXPECT_EQ(seenByA[0].change.oldValue, PropertyList("registered in a"));
    EXPECT_TRUE(seenByB[0].change.oldValue.isAbsent());
    // After the removal each object's own registration domain shows through.
    EXPECT_EQ(seenByA[1].change.newValue, PropertyList("registered in a"));
    EXPECT_TRUE(seenByB[1].change.newValue.isAbsent());
    EXPECT_EQ(onElsewhere->count(), 0u);
}

TEST_F(UserDefaultsObservingTest, RemovalTakesTheMostRecentRegistrationOrTheOneWithTheContext) {
    const auto defaults = suite();
    const auto other = suite();
    const auto observer = std::make_shared<Recorder>();
    int first = 0, second = 0, third = 0;
    defaults->addObserver(*observer, "k", {}, &first);
    defaults->addObserver(*observer, "k", {}, &second);
    defaults->addObserver(*observer, "k", {}, &third);
    other->removeObserver(*observer, "k");            // registered on another object: nothing
    defaults->removeObserver(*observer, "other key"); // never registered: nothing
    defaults->removeObserver(*observer, "k");         // the latest: third
    defaults->removeObserver(*observer, "k", &first);
    defaults->removeObserver(*observer, "k", &first); // already gone: nothing
    defaults->setObject(1, "k");
    const auto notifications = observer->notifications();
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].context, &second);

    defaults->removeObserver(*observer, "k", &second);
    defaults->setObject(2, "k");
    EXPECT_EQ(observer->count(), 1u) << "no delivery after removal";
}

TEST_F(UserDefaultsObservingTest, ObserversAreHeldWeaklyAndMayLeaveFromTheirDestructor) {
    const auto defaults = suite();
    struct Leaving : Recorder {
        std::shared_ptr<UserDefaults> suite;
        ~Leaving() override { suite->removeObserver(*this, "k"); }
    };
    auto leaving = std::make_shared<Leaving>();
    leaving->suite = defaults;
    std::weak_ptr<Recorder> dropped;
    {
        auto forgotten = std::make_shared<Recorder>();
        dropped = forgotten;
        defaults->addObserver(*forgotten, "k", {}, nullptr);
    }
    defaults->addObserver(*leaving, "k", {}, nullptr);
    EXPECT_TRUE(dropped.expired()) << "the suite did not keep it alive";
    leaving.reset();
    defaults->setObject(1, "k"); // neither is called, nothing crashes

    // A new observer, perhaps at a freed address, gets only its own notifications.
    const auto fresh = std::make_shared<Recorder>();
    defaults->addObserver(*fresh, "k", {}, nullptr);
    defaults->setObject(2, "k");
    EXPECT_EQ(fresh->count(), 1u);
}

TEST_F(UserDefaultsObservingTest, ObserversMayRemoveThemselvesAddOthersAndWriteDuringADelivery) {
    const auto defaults = suite();
    const auto self = std::make_shared<Recorder>();
    const auto added = std::make_shared<Recorder>();
    const auto chained = std::make_shared<Recorder>();
    self->onNotify = [&](const KeyValueChange&) {
        defaults->removeObserver(*self, "k");
        defaults->addObserver(*added, "k", {}, nullptr);
        defaults->setObject("written during delivery", "chain");
    };
    defaults->addObserver(*self, "k", {}, nullptr);
    defaults->addObserver(*chained, "chain", Option::newValue, nullptr);
    defaults->setObject(1, "k");
    EXPECT_EQ(self->count(), 1u);
    EXPECT_EQ(added->count(), 0u) << "registered after the snapshot";
    ASSERT_EQ(chained->count(), 1u);
    EXPECT_EQ(chained->notifications()[0].change.newValue, PropertyList("written during delivery"));
    defaults->setObject(2, "k");
    EXPECT_EQ(self->count(), 1u);
    EXPECT_EQ(added->count(), 1u);
}

TEST_F(UserDefaultsObservingTest, TheOldValueIsTheOneTheWriteReplacedThoughAnotherThreadWroteMeanwhile) {
    const auto defaults = suite();
    defaults->setObject(1, "k");
    const auto observer = std::make_shared<Recorder>();
    std::latch inPrior(1), otherWrote(1);
    std::atomic<std::thread::id> blockedThread;
    observer->onNotify = [&](const KeyValueChange& change) {
        if (!change.isPrior || std::this_thread::get_id() != blockedThread.load()) return;
        blockedThread = std::thread::id();
        inPrior.count_down();
        otherWrote.wait();
    };
    defaults->addObserver(*observer, "k", newAndOld | Option::prior, nullptr);
    std::thread writer([&] {
        blockedThread = std::this_thread::get_id();
        defaults->setObject(2, "k");
    });
    inPrior.wait();
    defaults->setObject(3, "k"); // lands between the writer's prior notification and its store
    otherWrote.count_down();
    writer.join();

    const auto notifications = observer->notifications();
    ASSERT_EQ(notifications.size(), 4u);
    // The writer's prior saw 1; then 3 was stored, and the writer replaced that.
    EXPECT_EQ(notifications[0].change.oldValue, PropertyList(1));
    const auto& last = notifications.back().change;
    EXPECT_FALSE(last.isPrior);
    EXPECT_EQ(last.oldValue, PropertyList(3));
    EXPECT_EQ(last.newValue, PropertyList(2));
    EXPECT_EQ(defaults->objectForKey("k"), PropertyList(2));
}

TEST_F(UserDefaultsObservingTest, AnObserverMayReleaseTheLastReferenceToTheWritingObject) {
    // Found by AddressSanitizer when the write goes on through the released object.
    struct Owner : Recorder {
        std::shared_ptr<UserDefaults> owned;
    };
    const auto observed = suite();
    const auto owner = std::make_shared<Owner>();
    owner->owned = suite();
    UserDefaults* const writing = owner->owned.get();
    owner->onNotify = [&](const KeyValueChange&) { owner->owned.reset(); };
    observed->addObserver(*owner, "k", Option::newValue | Option::prior, nullptr);
    writing->setObject(1, "k");
    EXPECT_FALSE(owner->owned);
    ASSERT_EQ(owner->count(), 2u);
    EXPECT_EQ(owner->notifications()[1].change.newValue, PropertyList(1));
    EXPECT_EQ(observed->objectForKey("k"), PropertyList(1));
}

TEST_F(UserDefaultsObservingTest, AnObserverRemovedOnAnotherThreadDuringADeliveryIsNotCalled) {
    const auto defaults = suite();
    const auto first = std::make_shared<Recorder>();
    const auto second = std::make_shared<Recorder>();
    std::latch inFirst(1), removed(1);
    first->onNotify = [&](const KeyValueChange&) {
        inFirst.count_down();
        removed.wait();
    };
    defaults->addObserver(*first, "k", {}, nullptr);
    defaults->addObserver(*second, "k", {}, nullptr);
    std::thread remover([&] {
        inFirst.wait();
        defaults->removeObserver(*second, "k");
        removed.count_down();
    });
    defaults->setObject(1, "k");
    remover.join();
    EXPECT_EQ(first->count(), 1u);
    EXPECT_EQ(second->count(), 0u);
}

TEST_F(UserDefaultsObservingTest, AnObserverDestroyedOnAnotherThreadDuringADeliveryIsSkipped) {
    const auto defaults = suite();
    const auto first = std::make_shared<Recorder>();
    auto second = std::make_shared<Recorder>();
    std::atomic<bool> secondCalled{false};
    second->onNotify = [&](const KeyValueChange&) { secondCalled = true; };
    std::latch inFirst(1), destroyed(1);
    first->onNotify = [&](const KeyValueChange&) {
        inFirst.count_down();
        destroyed.wait();
    };
    defaults->addObserver(*first, "k", Option::newValue, nullptr);
    defaults->addObserver(*second, "k", Option::newValue, nullptr);
    std::thread destroyer([&] {
        inFirst.wait();
        second.reset(); // still registered, but gone
        destroyed.count_down();
    });
    defaults->setObject(1, "k");
    destroyer.join();
    EXPECT_FALSE(secondCalled);
    first->onNotify = nullptr;
    defaults->setObject(2, "k");
    EXPECT_EQ(first->count(), 2u);
}

TEST_F(UserDefaultsObservingTest, WritesAndRegistrationsFromManyThreads) {
    const auto defaults = suite();
    const auto steady = std::make_shared<Recorder>();
    defaults->addObserver(*steady, "shared", Option::newValue, nullptr);
    constexpr int threads = 4;
    constexpr int rounds = 20;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            const auto mine = suite();
            for (int i = 0; i < rounds; ++i) {
                auto transient = std::make_shared<Recorder>();
                mine->addObserver(*transient, "shared", newAndOld | Option::prior, nullptr);
                mine->setObject(t * rounds + i, "shared");
                mine->removeObserver(*transient, "shared");
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(steady->count(), std::size_t(threads * rounds));
}

TEST_F(UserDefaultsObservingTest, SuitesMadeAndDroppedOnManyThreadsLoseNoWrite) {
    // Each round may end the name's domain while another thread makes it anew.
    constexpr int threads = 4;
    constexpr int rounds = 25;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            for (int i = 0; i < rounds; ++i) {
                const auto mine = suite();
                const auto observer = std::make_shared<Recorder>();
                mine->addObserver(*observer, "t" + std::to_string(t), newAndOld, nullptr);
                mine->setObject(i, "t" + std::to_string(t));
                EXPECT_EQ(observer->count(), 1u);
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    const auto file = parse(fileOf("com.example.test"));
    ASSERT_TRUE(file);
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ((*file)["t" + std::to_string(t)], PropertyList(rounds - 1)) << t;
}

TEST_F(UserDefaultsObservingTest, AnObserverNotOwnedBySharedPtrIsAProgrammerError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Recorder unowned;
            suite()->addObserver(unowned, "k", {}, nullptr);
        },
        "Fatal error: .*shared_ptr");
}
