// The synchronisation over the platform's iCloud store: built once that store is part of the
// foundation layer.
#if __has_include("foundation/UbiquitousKeyValueStore.h")

#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"
#include "Prefs/WithoutPropagation.h"
#include "Prefs/iCloudSynchronizer.h"

#include "UbiquitousKeyValueStoreAdapter.h"

#include "foundation/Any.h"
#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/MainThread.h"
#include "foundation/NotificationCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "foundation/TaskTesting.h"
#include "foundation/UbiquitousKeyValueStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using foundation::Date;
using foundation::PropertyList;
using foundation::UbiquitousKeyValueStore;

namespace {

using ICloudEndToEndTest = prefs_testing::PrefsTest;

// What one store announced as changed elsewhere, and whether it came on the main thread.
class Announcements {
public:
    explicit Announcements(const std::shared_ptr<UbiquitousKeyValueStore>& store)
        : token_(foundation::NotificationCenter::defaultCenter().addObserver(
              std::string(UbiquitousKeyValueStore::didChangeExternallyNotification), store, std::nullopt,
              [this](const foundation::Notification& notification) { record(notification); })) {}

    std::vector<std::string> names() const {
        std::lock_guard guard(mutex_);
        return names_;
    }
    bool cameOnTheMainThread() const {
        std::lock_guard guard(mutex_);
        return onMainThread_;
    }

private:
    void record(const foundation::Notification& notification) {
        const auto entry = notification.userInfo.find(std::string(UbiquitousKeyValueStore::changedKeysKey));
        std::lock_guard guard(mutex_);
        onMainThread_ = onMainThread_ || foundation::isMainThread();
        if (entry == notification.userInfo.end()) return;
        const auto* list = entry->second.get<PropertyList>();
        if (!list || !list->array()) return;
        for (const auto& name : *list->array())
            if (const auto* text = name.string()) names_.push_back(*text);
    }

    mutable std::mutex mutex_;
    std::vector<std::string> names_;
    bool onMainThread_ = false;
    foundation::NotificationObserverToken token_;
};

TEST_F(ICloudEndToEndTest, TwoStoresOverOneFileSynchroniseAKeyBothWays) {
    foundation::ScopedManualClock clock{Date(1000)};
    const auto defaults = suite("com.example.icloud.endtoend");
    const auto mine = UbiquitousKeyValueStore::make("org.quoril.tests.icloud");
    const auto theirs = UbiquitousKeyValueStore::make("org.quoril.tests.icloud");
    ASSERT_TRUE(mine && theirs);
    Announcements announced(mine);
    const auto synchronizer =
        Prefs::iCloudSynchronizer::make(std::make_shared<Prefs::UbiquitousKeyValueStoreAdapter>(mine));
    const auto volume = std::make_shared<Prefs::Key<int>>("volume", 3, defaults);
    synchronizer->add(volume);

    // Another writer of the file: `mine` announces it from its watcher, and the value is pulled.
    theirs->setObject(PropertyList::Array{Date(2000), 8}, "volume");
    theirs->synchronize();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return Prefs::get(volume) == 8; }, 10.0));
    const auto names = announced.names();
    EXPECT_NE(std::find(names.begin(), names.end(), "volume"), names.end());
    EXPECT_FALSE(announced.cameOnTheMainThread());
    foundation::testing::runUntilFinished(synchronizer->waitForSyncCompletion());
    EXPECT_EQ(defaults->objectForKey("volume__PREFS__synchronizeTimestamp"), PropertyList(Date(1000)));

    // And back: a local change reaches the other store's reading of the file.
    clock->advance(2000);
    Prefs::set(volume, 9);
    foundation::testing::runUntilFinished(synchronizer->waitForSyncCompletion());
    const PropertyList expected = PropertyList::Array{Date(3000), 9};
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] {
            theirs->synchronize();
            return theirs->objectForKey("volume") == expected;
        },
        10.0));
    synchronizer->removeAll();
}

// Steps and watcher threads go on while the process exits: what they use must outlive the
// static objects destroyed then. A handler registered before those objects were made runs
// after they are gone.
TEST(ICloudAtExitTest, StepsStillTellTheTimeAndWriteWhileTheProcessExits) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child starts anew with freed memory overwritten, so a use after destruction shows.
    const testing_support::ScopedEnvironment perturb("MALLOC_PERTURB_", "204");
    const testing_support::ScopedEnvironment noCache("GLIBC_TUNABLES", "glibc.malloc.tcache_count=0");
    EXPECT_EXIT(
        {
            std::atexit([] {
                // As a queue's worker or a store's watcher would, on a thread of its own.
                std::thread([] {
                    const Date now = Date::now();
                    Prefs::withoutPropagation([] {});
                    const bool suppressed = Prefs::detail::isPropagationSuppressed();
                    std::fprintf(stderr, "exiting at %.0f, %d\n", now.timeIntervalSince1970(), int(suppressed));
                }).join();
            });
            (void)Date::now();
            Prefs::withoutPropagation([] {});
            std::exit(0);
        },
        testing::ExitedWithCode(0), "exiting at .*, 0");
}

} // namespace

#endif
