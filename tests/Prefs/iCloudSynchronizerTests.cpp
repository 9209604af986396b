#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/Observe.h"
#include "Prefs/PrefsKeyValueStore.h"
#include "Prefs/ValueAccess.h"
#include "Prefs/iCloud.h"
#include "Prefs/iCloudSynchronizer.h"

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/KeyValueObserving.h"
#include "foundation/NotificationCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"

#include <QLoggingCategory>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <stdexcept>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using foundation::Date;
using foundation::PropertyList;
using Prefs::iCloudSynchronizer;
using Prefs::iCloud::DataSource;

namespace {

// The remote side: an in-memory store that counts its writes and can run a hook in synchronize().
class FakeRemoteStore final : public Prefs::PrefsKeyValueStore {
public:
    PropertyList objectForKey(std::string_view key) const override {
        std::lock_guard guard(mutex_);
        const auto entry = entries_.find(key);
        return entry == entries_.end() ? PropertyList() : entry->second;
    }
    void set(const PropertyList& object, std::string_view key) override {
        {
            std::lock_guard guard(mutex_);
            ++writes_;
            if (object.isAbsent())
                entries_.erase(std::string(key));
            else
                entries_.insert_or_assign(std::string(key), object);
        }
    }
    void removeObjectForKey(std::string_view key) override { set(PropertyList(), key); }
    bool synchronize() override {
        std::function<void()> hook;
        {
            std::lock_guard guard(mutex_);
            ++synchronizations_;
            hook = onSynchronize_;
        }
        if (hook) hook();
        return true;
    }

    // Another device's write: no count.
    void put(std::string_view key, Date stamp, PropertyList value) {
        std::lock_guard guard(mutex_);
        entries_.insert_or_assign(std::string(key), PropertyList::Array{stamp, std::move(value)});
    }
    void put(std::string_view key, PropertyList entry) {
        std::lock_guard guard(mutex_);
        entries_.insert_or_assign(std::string(key), std::move(entry));
    }
    // As the platform store announces a change from elsewhere.
    void postExternalChange(const std::vector<std::string>& names) {
        PropertyList::Array list(names.begin(), names.end());
        foundation::NotificationCenter::defaultCenter().post(
            std::string(iCloudSynchronizer::didChangeExternallyNotification), nullptr,
            {{std::string(iCloudSynchronizer::changedKeysKey), PropertyList(std::move(list))}});
    }
    void onSynchronize(std::function<void()> hook) {
        std::lock_guard guard(mutex_);
        onSynchronize_ = std::move(hook);
    }
    int writes() const {
        std::lock_guard guard(mutex_);
        return writes_;
    }
    int synchronizations() const {
        std::lock_guard guard(mutex_);
        return synchronizations_;
    }

private:
    mutable std::mutex mutex_;
    std::map<std::string, PropertyList, std::less<>> entries_;
    std::function<void()> onSynchronize_;
    int writes_ = 0;
    int synchronizations_ = 0;
};

// Holds a step inside the remote store's synchronize() until the test lets it go.
class Gate {
public:
    void wait() {
        entered_.release();
        (void)open_.try_acquire_for(std::chrono::seconds(10));
    }
    bool waitUntilEntered() { return entered_.try_acquire_for(std::chrono::seconds(10)); }
    void open() { open_.release(); }

private:
    std::binary_semaphore entered_{0};
    std::binary_semaphore open_{0};
};

PropertyList entry(double stamp, PropertyList value) {
    return PropertyList::Array{Date(stamp), std::move(value)};
}

class ICloudSynchronizerTest : public prefs_testing::PrefsTest {
protected:
    void TearDown() override {
        synchronizer->removeAll();
        settle();
        Prefs::iCloud::setDebug(false);
        QLoggingCategory::setFilterRules(QString());
    }

    template <class Value, class... Args> std::shared_ptr<Prefs::Key<Value>> key(Args&&... args) {
        return std::make_shared<Prefs::Key<Value>>(std::forward<Args>(args)...);
    }

    // Runs every step queued so far, and the main-actor writes of pulls among them.
    void settle() { foundation::testing::runUntilFinished(synchronizer->waitForSyncCompletion()); }

    PropertyList localStamp(const std::shared_ptr<foundation::UserDefaults>& suite, const std::string& name) {
        return suite->objectForKey(name + "__PREFS__synchronizeTimestamp");
    }

    foundation::ScopedManualClock clock{Date(1000)};
    std::shared_ptr<FakeRemoteStore> remote = std::make_shared<FakeRemoteStore>();
    std::shared_ptr<iCloudSynchronizer> synchronizer = iCloudSynchronizer::make(remote);
    std::shared_ptr<foundation::UserDefaults> defaults = suite("com.example.icloud");
};

TEST_F(ICloudSynchronizerTest, ADefaultWithoutRemoteEntryIsRegisteredOnceAndMovesNothing) {
    EXPECT_EQ(remote->synchronizations(), 1) << "once when made";
    const auto volume = key<int>("volume", 3, defaults);
    synchronizer->add(volume);
    synchronizer->add(volume);
    synchronizer->add(key<double>("volume", 0.5, defaults)); // equal: same name, same suite
    settle();
    EXPECT_EQ(synchronizer->keys().size(), 1u);
    EXPECT_EQ(remote->writes(), 0);
    EXPECT_EQ(remote->synchronizations(), 1);
    EXPECT_TRUE(localStamp(defaults, "volume").isAbsent());

    synchronizer->remove(key<int>("other", 0, defaults)); // not registered: nothing
    EXPECT_EQ(synchronizer->keys().size(), 1u);
}

TEST_F(ICloudSynchronizerTest, ADefaultPullsARemoteEntryStampedWithThePullsStartTime) {
    // A push holds the queue, so the pull starts well after it was queued.
    Gate gate;
    remote->onSynchronize([&] { gate.wait(); });
    defaults->setObject(7, "first");
    synchronizer->add(key<int>("first", 0, defaults));
    const bool entered = gate.waitUntilEntered();
    remote->onSynchronize(nullptr);
    ASSERT_TRUE(entered);

    remote->put("volume", Date(500), 0.5);
    clock->advance(10);
    const auto volume = key<double>("volume", 1.0, defaults);
    synchronizer->add(volume);
    clock->advance(5);
    gate.open();
    settle();

    EXPECT_EQ(remote->objectForKey("first"), entry(1000, 7));
    EXPECT_EQ(Prefs::get(volume), 0.5);
    EXPECT_EQ(localStamp(defaults, "volume"), PropertyList(Date(1015)))
        << "the pull's start, not the entry's";
    EXPECT_EQ(remote->writes(), 1) << "the pulled value is not pushed back";
}

TEST_F(ICloudSynchronizerTest, AChangedValueIsPushedWithTheStepsStartTime) {
    defaults->setObject(7, "volume");
    const auto volume = key<int>("volume", 3, defaults);
    synchronizer->add(volume);
    settle();
    EXPECT_EQ(remote->objectForKey("volume"), entry(1000, 7));
    EXPECT_TRUE(localStamp(defaults, "volume").isAbsent()) << "registration's push writes no local stamp";

    clock->advance(10);
    Prefs::set(volume, 8);
    settle();
    EXPECT_EQ(remote->objectForKey("volume"), entry(1010, 8));
    EXPECT_EQ(localStamp(defaults, "volume"), PropertyList(Date(1010)));

    // Back at the default, the registered default is what the suite answers, so it is pushed.
    clock->advance(10);
    volume->reset();
    settle();
    EXPECT_EQ(remote->objectForKey("volume"), entry(1020, 3));
}

TEST_F(ICloudSynchronizerTest, RemovingAStoredOptionalRemovesTheRemoteEntry) {
    const auto nickname = key<std::optional<std::string>>("nickname", defaults);
    synchronizer->add(nickname);
    Prefs::set(nickname, std::optional<std::string>("ada"));
    settle();
    EXPECT_EQ(remote->objectForKey("nickname"), entry(1000, "ada"));

    Prefs::set(nickname, std::nullopt);
    settle();
    EXPECT_TRUE(remote->objectForKey("nickname").isAbsent());
    EXPECT_EQ(remote->synchronizations(), 3);
}

TEST_F(ICloudSynchronizerTest, TheDirectionRuleAndEqualStamps) {
    const auto volume = key<int>("volume", 3, defaults);
    EXPECT_EQ(synchronizer->latestDataSource(*volume), DataSource::local) << "no remote stamp";
    remote->put("volume", PropertyList::Array{PropertyList("not a date"), 1});
    EXPECT_EQ(synchronizer->latestDataSource(*volume), DataSource::local) << "element 0 is no date";
    remote->put("volume", Date(900), 9);
    EXPECT_EQ(synchronizer->latestDataSource(*volume), DataSource::remote) << "no local stamp";
    defaults->setObject(Date(901), "volume__PREFS__synchronizeTimestamp");
    EXPECT_EQ(synchronizer->latestDataSource(*volume), DataSource::local);

    // Equal stamps: a registration pulls...
    defaults->setObject(7, "volume");
    defaults->setObject(Date(900), "volume__PREFS__synchronizeTimestamp");
    synchronizer->add(volume);
    settle();
    EXPECT_EQ(Prefs::get(volume), 9);
    EXPECT_EQ(localStamp(defaults, "volume"), PropertyList(Date(1000)));

    // ...while an external change with an equal or older stamp does nothing.
    remote->put("volume", Date(1000), 11);
    remote->postExternalChange({"volume"});
    remote->put("volume", Date(999), 12);
    remote->postExternalChange({"volume"});
    settle();
    EXPECT_EQ(Prefs::get(volume), 9);

    remote->put("volume", Date(1001), 13);
    remote->postExternalChange({"unregistered"});
    settle();
    EXPECT_EQ(Prefs::get(volume), 9) << "the change names other keys";
    remote->postExternalChange({"volume"});
    settle();
    EXPECT_EQ(Prefs::get(volume), 13);
    EXPECT_EQ(remote->writes(), 0);
}

TEST_F(ICloudSynchronizerTest, MalformedRemoteEntriesAndNotificationsChangeNothing) {
    const auto volume = key<int>("volume", 3, defaults);
    synchronizer->add(volume);
    const auto postWith = [](foundation::UserInfo userInfo) {
        foundation::NotificationCenter::defaultCenter().post(
            std::string(iCloudSynchronizer::didChangeExternallyNotification), nullptr, std::move(userInfo));
    };
    remote->put("volume", Date(2000), 5);
    postWith({});
    postWith({{std::string(iCloudSynchronizer::changedKeysKey), PropertyList("volume")}});
    postWith(
        {{std::string(iCloudSynchronizer::changedKeysKey), PropertyList(PropertyList::Array{"volume", 1})}});
    postWith({{std::string(iCloudSynchronizer::changedKeysKey), std::string("volume")}});
    settle();
    EXPECT_EQ(Prefs::get(volume), 3);

    // A timestamp without value pulls nothing.
    remote->put("volume", PropertyList::Array{Date(2000)});
    remote->postExternalChange({"volume"});
    settle();
    EXPECT_EQ(Prefs::get(volume), 3);
    EXPECT_TRUE(localStamp(defaults, "volume").isAbsent());
}

TEST_F(ICloudSynchronizerTest, APullIsNotPushedBackButWritesInReturnAre) {
    const auto volume = key<int>("volume", 3, defaults);
    remote->put("volume", Date(900), 9);
    // Observers of the pulled value write in return: within the pull's write, and right after
    // the pull's writes, on the main thread, while the step is still finishing.
    const auto reaction = Prefs::observe(volume, {}, [&](const Prefs::KeyChange<int>& change) {
        if (change.newValue() == 9) Prefs::set(volume, 42);
        if (change.newValue() == 10) foundation::RunLoop::main().perform([&] { Prefs::set(volume, 43); });
    });
    synchronizer->add(volume);
    settle();
    settle(); // the push the first reaction queued, behind the first flush
    EXPECT_EQ(Prefs::get(volume), 42);
    EXPECT_EQ(remote->objectForKey("volume"), entry(1000, 42));
    EXPECT_EQ(remote->writes(), 1) << "the pulled 9 itself was not pushed";

    clock->advance(10);
    remote->put("volume", Date(1005), 10);
    remote->postExternalChange({"volume"});
    settle();
    settle(); // the push the second reaction queued
    EXPECT_EQ(Prefs::get(volume), 43);
    EXPECT_EQ(remote->objectForKey("volume"), entry(1010, 43));
    EXPECT_EQ(remote->writes(), 2);
}

// An observer of the suite itself, beneath the preferences layer, that fails on every change.
class ThrowingObserver final : public foundation::KeyValueObserver {
public:
    void observeValue(std::string_view, foundation::Object*, const foundation::KeyValueChange&, void*) override {
        throw std::runtime_error("observer failed");
    }
};

TEST_F(ICloudSynchronizerTest, APullWhoseWriteThrowsDoesNotHoldUpLaterSteps) {
    const auto observer = std::make_shared<ThrowingObserver>();
    defaults->addObserver(*observer, "volume", {}, nullptr);
    remote->put("volume", Date(900), 9);
    const auto volume = key<int>("volume", 3, defaults);
    synchronizer->add(volume);
    defaults->setObject(7, "pitch");
    synchronizer->add(key<int>("pitch", 3, defaults));
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(settle());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("pulled value of key 'volume' failed: observer failed"),
              std::string::npos);
    defaults->removeObserver(*observer, "volume");
    EXPECT_EQ(remote->objectForKey("pitch"), entry(1000, 7)) << "the step behind the pull ran";
    EXPECT_EQ(Prefs::get(volume), 9) << "the value was stored before the observer threw";
}

TEST_F(ICloudSynchronizerTest, ANotificationFromInsideAStepIsIgnored) {
    // A store may announce the step's own write while the step synchronises it.
    remote->onSynchronize([&] { remote->postExternalChange({"volume"}); });
    defaults->setObject(7, "volume");
    synchronizer->add(key<int>("volume", 3, defaults));
    settle();
    settle();
    EXPECT_EQ(remote->objectForKey("volume"), entry(1000, 7));
    EXPECT_TRUE(localStamp(defaults, "volume").isAbsent()) << "nothing was pulled back";
}

TEST_F(ICloudSynchronizerTest, RemovedKeysAreNoLongerPushedAndCanBeAddedAnew) {
    const auto volume = key<int>("volume", 3, defaults);
    const auto pitch = key<int>("pitch", 3, defaults);
    synchronizer->add(volume);
    synchronizer->add(pitch);
    synchronizer->remove(volume);
    Prefs::set(volume, 4);
    Prefs::set(pitch, 4);
    settle();
    EXPECT_TRUE(remote->objectForKey("volume").isAbsent());
    EXPECT_EQ(remote->objectForKey("pitch"), entry(1000, 4));

    synchronizer->removeAll();
    EXPECT_TRUE(synchronizer->keys().empty());
    Prefs::set(pitch, 5);
    settle();
    EXPECT_EQ(remote->objectForKey("pitch"), entry(1000, 4));

    clock->advance(1);
    synchronizer->add(pitch); // equal stamps (1000): the remote 4 comes back
    settle();
    EXPECT_EQ(Prefs::get(pitch), 4);
    clock->advance(1);
    Prefs::set(pitch, 6);
    settle();
    EXPECT_EQ(remote->objectForKey("pitch"), entry(1002, 6)) << "observed again after adding anew";

    synchronizer->remove({volume, pitch});
    Prefs::set(pitch, 7);
    settle();
    EXPECT_EQ(remote->objectForKey("pitch"), entry(1002, 6));
}

TEST_F(ICloudSynchronizerTest, WaitForSyncCompletionReturnsAfterTheQueuedSteps) {
    Gate gate;
    remote->onSynchronize([&] { gate.wait(); });
    defaults->setObject(7, "volume");
    synchronizer->add(key<int>("volume", 3, defaults));
    bool done = false;
    foundation::Task waiting([&]() -> foundation::Task<void> {
        co_await synchronizer->waitForSyncCompletion();
        done = true;
    });
    const bool entered = gate.waitUntilEntered();
    remote->onSynchronize(nullptr);
    ASSERT_TRUE(entered);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(done);
    gate.open();
    foundation::testing::runUntilFinished(waiting);
    EXPECT_TRUE(done);
    EXPECT_EQ(remote->objectForKey("volume"), entry(1000, 7));
}

TEST_F(ICloudSynchronizerTest, ConcurrentAddsAndRemovesLoseNothing) {
    std::vector<std::shared_ptr<Prefs::_AnyKey>> kept, dropped;
    for (int i = 0; i < 200; ++i) {
        kept.push_back(key<int>("kept" + std::to_string(i), 0, defaults));
        dropped.push_back(key<int>("dropped" + std::to_string(i), 0, defaults));
    }
    for (const auto& k : dropped)
        synchronizer->add(k);
    std::thread adder([&] {
        for (const auto& k : kept)
            synchronizer->add(k);
    });
    std::thread remover([&] {
        for (const auto& k : dropped)
            synchronizer->remove(k);
    });
    adder.join();
    remover.join();
    const auto keys = synchronizer->keys();
    EXPECT_EQ(keys.size(), kept.size());
    for (const auto& k : kept)
        EXPECT_TRUE(keys.contains(k)) << k->name();
}

TEST_F(ICloudSynchronizerTest, KeysOfOneNameInTwoSuitesShareOneRemoteEntry) {
    const auto other = suite("com.example.icloud.other");
    const auto here = key<int>("volume", 3, defaults);
    const auto there = key<int>("volume", 3, other);
    synchronizer->add(here);
    synchronizer->add(there);
    EXPECT_EQ(synchronizer->keys().size(), 2u);
    remote->put("volume", Date(2000), 8);
    remote->postExternalChange({"volume"});
    settle();
    EXPECT_EQ(Prefs::get(here), 8);
    EXPECT_EQ(Prefs::get(there), 8);

    clock->advance(1000);
    Prefs::set(there, 9);
    settle();
    EXPECT_EQ(remote->objectForKey("volume"), entry(2000, 9));
}

// The lines written to standard error that carry the synchronisation's tag.
std::vector<std::string> syncLines(const std::string& captured) {
    std::vector<std::string> lines;
    std::istringstream in(captured);
    for (std::string line; std::getline(in, line);)
        if (line.find("[Prefs.iCloud]") != std::string::npos) lines.push_back(line);
    return lines;
}

TEST_F(ICloudSynchronizerTest, DebugLogsEveryStepInItsExactWords) {
    QLoggingCategory::setFilterRules("default.debug=true");
    const auto volume = key<double>("volume", 1.0, defaults);
    const auto title = key<std::string>("title", "", defaults);
    const auto nickname = key<std::optional<std::string>>("nickname", defaults);
    remote->put("volume", Date(900), 0.5);

    testing::internal::CaptureStderr();
    synchronizer->add(volume); // with the switch off: not a line
    synchronizer->add(title);
    synchronizer->add(nickname);
    settle();
    EXPECT_EQ(syncLines(testing::internal::GetCapturedStderr()), std::vector<std::string>{});
    EXPECT_EQ(Prefs::get(volume), 0.5);

    Prefs::iCloud::setDebug(true);
    testing::internal::CaptureStderr();
    synchronizer->add(key<double>("volume", 1.0, suite("com.example.icloud.other")));
    settle();
    Prefs::set(title, "Hello");
    Prefs::set(nickname, std::nullopt);
    remote->put("short", PropertyList::Array{Date(3000)});
    synchronizer->add(key<int>("short", 0, defaults));
    settle();
    EXPECT_EQ(syncLines(testing::internal::GetCapturedStderr()),
              (std::vector<std::string>{
                  "debug [Prefs.iCloud] Key 'volume' is synchronised from more than one suite",
                  "debug [Prefs.iCloud] Try synchronizing key 'volume' from remote",
                  "debug [Prefs.iCloud] Synchronizing key 'volume' with value 0.5 from remote",
                  "debug [Prefs.iCloud] Complete synchronization key 'volume' from remote",
                  "debug [Prefs.iCloud] Try synchronizing key 'title' from local",
                  "debug [Prefs.iCloud] Synchronizing key 'title' with value Hello from local",
                  "debug [Prefs.iCloud] Complete synchronization key 'title' from local",
                  "debug [Prefs.iCloud] Try synchronizing key 'nickname' from local",
                  "debug [Prefs.iCloud] Synchronizing key 'nickname' with value nil from local",
                  "debug [Prefs.iCloud] Complete synchronization key 'nickname' from local",
                  "debug [Prefs.iCloud] Try synchronizing key 'short' from remote",
                  "debug [Prefs.iCloud] Complete synchronization key 'short' from remote",
              }));
}

TEST_F(ICloudSynchronizerTest, AKeyMadeWithICloudSetIsHandedToTheSharedSynchronizer) {
    Prefs::iCloud::add(); // no key: nothing
    const auto& shared = Prefs::iCloud::synchronizer();
    shared->remoteStorage()->set(entry(900, 12), "wired");
    const auto wired = key<int>("wired", 5, defaults, true);
    const auto computed = key<int>("computed", defaults, true, std::function<int()>([] { return 1; }));
    const auto plain = key<int>("plain", 5, defaults);
    auto keys = Prefs::iCloud::keys();
    EXPECT_TRUE(keys.contains(wired));
    EXPECT_TRUE(keys.contains(computed));
    EXPECT_FALSE(keys.contains(plain));
    foundation::testing::runUntilFinished(Prefs::iCloud::waitForSyncCompletion());
    EXPECT_EQ(Prefs::get(wired), 12) << "pulled, being at its registered default";

    Prefs::iCloud::remove(wired, computed);
    EXPECT_FALSE(Prefs::iCloud::keys().contains(wired));
    EXPECT_FALSE(Prefs::iCloud::keys().contains(computed));
    shared->remoteStorage()->removeObjectForKey("wired");
}

} // namespace
