#include "Prefs/iCloudSynchronizer.h"

#include "Prefs/CompositePrefsObservation.h"
#include "Prefs/iCloud.h"

#include "Atomic.h"
#include "TaskQueue.h"

#include "foundation/CheckedContinuation.h"
#include "foundation/Fatal.h"
#include "foundation/Logger.h"
#include "foundation/MainThread.h"
#include "foundation/NotificationCenter.h"
#include "foundation/TaskPriority.h"

#include "reactive/NotificationPublisher.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace Prefs {

using foundation::Date;
using foundation::PropertyList;
using foundation::Task;
using iCloud::DataSource;

const foundation::TaskLocal<std::optional<Date>> iCloudSynchronizer::syncTimestamp{std::nullopt};

namespace {

const foundation::Logger& log() {
    static const foundation::Logger logger = foundation::Logger::defaultLog();
    return logger;
}

// Whether a message is to be built at all.
bool isLogging() {
    return iCloud::isDebug() && log().isDebugEnabled();
}

void write(const std::string& message) {
    log().debug("[Prefs.iCloud] {}", message);
}

// How a value reads in a log line: text as it is, anything else in its short form.
std::string plainDescription(const PropertyList& value) {
    if (value.isAbsent()) return "nil";
    if (const auto* text = value.string()) return *text;
    return value.description();
}

} // namespace

std::shared_ptr<iCloudSynchronizer>
iCloudSynchronizer::make(std::shared_ptr<PrefsKeyValueStore> remoteStorage) {
    // The constructor is not public, so make_shared can't reach it.
    std::shared_ptr<iCloudSynchronizer> synchronizer(new iCloudSynchronizer(std::move(remoteStorage)));
    synchronizer->subscribe();
    synchronizer->remoteStorage_->synchronize();
    return synchronizer;
}

iCloudSynchronizer::iCloudSynchronizer(std::shared_ptr<PrefsKeyValueStore> remoteStorage)
    : remoteStorage_(std::move(remoteStorage))
    , backgroundQueue_(std::make_shared<TaskQueue>(foundation::TaskPriority::utility()))
    , keys_(std::make_shared<Atomic<KeySet>>(KeySet{}))
    , remoteSyncingKeys_(std::make_shared<Atomic<KeySet>>(KeySet{})) {
    if (!remoteStorage_) foundation::fatal("Prefs.iCloudSynchronizer: no remote storage");
}

iCloudSynchronizer::~iCloudSynchronizer() {
    removeAll();
}

void iCloudSynchronizer::subscribe() {
    // The handler runs on the posting thread, and does nothing once the synchroniser is gone.
    reactive::publisher(foundation::NotificationCenter::defaultCenter(),
                        std::string(didChangeExternallyNotification))
        .sink([weak = weak_from_this()](const foundation::Notification& notification) {
            if (auto self = weak.lock()) self->handleExternalChange(notification);
        })
        .store(cancellables_);
}

CompositePrefsObservation& iCloudSynchronizer::localKeysMonitor() {
    std::call_once(localKeysMonitorOnce_, [this] {
        localKeysMonitor_ = std::make_shared<CompositePrefsObservation>(
            [weak = weak_from_this()](const SuiteKeyPair& pair, const BaseChange&) {
                if (auto self = weak.lock()) self->handleLocalChange(pair);
            });
    });
    return *localKeysMonitor_;
}

void iCloudSynchronizer::add(const std::shared_ptr<_AnyKey>& key) {
    if (!key) return;
    const bool debug = isLogging();
    bool sharesItsName = false;
    // One hold of the lock, so that a concurrent add or remove loses nothing.
    const bool inserted = keys_->modify([&](KeySet& keys) {
        if (!keys.insert(key).second) return false;
        if (debug)
            sharesItsName = std::any_of(keys.begin(), keys.end(), [&](const std::shared_ptr<_AnyKey>& other) {
                return other->name() == key->name() && !(*other == *key);
            });
        return true;
    });
    if (!inserted) return;
    // The remote entry is named after the key alone, so keys of one name share it.
    if (sharesItsName) write("Key '" + key->name() + "' is synchronised from more than one suite");

    localKeysMonitor().addKey(*key);
    if (key->isDefaultValue()) {
        // A default is never pushed on registration: it would overwrite a real value elsewhere.
        if (latestDataSource(*key) == DataSource::remote) enqueueSync({key}, DataSource::remote);
        return;
    }
    enqueueSync({key}, std::nullopt);
}

void iCloudSynchronizer::remove(const std::shared_ptr<_AnyKey>& key) {
    if (!key) return;
    keys_->modify([&](KeySet& keys) { keys.erase(key); });
    localKeysMonitor().removeKey(*key);
}

void iCloudSynchronizer::remove(const std::vector<std::shared_ptr<_AnyKey>>& keys) {
    keys_->modify([&](KeySet& registered) {
        for (const auto& key : keys)
            if (key) registered.erase(key);
    });
    for (const auto& key : keys)
        if (key) localKeysMonitor().removeKey(*key);
}

void iCloudSynchronizer::removeAll() {
    localKeysMonitor().stopObserving();
    keys_->setValue({});
    remoteSyncingKeys_->setValue({});
}

iCloudSynchronizer::KeySet iCloudSynchronizer::keys() const {
    return keys_->value();
}

Task<void> iCloudSynchronizer::waitForSyncCompletion() {
    return backgroundQueue_->flush();
}

DataSource iCloudSynchronizer::latestDataSource(const _AnyKey& key) const {
    const auto remote = timestamp(key, DataSource::remote);
    if (!remote) return DataSource::local;
    const auto local = timestamp(key, DataSource::local);
    if (!local) return DataSource::remote;
    return *local > *remote ? DataSource::local : DataSource::remote;
}

std::optional<Date> iCloudSynchronizer::timestamp(const _AnyKey& key, DataSource source) const {
    if (source == DataSource::local) return key.suite()->objectForKey(localTimestampName(key)).date();
    const PropertyList entry = remoteStorage_->objectForKey(key.name());
    const auto* array = entry.array();
    if (!array || array->empty()) return std::nullopt;
    return array->front().date();
}

void iCloudSynchronizer::enqueueSync(const std::vector<std::shared_ptr<_AnyKey>>& keys,
                                     std::optional<DataSource> source) {
    for (const auto& key : keys) {
        if (!key) continue;
        const DataSource direction = source ? *source : latestDataSource(*key);
        enqueue([self = shared_from_this(), key, direction]() -> Task<void> {
            co_await self->syncKey(key, direction);
        });
    }
}

void iCloudSynchronizer::enqueue(Operation operation) {
    backgroundQueue_->enqueue([operation = std::move(operation)]() -> Task<void> {
        // The time the step begins, not the time of the change or of the enqueuing.
        co_await syncTimestamp.withValue(Date::now(), operation);
    });
}

Task<void> iCloudSynchronizer::syncKey(std::shared_ptr<_AnyKey> key, DataSource source) {
    logSyncStatus(*key, source, SyncLogStage::start);
    if (source == DataSource::remote) {
        co_await syncFromRemote(key);
    } else {
        syncToRemote(*key);
    }
    logSyncStatus(*key, source, SyncLogStage::finish);
}

void iCloudSynchronizer::syncToRemote(const _AnyKey& key) {
    // As the suite resolves it: a registered default counts.
    const PropertyList object = key.suite()->objectForKey(key.name());
    const auto stamp = syncTimestamp.value();
    if (!object.isAbsent() && stamp) {
        logSyncStatus(key, DataSource::local, SyncLogStage::write, object);
        remoteStorage_->set(PropertyList::Array{PropertyList(*stamp), object}, key.name());
    } else {
        logSyncStatus(key, DataSource::local, SyncLogStage::write);
        remoteStorage_->removeObjectForKey(key.name());
    }
    remoteStorage_->synchronize();
}

Task<void> iCloudSynchronizer::syncFromRemote(std::shared_ptr<_AnyKey> key) {
    co_await foundation::withCheckedContinuation<void>(
        "syncFromRemote(forKey:)", [&](foundation::CheckedContinuation<void> done) {
            const PropertyList entry = remoteStorage_->objectForKey(key->name());
            const auto* array = entry.array();
            if (!array) return done.resume();
            const auto stamp = syncTimestamp.value();
            if (!stamp) return done.resume();
            if (array->size() < 2) return done.resume();
            // On the main actor, at this step's priority; the step goes on once both writes are done.
            foundation::Task([self = shared_from_this(), key, value = (*array)[1], stamp = *stamp, done] {
                // Resumed whatever the writes' observers do: a step left waiting would hold up
                // every later one for good.
                try {
                    self->writePulledValue(key, value, stamp);
                } catch (const std::exception& error) {
                    log().error("[Prefs.iCloud] Writing the pulled value of key '{}' failed: {}", key->name(),
                                error.what());
                } catch (...) {
                    log().error("[Prefs.iCloud] Writing the pulled value of key '{}' failed", key->name());
                }
                done.resume();
            });
        });
}

void iCloudSynchronizer::writePulledValue(const std::shared_ptr<_AnyKey>& key, const PropertyList& value,
                                          Date stamp) {
    logSyncStatus(*key, DataSource::remote, SyncLogStage::write, value);
    // Marked only around its own two writes, so that a write the user makes afterwards, while
    // the step is still finishing, is pushed as usual. The mark goes with the write's report.
    remoteSyncingKeys_->modify([&](KeySet& keys) { keys.insert(key); });
    try {
        key->suite()->setObject(value, key->name());
        key->suite()->setObject(PropertyList(stamp), localTimestampName(*key));
    } catch (...) {
        remoteSyncingKeys_->modify([&](KeySet& keys) { keys.erase(key); });
        throw;
    }
    remoteSyncingKeys_->modify([&](KeySet& keys) { keys.erase(key); });
}

void iCloudSynchronizer::recordLocalTimestamp(const _AnyKey& key) {
    const auto stamp = syncTimestamp.value();
    if (!stamp) return;
    key.suite()->setObject(PropertyList(*stamp), localTimestampName(key));
}

void iCloudSynchronizer::handleLocalChange(const SuiteKeyPair& pair) {
    if (!pair.suite()) return;
    const auto key = registeredKey(pair);
    if (!key) return;
    // A pull's own write, reported on the main actor while the pull writes: not pushed back.
    // Its one report takes the mark away, so a write that an observer of the pulled value
    // makes in return is pushed.
    if (foundation::isMainThread() &&
        remoteSyncingKeys_->modify([&](KeySet& keys) { return keys.erase(key) > 0; }))
        return;
    enqueue([self = shared_from_this(), key]() -> Task<void> {
        self->recordLocalTimestamp(*key);
        logSyncStatus(*key, DataSource::local, SyncLogStage::start);
        self->syncToRemote(*key);
        logSyncStatus(*key, DataSource::local, SyncLogStage::finish);
        co_return;
    });
}

void iCloudSynchronizer::handleExternalChange(const foundation::Notification& notification) {
    if (notification.name != didChangeExternallyNotification) return;
    const auto entry = notification.userInfo.find(std::string(changedKeysKey));
    if (entry == notification.userInfo.end()) return;
    const auto* list = entry->second.get<PropertyList>();
    const auto* array = list ? list->array() : nullptr;
    if (!array) return;
    std::vector<std::string> names;
    names.reserve(array->size());
    for (const auto& element : *array) {
        const auto* name = element.string();
        if (!name) return;
        names.push_back(*name);
    }
    // Posted from inside one of this queue's own steps (its call to synchronize, say).
    if (syncTimestamp.value()) return;

    for (const auto& key : keys_->value()) {
        if (std::find(names.begin(), names.end(), key->name()) == names.end()) continue;
        const auto remote = timestamp(*key, DataSource::remote);
        if (!remote) continue;
        const auto local = timestamp(*key, DataSource::local);
        if (local && *local >= *remote) continue;
        enqueue([self = shared_from_this(), key]() -> Task<void> {
            logSyncStatus(*key, DataSource::remote, SyncLogStage::start);
            co_await self->syncFromRemote(key);
            logSyncStatus(*key, DataSource::remote, SyncLogStage::finish);
        });
    }
}

std::shared_ptr<_AnyKey> iCloudSynchronizer::registeredKey(const SuiteKeyPair& pair) const {
    const auto suite = pair.suite();
    if (!suite) return nullptr;
    for (const auto& key : keys_->value())
        if (key->name() == pair.key() && key->suite()->isEqual(*suite)) return key;
    return nullptr;
}

void iCloudSynchronizer::logSyncStatus(const _AnyKey& key, DataSource source, SyncLogStage stage,
                                       const PropertyList& value) {
    if (!isLogging()) return;
    std::string message;
    switch (stage) {
    case SyncLogStage::start:
        message = "Try synchronizing key '" + key.name() + "' ";
        break;
    case SyncLogStage::write:
        message = "Synchronizing key '" + key.name() + "' with value " + plainDescription(value) + " ";
        break;
    case SyncLogStage::finish:
        message = "Complete synchronization key '" + key.name() + "' ";
        break;
    }
    message += source == DataSource::local ? "from local" : "from remote";
    write(message);
}

std::string iCloudSynchronizer::localTimestampName(const _AnyKey& key) {
    return key.name() + std::string(defaultsSyncKey);
}

} // namespace Prefs
