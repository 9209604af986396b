#pragma once

#include "Prefs/Key.h"
#include "Prefs/PrefsKeyValueStore.h"
#include "Prefs/SuiteKeyPair.h"
#include "Prefs/iCloudDataSource.h"

#include "foundation/Date.h"
#include "foundation/Notification.h"
#include "foundation/PropertyList.h"
#include "foundation/Task.h"
#include "foundation/TaskLocal.h"

#include "reactive/AnyCancellable.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace Prefs {

template <class Value> class Atomic;
class CompositePrefsObservation;
class TaskQueue;

// Mirrors registered keys between their own suites and a remote key-value store. The remote
// entry of a key is [timestamp, stored object] under the key's name (the suite is not part of
// it); the suite keeps the time of the key's last synchronised change under the key's name
// followed by defaultsSyncKey. The later side wins; equal times go to the remote side.
//
// Every push and pull runs, one at a time and in order, on a serial queue at utility
// priority, and sees in syncTimestamp the time at which it began. Local changes of registered
// keys are pushed; the remote store's external-change notification pulls what is newer there.
//
// Held by std::shared_ptr; every operation is safe on any thread. Destroying it unregisters
// every key; steps already queued still run.
class iCloudSynchronizer : public std::enable_shared_from_this<iCloudSynchronizer> {
public:
    struct KeyHash {
        std::size_t operator()(const std::shared_ptr<_AnyKey>& key) const { return key->hash(); }
    };
    struct KeyEqual {
        bool operator()(const std::shared_ptr<_AnyKey>& a, const std::shared_ptr<_AnyKey>& b) const {
            return *a == *b;
        }
    };
    // Keys are the same key when their names and suites are equal.
    using KeySet = std::unordered_set<std::shared_ptr<_AnyKey>, KeyHash, KeyEqual>;

    static constexpr std::string_view defaultsSyncKey = "__PREFS__synchronizeTimestamp";
    // What the remote store posts on the default notification centre when another device or
    // process changed it; the user info holds the changed key names under changedKeysKey.
    static constexpr std::string_view didChangeExternallyNotification =
        "NSUbiquitousKeyValueStoreDidChangeExternallyNotification";
    static constexpr std::string_view changedKeysKey = "NSUbiquitousKeyValueStoreChangedKeysKey";

    // Inside a queued step: the time the step began. Empty everywhere else.
    static const foundation::TaskLocal<std::optional<foundation::Date>> syncTimestamp;

    // Listens for external changes of any store and asks `remoteStorage` to synchronise once.
    // No key is synchronised yet.
    static std::shared_ptr<iCloudSynchronizer> make(std::shared_ptr<PrefsKeyValueStore> remoteStorage);
    virtual ~iCloudSynchronizer();
    iCloudSynchronizer(const iCloudSynchronizer&) = delete;
    iCloudSynchronizer& operator=(const iCloudSynchronizer&) = delete;

    // Registers the key and watches it in its suite. A key at its default is pulled when the
    // remote side is newer and otherwise left alone; any other value goes by the direction rule.
    // A key registered already is left as it is.
    void add(const std::shared_ptr<_AnyKey>& key);
    // Unregisters the key; queued steps still run. An unregistered key changes nothing.
    void remove(const std::shared_ptr<_AnyKey>& key);
    // Unregisters all of them in one change of the registered set.
    void remove(const std::vector<std::shared_ptr<_AnyKey>>& keys);
    void removeAll();

    KeySet keys() const;

    // Completes once every step queued before it has finished. A step must never await it.
    foundation::Task<void> waitForSyncCompletion();

    // The direction rule: local when the remote side has no timestamp, remote when only the
    // local side lacks one, else local only when the local time is strictly later.
    iCloud::DataSource latestDataSource(const _AnyKey& key) const;
    // The remote timestamp is element 0 of the remote entry when that is a date; the local one
    // the suite's date under the key's name followed by defaultsSyncKey.
    std::optional<foundation::Date> timestamp(const _AnyKey& key, iCloud::DataSource source) const;
    // Queues one step per key, in order; without a source, the direction rule decides now,
    // not when the step runs.
    void enqueueSync(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                     std::optional<iCloud::DataSource> source);

    const std::shared_ptr<PrefsKeyValueStore>& remoteStorage() const { return remoteStorage_; }

protected:
    explicit iCloudSynchronizer(std::shared_ptr<PrefsKeyValueStore> remoteStorage);

private:
    enum class SyncLogStage { start, write, finish };
    using Operation = std::function<foundation::Task<void>()>;

    void subscribe();
    CompositePrefsObservation& localKeysMonitor();
    void enqueue(Operation operation);
    foundation::Task<void> syncKey(std::shared_ptr<_AnyKey> key, iCloud::DataSource source);
    void syncToRemote(const _AnyKey& key);
    foundation::Task<void> syncFromRemote(std::shared_ptr<_AnyKey> key);
    // The pull's two writes to the key's suite, on the main actor.
    void writePulledValue(const std::shared_ptr<_AnyKey>& key, const foundation::PropertyList& value,
                          foundation::Date stamp);
    void recordLocalTimestamp(const _AnyKey& key);
    void handleLocalChange(const SuiteKeyPair& pair);
    void handleExternalChange(const foundation::Notification& notification);
    std::shared_ptr<_AnyKey> registeredKey(const SuiteKeyPair& pair) const;
    static void logSyncStatus(const _AnyKey& key, iCloud::DataSource source, SyncLogStage stage,
                              const foundation::PropertyList& value = {});
    static std::string localTimestampName(const _AnyKey& key);

    std::set<reactive::AnyCancellable> cancellables_; // set once, while being made
    const std::shared_ptr<PrefsKeyValueStore> remoteStorage_;
    const std::shared_ptr<TaskQueue> backgroundQueue_;
    const std::shared_ptr<Atomic<KeySet>> keys_;
    // Keys whose pull is writing their local value, on the main actor, until the write is reported.
    const std::shared_ptr<Atomic<KeySet>> remoteSyncingKeys_;
    std::once_flag localKeysMonitorOnce_;
    std::shared_ptr<CompositePrefsObservation> localKeysMonitor_; // set once, by localKeysMonitor()
};

} // namespace Prefs
