#pragma once

#include "PrefsLockProtocol.h"
#include "UnfairMutex.h"

#include <memory>

namespace Prefs {

// The store's lock, held by std::shared_ptr and made by Lock::create(). Not re-entrant: a thread
// never takes a lock it holds, and unlocks on the thread that locked. Holds are short (a copy, a
// replace, a flag), so std::lock_guard over it is the usual way in.
class Lock : public PrefsLockProtocol {
public:
    class UnfairLock;
    class AllocatedUnfairLock;

    // There is one system to run on, so always the allocated variant.
    static std::shared_ptr<Lock> create();

    // The root's own operations do nothing; only the two variants are ever created.
    void lock() override {}
    void unlock() override {}
    bool tryLock() override { return true; }

    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

protected:
    Lock() = default;
};

// Owns a lock word on the heap, whose address stays fixed while the lock lives.
class Lock::UnfairLock final : public Lock {
public:
    UnfairLock();
    void lock() override;
    void unlock() override;
    bool tryLock() override;

private:
    const std::unique_ptr<UnfairMutex> lock_;
};

// Owns an allocated lock that guards no state of its own.
class Lock::AllocatedUnfairLock final : public Lock {
public:
    AllocatedUnfairLock();
    void lock() override;
    void unlock() override;
    bool tryLock() override;

private:
    const std::shared_ptr<UnfairMutex> lock_;
};

static_assert(PrefsLockType<Lock>);

} // namespace Prefs
