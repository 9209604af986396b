#include "UnfairMutex.h"

#include "foundation/Fatal.h"

namespace Prefs {

void UnfairMutex::lock() {
    const auto self = std::this_thread::get_id();
#if QUORIL_LOCK_CHECKS
    // Only this thread can have stored its own id, so a relaxed read is enough.
    if (owner_.load(std::memory_order_relaxed) == self) {
        foundation::fatal(
            "Prefs lock: a thread tried to take a lock it already holds (locks are not re-entrant)");
    }
#endif
    mutex_.lock();
    owner_.store(self, std::memory_order_relaxed);
}

void UnfairMutex::unlock() {
#if QUORIL_LOCK_CHECKS
    if (owner_.load(std::memory_order_relaxed) != std::this_thread::get_id()) {
        foundation::fatal("Prefs lock: a thread tried to release a lock it does not hold");
    }
#endif
    owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
}

bool UnfairMutex::tryLock() {
    const auto self = std::this_thread::get_id();
    if (owner_.load(std::memory_order_relaxed) == self) return false;
    if (!mutex_.try_lock()) return false;
    owner_.store(self, std::memory_order_relaxed);
    return true;
}

} // namespace Prefs
