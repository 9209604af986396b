#pragma once

#include <concepts>
#include <memory>

namespace Prefs {

// The lock interface. Nothing calls through it: callers hold a Lock and call it directly.
class PrefsLockProtocol {
public:
    virtual ~PrefsLockProtocol() = default;
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // Takes the lock only if that needs no waiting; false while any thread holds it.
    virtual bool tryLock() = 0;
};

// The class-level half of the interface: a type conforms when it also has a factory.
template <class L>
concept PrefsLockType = std::derived_from<L, PrefsLockProtocol> && requires {
    { L::create() } -> std::convertible_to<std::shared_ptr<PrefsLockProtocol>>;
};

} // namespace Prefs
