#include "Views/AppUpdatesViewModel.h"

#include "foundation/DispatchQueue.h"
#include "foundation/MainThread.h"
#include "updater/SPUUpdater.h"

namespace quoril {

AppUpdatesViewModel::AppUpdatesViewModel(const updater::SPUUpdater& updater)
    : AppUpdatesViewModel(updater.canCheckForUpdatesPublisher()) {}

AppUpdatesViewModel::AppUpdatesViewModel(reactive::AnyPublisher<bool> canCheckForUpdatesPublisher) {
    subscription_ = canCheckForUpdatesPublisher.sink([this, pending = pending_](bool value) {
        if (foundation::isMainThread() && pending->count.load() == 0) {
            canCheckForUpdates = value;
            return;
        }
        ++pending->count;
        foundation::DispatchQueue::main().async([this, pending, value] {
            --pending->count;
            if (pending->objectAlive) canCheckForUpdates = value;
        });
    });
}

AppUpdatesViewModel::~AppUpdatesViewModel() {
    pending_->objectAlive = false;
    subscription_.cancel();
}

} // namespace quoril
