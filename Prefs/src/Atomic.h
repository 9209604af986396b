#pragma once

#include "Lock.h"

#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace Prefs {

// A value behind its own lock; held by std::shared_ptr. Each read, write and modify is one hold
// of the lock; a read followed by a write is two, so changes that depend on the old value go
// through modify().
template <class Value> class Atomic {
public:
    explicit Atomic(Value value)
        : lock_(Lock::create())
        , value_(std::move(value)) {}
    Atomic(const Atomic&) = delete;
    Atomic& operator=(const Atomic&) = delete;

    Value value() const {
        std::lock_guard guard(*lock_);
        return value_;
    }

    void setValue(Value value) {
        {
            std::lock_guard guard(*lock_);
            std::swap(value_, value);
        }
        // The old value is released here, outside the lock.
    }

    // Applies `change` to the value in place while the lock is held; returns what it returns.
    template <class F> auto modify(F&& change) {
        std::lock_guard guard(*lock_);
        return std::invoke(std::forward<F>(change), value_);
    }

private:
    const std::shared_ptr<Lock> lock_;
    Value value_;
};

} // namespace Prefs
