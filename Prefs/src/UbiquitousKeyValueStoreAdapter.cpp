#include "UbiquitousKeyValueStoreAdapter.h"

#include "Prefs/iCloudSynchronizer.h"

#include "foundation/Fatal.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace Prefs {

#if PREFS_HAS_UBIQUITOUS_STORE

static_assert(foundation::UbiquitousKeyValueStore::didChangeExternallyNotification ==
              iCloudSynchronizer::didChangeExternallyNotification);
static_assert(foundation::UbiquitousKeyValueStore::changedKeysKey == iCloudSynchronizer::changedKeysKey);

UbiquitousKeyValueStoreAdapter::UbiquitousKeyValueStoreAdapter(
    std::shared_ptr<foundation::UbiquitousKeyValueStore> store)
    : store_(std::move(store)) {
    if (!store_) foundation::fatal("Prefs.UbiquitousKeyValueStoreAdapter: no store");
}

foundation::PropertyList UbiquitousKeyValueStoreAdapter::objectForKey(std::string_view key) const {
    return store_->objectForKey(key);
}

void UbiquitousKeyValueStoreAdapter::set(const foundation::PropertyList& object, std::string_view key) {
    store_->setObject(object, key);
}

void UbiquitousKeyValueStoreAdapter::removeObjectForKey(std::string_view key) {
    store_->removeObjectForKey(key);
}

bool UbiquitousKeyValueStoreAdapter::synchronize() {
    return store_->synchronize();
}

std::shared_ptr<PrefsKeyValueStore> detail::defaultRemoteStorage() {
    return std::make_shared<UbiquitousKeyValueStoreAdapter>(
        foundation::UbiquitousKeyValueStore::defaultStore());
}

#else

namespace {

// Stands in for the iCloud store in builds without one: nothing leaves the process, and no
// external change ever arrives.
class ProcessKeyValueStore final : public PrefsKeyValueStore {
public:
    foundation::PropertyList objectForKey(std::string_view key) const override {
        std::lock_guard guard(mutex_);
        const auto entry = entries_.find(key);
        return entry == entries_.end() ? foundation::PropertyList() : entry->second;
    }
    void set(const foundation::PropertyList& object, std::string_view key) override {
        if (object.isAbsent()) return removeObjectForKey(key);
        std::lock_guard guard(mutex_);
        entries_.insert_or_assign(std::string(key), object);
    }
    void removeObjectForKey(std::string_view key) override {
        std::lock_guard guard(mutex_);
        if (const auto entry = entries_.find(key); entry != entries_.end()) entries_.erase(entry);
    }
    bool synchronize() override { return true; }

private:
    mutable std::mutex mutex_;
    std::map<std::string, foundation::PropertyList, std::less<>> entries_;
};

} // namespace

std::shared_ptr<PrefsKeyValueStore> detail::defaultRemoteStorage() {
    return std::make_shared<ProcessKeyValueStore>();
}

#endif

} // namespace Prefs
