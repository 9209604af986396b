#pragma once

#include <atomic>
#include <mutex>
#include <thread>

// Lock checks stop the program on a recursive lock or an unlock by a thread that does not hold
// the lock. On in builds without NDEBUG; -DQUORIL_LOCK_CHECKS=0/1 overrides.
#ifndef QUORIL_LOCK_CHECKS
#ifdef NDEBUG
#define QUORIL_LOCK_CHECKS 0
#else
#define QUORIL_LOCK_CHECKS 1
#endif
#endif

namespace Prefs {

// The one mutex under both Lock variants: non-recursive, and unfair (a running thread may take
// it ahead of sleeping waiters). It remembers its owner in every build, so its layout never
// depends on the checks and tryLock() by the owner is safe.
class UnfairMutex {
public:
    UnfairMutex() = default;
    UnfairMutex(const UnfairMutex&) = delete;
    UnfairMutex& operator=(const UnfairMutex&) = delete;

    void lock();
    void unlock();
    // False when any thread holds it, this one included.
    bool tryLock();

private:
    std::mutex mutex_;
    std::atomic<std::thread::id> owner_{};
};

} // namespace Prefs
