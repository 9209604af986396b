// Two store objects over one file, or a second process (helpers/KeyValueStoreHelper.cpp), play
// the other device.
#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include "foundation/Bundle.h"
#include "foundation/NotificationCenter.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/UbiquitousKeyValueStore.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace foundation;
using testing_support::ChildProcess;

namespace {

using Store = UbiquitousKeyValueStore;
using Keys = std::vector<std::string>;

constexpr auto patience = std::chrono::seconds(30);
const std::string identifier = "com.example.kvs";

// The external-change notifications of one store object, as they arrive.
class ChangeLog {
public:
    struct Change {
        Keys keys;
        std::thread::id thread;
    };

    explicit ChangeLog(const std::shared_ptr<Store>& store)
        : token_(NotificationCenter::defaultCenter().addObserver(
              std::string(Store::didChangeExternallyNotification), store, std::nullopt,
              [this, object = store.get()](const Notification& notification) {
                  Change change{{}, std::this_thread::get_id()};
                  EXPECT_EQ(notification.object.get(), object);
                  const auto entry = notification.userInfo.find(std::string(Store::changedKeysKey));
                  const PropertyList* keys =
                      entry == notification.userInfo.end() ? nullptr : entry->second.get<PropertyList>();
                  EXPECT_TRUE(keys && keys->array()) << "changed keys as a property-list array";
                  if (keys && keys->array())
                      for (const auto& key : *keys->array())
                          change.keys.push_back(key.string() ? *key.string() : "<not text>");
                  std::lock_guard lock(mutex_);
                  changes_.push_back(std::move(change));
                  arrived_.notify_all();
              })) {}

    // Waits, at most for the patience, until `count` notifications have arrived; all of them.
    std::vector<Change> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, patience, [&] { return changes_.size() >= count; });
        return changes_;
    }

    // Waits until a notification from the `from`th on names `key`; every key those named.
    std::set<std::string> keysUntil(const std::string& key, std::size_t from = 0) {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, patience, [&] { return namedKeys(from).contains(key); });
        return namedKeys(from);
    }

    std::vector<Change> changes() {
        std::lock_guard lock(mutex_);
        return changes_;
    }

private:
    std::set<std::string> namedKeys(std::size_t from) const {
        std::set<std::string> keys;
        for (std::size_t i = from; i < changes_.size(); ++i)
            keys.insert(changes_[i].keys.begin(), changes_[i].keys.end());
        return keys;
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Change> changes_;
    NotificationObserverToken token_;
};

class UbiquitousKeyValueStoreTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return data_.path() / identifier / std::string(Store::fileName); }

    static std::shared_ptr<Store> store() {
        auto store = Store::make(identifier);
        EXPECT_TRUE(store);
        return store;
    }

    static std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeFile(const PropertyList::Dictionary& values) const {
        std::filesystem::create_directories(file().parent_path());
        const auto bytes = PropertyListSerialization::data(values, PropertyListFormat::binary);
        std::ofstream(file(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    PropertyList onDisk() const { return PropertyListSerialization::propertyList(bytesOf(file())); }

    // A write of the other object that this one must report, so that everything before it has
    // been reported too: the watcher handles the file's changes in order.
    static void fence(Store& other, std::int64_t round) { other.setObject(round, "fence"); }

private:
    testing_support::TemporaryFolder data_;
    testing_support::ScopedEnvironment environment_{"XDG_DATA_HOME", data_.path().c_str()};
};

} // namespace

TEST_F(UbiquitousKeyValueStoreTest, AWriteOnOneObjectArrivesOnTheOtherFromTheWatcherThread) {
    const auto mine = store();
    const auto theirs = store();
    ChangeLog myChanges(mine);
    ChangeLog theirChanges(theirs);

    theirs->setObject(0.5, "volume");
    EXPECT_EQ(mine->objectForKey("volume"), PropertyList(0.5)) << "on disk before the write returns";
    // Reading the file here must not swallow the change, nor post it from in here.
    EXPECT_TRUE(mine->synchronize());
    auto changes = myChanges.waitFor(1);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].keys, Keys{"volume"});
    EXPECT_NE(changes[0].thread, std::this_thread::get_id());

    mine->setObject("dark", "theme");
    EXPECT_EQ(theirChanges.waitFor(1).at(0).keys, Keys{"theme"});
    // Neither heard of its own write: the next change each hears is the other's.
    fence(*theirs, 1);
    EXPECT_EQ(myChanges.waitFor(2).at(1).keys, Keys{"fence"});
    fence(*mine, 2);
    EXPECT_EQ(theirChanges.waitFor(2).at(1).keys, Keys{"fence"});
    EXPECT_EQ(myChanges.changes().size(), 2u);
    EXPECT_EQ(theirChanges.changes().size(), 2u);
    EXPECT_EQ(mine->dictionaryRepresentation(), theirs->dictionaryRepresentation());
}

TEST_F(UbiquitousKeyValueStoreTest, RemovalsAreChanges) {
    const auto mine = store();
    const auto theirs = store();
    ChangeLog myChanges(mine);
    theirs->setObject(1, "a");
    theirs->setObject(2, "b");
    theirs->setObject(3, "c");
    EXPECT_EQ(myChanges.keysUntil("c"), (std::set<std::string>{"a", "b", "c"}));

    const std::size_t added = myChanges.changes().size();
    theirs->removeObjectForKey("a");
    theirs->setObject(PropertyList(), "b"); // an absent value removes too
    EXPECT_EQ(myChanges.keysUntil("b", added), (std::set<std::string>{"a", "b"}));
    EXPECT_TRUE(mine->objectForKey("a").isAbsent());
    EXPECT_TRUE(mine->objectForKey("b").isAbsent());

    const std::size_t before = myChanges.changes().size();
    std::filesystem::remove(file());
    const auto changes = myChanges.waitFor(before + 1);
    ASSERT_GT(changes.size(), before);
    EXPECT_EQ(changes.back().keys, Keys{"c"});
    EXPECT_TRUE(mine->dictionaryRepresentation().empty());
}

TEST_F(UbiquitousKeyValueStoreTest, ChangesAreStillSeenAfterTheFolderWasRemovedAndMadeAgain) {
    const auto mine = store();
    const auto theirs = store();
    ChangeLog myChanges(mine);
    theirs->setObject(1, "a");
    EXPECT_EQ(myChanges.keysUntil("a"), std::set<std::string>{"a"});
    const std::size_t before = myChanges.changes().size();
    std::filesystem::remove_all(file().parent_path());
    EXPECT_EQ(myChanges.keysUntil("a", before), std::set<std::string>{"a"}) << "gone with its folder";
    EXPECT_TRUE(mine->objectForKey("a").isAbsent());

    const std::size_t removed = myChanges.changes().size();
    theirs->setObject(2, "b"); // makes the folder again
    EXPECT_EQ(myChanges.keysUntil("b", removed), std::set<std::string>{"b"});
    theirs->setObject(3, "c");
    EXPECT_EQ(myChanges.keysUntil("c", removed), (std::set<std::string>{"b", "c"}));
}

TEST_F(UbiquitousKeyValueStoreTest, OnlyKeysWhoseValuesDifferAreReported) {
    writeFile({{"same", "x"}, {"other", 1}});
    const auto mine = store();
    const auto theirs = store();
    ChangeLog myChanges(mine);
    theirs->setObject("x", "same"); // the file is replaced, its content for this key is not
    theirs->setObject(2, "other");
    EXPECT_EQ(myChanges.keysUntil("other"), std::set<std::string>{"other"});
}

TEST_F(UbiquitousKeyValueStoreTest, WritesMergeAndChangesMergedInFromDiskAreStillReported) {
    const auto mine = store();
    const auto theirs = store();
    ChangeLog myChanges(mine);
    // Holds my watcher inside its first notification, so my next write comes before it looks
    // at the file again.
    std::mutex mutex;
    std::condition_variable signal;
    bool held = false;
    bool released = false;
    const auto gate = NotificationCenter::defaultCenter().addObserver(
        std::string(Store::didChangeExternallyNotification), mine, std::nullopt, [&](const Notification&) {
            std::unique_lock lock(mutex);
            if (std::exchange(held, true)) return;
            signal.notify_all();
            signal.wait_for(lock, patience, [&] { return released; });
        });
    theirs->setObject("theirs", "a");
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(signal.wait_for(lock, patience, [&] { return held; }));
    }
    theirs->setObject("theirs", "b");
    mine->setObject("mine", "c"); // takes in "b" from disk
    EXPECT_EQ(onDisk(),
              PropertyList(PropertyList::Dictionary{{"a", "theirs"}, {"b", "theirs"}, {"c", "mine"}}));
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    signal.notify_all();
    fence(*theirs, 1);
    EXPECT_EQ(myChanges.keysUntil("fence", 1), (std::set<std::string>{"b", "fence"}));
}

TEST_F(UbiquitousKeyValueStoreTest, ADamagedFileReadsAsEmptyAndIsSetAsideOnTheNextWrite) {
    const auto mine = store();
    mine->setObject(1, "a");
    ChangeLog myChanges(mine);
    testing::internal::CaptureStderr();
    std::ofstream(file(), std::ios::binary | std::ios::trunc) << "bplist00 garbage";
    EXPECT_EQ(myChanges.keysUntil("a"), std::set<std::string>{"a"}) << "its keys are gone";
    EXPECT_TRUE(mine->dictionaryRepresentation().empty());
    EXPECT_FALSE(mine->synchronize()) << "the file does not read";
    EXPECT_EQ(bytesOf(file()).size(), 16u) << "a reader leaves it alone";

    mine->setObject(1, "k");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("moved the damaged file aside"), std::string::npos) << log;
    EXPECT_EQ(onDisk(), PropertyList(PropertyList::Dictionary{{"k", 1}}));
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(file().parent_path()))
        if (entry.path().filename().string().starts_with(std::string(Store::fileName) + ".corrupt-"))
            copies.push_back(entry.path());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(bytesOf(copies[0]).size(), 16u);
    EXPECT_TRUE(mine->synchronize());
}

TEST_F(UbiquitousKeyValueStoreTest, WritesBeyondTheLimitsAreRefusedAndNothingIsLost) {
    PropertyList::Dictionary full;
    for (std::size_t i = 0; i < Store::maximumKeys; ++i)
        full.emplace("key" + std::to_string(i), std::int64_t(i));
    writeFile(full);
    const auto mine = store();
    testing::internal::CaptureStderr();
    mine->setObject(1, "one too many");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("refused to store key \"one too many\""),
              std::string::npos);
    EXPECT_TRUE(mine->objectForKey("one too many").isAbsent());
    EXPECT_EQ(onDisk(), PropertyList(full));
    // A full store still takes new values for its keys, and removals.
    mine->setObject("new", "key0");
    mine->removeObjectForKey("key1");
    mine->setObject(1, "room again");
    EXPECT_EQ(onDisk()["key0"], PropertyList("new"));
    EXPECT_EQ(onDisk()["room again"], PropertyList(1));
    EXPECT_EQ(onDisk().dictionary()->size(), Store::maximumKeys);

    writeFile({{"big", Data(Store::maximumBytes - 100, 7)}});
    testing::internal::CaptureStderr();
    mine->setObject(Data(200, 1), "more");
    mine->setObject(Data(Store::maximumBytes + 1, 1), "huge");
    mine->setObject(PropertyList::null(), "null"); // no plist file holds it
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("\"more\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"huge\""), std::string::npos) << log;
    EXPECT_NE(log.find("\"null\""), std::string::npos) << log;
    EXPECT_EQ(mine->dictionaryRepresentation().size(), 1u);
    EXPECT_EQ(onDisk().dictionary()->size(), 1u);
    mine->setObject(Data(10, 1), "big"); // smaller again
    EXPECT_EQ(onDisk()["big"], PropertyList(Data(10, 1)));
}

TEST_F(UbiquitousKeyValueStoreTest, AFailedWriteKeepsTheChangeUntilAWriteSucceeds) {
    const auto mine = store();
    const auto theirs = store();
    ChangeLog theirChanges(theirs);
    std::filesystem::create_directory(file()); // a folder where the file belongs
    testing::internal::CaptureStderr();
    mine->setObject("kept", "a");
    EXPECT_FALSE(mine->synchronize());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("kept in memory"), std::string::npos);
    EXPECT_EQ(mine->objectForKey("a"), PropertyList("kept"));

    std::filesystem::remove(file());
    EXPECT_TRUE(mine->synchronize());
    EXPECT_EQ(onDisk(), PropertyList(PropertyList::Dictionary{{"a", "kept"}}));
    EXPECT_EQ(theirChanges.keysUntil("a"), std::set<std::string>{"a"});
}

TEST_F(UbiquitousKeyValueStoreTest, AStoreReleasedByItsOwnObserverStopsCleanly) {
    auto mine = store();
    const auto theirs = store();
    const std::weak_ptr<Store> weak = mine;
    std::mutex mutex;
    std::shared_ptr<Store> held = std::move(mine);
    // The notification holds the last reference once the observer lets go: the store then ends
    // on its own watcher thread.
    const auto token = NotificationCenter::defaultCenter().addObserver(
        std::string(Store::didChangeExternallyNotification), held, std::nullopt, [&](const Notification&) {
            std::lock_guard lock(mutex);
            held.reset();
        });
    theirs->setObject(1, "a");
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!weak.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_TRUE(weak.expired());
}

TEST_F(UbiquitousKeyValueStoreTest, StoresAreNamedByIdentifiersThatAreSafeFolderNames) {
    for (std::string_view bad : {"", "a/b", "..", "tab\there"})
        EXPECT_FALSE(Store::make(bad)) << bad;
    EXPECT_EQ(store()->path(), file().string());

    const auto& standard = Store::defaultStore();
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard.get(), Store::defaultStore().get());
    const std::string expected =
        Bundle::main()->bundleIdentifier().value_or(Bundle::programPath().filename().string());
    EXPECT_EQ(standard->storeIdentifier(), expected);
    EXPECT_TRUE(standard->path().ends_with("/" + expected + "/" + std::string(Store::fileName)));
}

TEST_F(UbiquitousKeyValueStoreTest, AnotherProcessIsTheOtherDeviceBothWays) {
    const std::string helper = KEY_VALUE_STORE_HELPER_PATH;
    const auto mine = store();
    ChangeLog myChanges(mine);
    {
        ChildProcess other(helper, {"set", identifier, "greeting", "hello"});
        EXPECT_EQ(other.finish(), 0);
    }
    const auto changes = myChanges.waitFor(1);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].keys, Keys{"greeting"});
    EXPECT_EQ(mine->objectForKey("greeting"), PropertyList("hello"));

    ChildProcess watcher(helper, {"watch", identifier, "1"});
    ASSERT_EQ(watcher.readLine(), "ready");
    mine->removeObjectForKey("greeting");
    EXPECT_EQ(watcher.readLine(), "changed greeting");
    EXPECT_EQ(watcher.finish(), 0);
}

TEST_F(UbiquitousKeyValueStoreTest, WritersInSeveralProcessesAtOnceLoseNoKey) {
    const std::string helper = KEY_VALUE_STORE_HELPER_PATH;
    constexpr int perWriter = 40;
    const auto mine = store();
    ChildProcess first(helper, {"fill", identifier, "first", std::to_string(perWriter)});
    ChildProcess second(helper, {"fill", identifier, "second", std::to_string(perWriter)});
    for (int i = 0; i < perWriter; ++i)
        mine->setObject(std::int64_t(i), "mine" + std::to_string(i));
    EXPECT_EQ(first.finish(), 0);
    EXPECT_EQ(second.finish(), 0);

    const PropertyList disk = onDisk();
    const auto* values = disk.dictionary();
    ASSERT_TRUE(values);
    EXPECT_EQ(values->size(), std::size_t(3 * perWriter));
    for (const std::string prefix : {"first", "second", "mine"})
        for (int i = 0; i < perWriter; ++i)
            EXPECT_EQ(values->count(prefix + std::to_string(i)), 1u) << prefix << i;
    EXPECT_EQ(mine->dictionaryRepresentation(), *values);
}

TEST_F(UbiquitousKeyValueStoreTest, AStoreWithoutAWatchStillReadsAndWrites) {
    const auto theirs = store();
    theirs->setObject(1, "before");
    // No descriptor left while the store is made: neither its watch nor its first read can be set up.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, 4096);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    testing::internal::CaptureStderr();
    std::vector<int> fillers;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        fillers.push_back(fd);
    auto mine = Store::make(identifier);
    for (int fd : fillers)
        ::close(fd);
    setrlimit(RLIMIT_NOFILE, &saved);
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(mine);
    EXPECT_NE(log.find("cannot watch"), std::string::npos) << log;

    EXPECT_EQ(mine->objectForKey("before"), PropertyList(1)) << "read again once it can be";
    mine->setObject(2, "mine");
    theirs->setObject(3, "theirs");
    EXPECT_EQ(mine->objectForKey("theirs"), PropertyList(3));
    EXPECT_EQ(onDisk(), PropertyList(PropertyList::Dictionary{{"before", 1}, {"mine", 2}, {"theirs", 3}}));
    mine.reset();
}
