#pragma once

#include "Prefs/Key.h"
#include "Prefs/iCloudDataSource.h"
#include "Prefs/iCloudSynchronizer.h"

#include "foundation/Task.h"

#include <memory>
#include <vector>

// Synchronisation of keys through the iCloud key-value store: a registered key's value is
// mirrored between its own suite and the store, and the side changed last wins. A key made
// with `iCloud` set is registered by its constructor. Everything here is safe on any thread.
//
// The first use of anything here but isDebug() and setDebug() makes the shared synchroniser
// (add() and remove() of typed keys only when given at least one key).
namespace Prefs::iCloud {

// The process's synchroniser over the default iCloud store; never destroyed.
const std::shared_ptr<iCloudSynchronizer>& synchronizer();

// Registers each key in turn. A key registered already is left as it is.
template <class... Values> void add(const std::shared_ptr<Key<Values>>&... keys) {
    if constexpr (sizeof...(keys) > 0) {
        const auto& shared = synchronizer();
        (shared->add(keys), ...);
    }
}

// Unregisters each key in turn; queued steps still run.
template <class... Values> void remove(const std::shared_ptr<Key<Values>>&... keys) {
    if constexpr (sizeof...(keys) > 0) {
        const auto& shared = synchronizer();
        (shared->remove(std::shared_ptr<_AnyKey>(keys)), ...);
    }
}

// Unregisters the listed keys at once.
void remove(const std::vector<std::shared_ptr<_AnyKey>>& keys);
void removeAll();

// A copy of the registered set.
iCloudSynchronizer::KeySet keys();

// With it on, every step is written to the default log, at debug level, as
// "[Prefs.iCloud] <message>". Off at start; with it off no message is built.
bool isDebug();
void setDebug(bool isDebug);

// Completes once every step queued before the call has finished. Never await it from a step.
foundation::Task<void> waitForSyncCompletion();

} // namespace Prefs::iCloud
