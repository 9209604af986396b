#include "Lock.h"

namespace Prefs {

std::shared_ptr<Lock> Lock::create() {
    return std::make_shared<AllocatedUnfairLock>();
}

Lock::UnfairLock::UnfairLock()
    : lock_(std::make_unique<UnfairMutex>()) {}
void Lock::UnfairLock::lock() {
    lock_->lock();
}
void Lock::UnfairLock::unlock() {
    lock_->unlock();
}
bool Lock::UnfairLock::tryLock() {
    return lock_->tryLock();
}

Lock::AllocatedUnfairLock::AllocatedUnfairLock()
    : lock_(std::make_shared<UnfairMutex>()) {}
void Lock::AllocatedUnfairLock::lock() {
    lock_->lock();
}
void Lock::AllocatedUnfairLock::unlock() {
    lock_->unlock();
}
bool Lock::AllocatedUnfairLock::tryLock() {
    return lock_->tryLock();
}

} // namespace Prefs
