#include "Prefs/iCloud.h"

#include "UbiquitousKeyValueStoreAdapter.h"

#include <atomic>

namespace Prefs {

namespace {
std::atomic<bool> debugFlag{false};
} // namespace

namespace iCloud {

const std::shared_ptr<iCloudSynchronizer>& synchronizer() {
    // Never destroyed: steps and notifications may still reach it while the process exits.
    static const auto* shared =
        new std::shared_ptr<iCloudSynchronizer>(iCloudSynchronizer::make(detail::defaultRemoteStorage()));
    return *shared;
}

void remove(const std::vector<std::shared_ptr<_AnyKey>>& keys) {
    synchronizer()->remove(keys);
}

void removeAll() {
    synchronizer()->removeAll();
}

iCloudSynchronizer::KeySet keys() {
    return synchronizer()->keys();
}

bool isDebug() {
    return debugFlag.load(std::memory_order_relaxed);
}

void setDebug(bool isDebug) {
    debugFlag.store(isDebug, std::memory_order_relaxed);
}

foundation::Task<void> waitForSyncCompletion() {
    return synchronizer()->waitForSyncCompletion();
}

} // namespace iCloud

namespace detail {

void addToICloud(std::shared_ptr<_AnyKey> key) {
    iCloud::synchronizer()->add(key);
}

} // namespace detail

} // namespace Prefs
