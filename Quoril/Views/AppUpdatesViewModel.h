#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/AnyPublisher.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <atomic>
#include <memory>

namespace updater {
class SPUUpdater;
}

namespace quoril {

// Mirrors the updater's canCheckForUpdates for the menu. The flag is view state, so it is only
// ever written on the main thread: a value delivered there is taken at once (the updater's
// current value arrives while the object is made, so the first display is right), one from
// another thread is passed to the main queue, and so is every later one until it arrived, so
// values keep their order. Made and released on the main thread.
class AppUpdatesViewModel : public reactive::ObservableObject {
public:
    explicit AppUpdatesViewModel(const updater::SPUUpdater& updater);
    // Follows any publisher of the flag.
    explicit AppUpdatesViewModel(reactive::AnyPublisher<bool> canCheckForUpdatesPublisher);
    ~AppUpdatesViewModel() override;
    AppUpdatesViewModel(const AppUpdatesViewModel&) = delete;
    AppUpdatesViewModel& operator=(const AppUpdatesViewModel&) = delete;

    reactive::Published<bool> canCheckForUpdates{this, false};

private:
    // Values on their way to the main queue, and whether the object is still there (read and
    // written on the main thread only).
    struct Pending {
        std::atomic<int> count{0};
        bool objectAlive = true;
    };
    std::shared_ptr<Pending> pending_ = std::make_shared<Pending>();
    reactive::AnyCancellable subscription_;
};

} // namespace quoril
