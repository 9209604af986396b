#pragma once

#include "reactive/AnyCancellable.h"

#include <compare>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {
struct RegistrarState;
}

// Names one observable property of an object for its registrar: any address that is unique
// within the object and stable while it lives. The registrar's member-pointer forms use the
// property's own address; a computed property without a field can use a static token.
class ObservationKey {
public:
    constexpr explicit ObservationKey(const void* token)
        : token_(token) {}
    constexpr const void* token() const { return token_; }
    constexpr bool operator==(const ObservationKey&) const = default;
    constexpr auto operator<=>(const ObservationKey&) const = default;

private:
    const void* token_;
};

// The registrar of an observable object: its getters report reads with access(), its setters
// wrap writes in withMutation(). A tracking that recorded a read of a property is told before
// that property is written, on the writing thread, once (see withObservationTracking).
// Every write notifies, whether or not the value changes. Safe from any thread.
//
//     bool shiftKeyPressed() const {
//         registrar_.access(*this, &ModifierKeyManager::shiftKeyPressed_);
//         return shiftKeyPressed_;
//     }
//     void setShiftKeyPressed(bool pressed) {
//         registrar_.withMutation(*this, &ModifierKeyManager::shiftKeyPressed_,
//                                 [&] { shiftKeyPressed_ = pressed; });
//     }
class ObservationRegistrar {
public:
    ObservationRegistrar();
    // A copy is a new registrar: observations belong to the object they were made on.
    ObservationRegistrar(const ObservationRegistrar&);
    ObservationRegistrar& operator=(const ObservationRegistrar&) { return *this; }
    ~ObservationRegistrar();

    template <class Root, class Value> void access(const Root& object, Value Root::*keyPath) const {
        access(keyOf(object, keyPath));
    }
    void access(ObservationKey key) const;

    // Tells the trackings that read the property, then runs `mutation` and returns its result.
    template <class Root, class Value, class Mutation>
    decltype(auto) withMutation(const Root& object, Value Root::*keyPath, Mutation&& mutation) const {
        return withMutation(keyOf(object, keyPath), std::forward<Mutation>(mutation));
    }
    template <class Mutation> decltype(auto) withMutation(ObservationKey key, Mutation&& mutation) const {
        willSet(key);
        return std::forward<Mutation>(mutation)();
    }

    // The notification part of withMutation, for writes that cannot be wrapped in a function.
    void willSet(ObservationKey key) const;

private:
    template <class Root, class Value> static ObservationKey keyOf(const Root& object, Value Root::*keyPath) {
        return ObservationKey(std::addressof(object.*keyPath));
    }

    std::shared_ptr<detail::RegistrarState> state_;
};

namespace detail {

struct TrackingObserver;

// Records, on this thread, the reads made while it is the innermost scope.
class TrackingScope {
public:
    TrackingScope();
    // A scope that keeps the reads from the scopes around it and records nothing itself.
    struct Discarding {};
    explicit TrackingScope(Discarding);
    ~TrackingScope();
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;

    // Ends recording and hands `onChange` to the registrars of the properties read.
    void finish(std::function<void()> onChange);
    // The same, returning a cancellable that withdraws `onChange` again.
    AnyCancellable finishWithdrawable(std::function<void()> onChange);
    // The same for `observer`, the tracking of the run before: it stays registered for the reads
    // made again, so that only what changed between the runs is registered or withdrawn.
    void finishRenewing(std::shared_ptr<TrackingObserver>& observer, std::function<void()> onChange);

    // Records a read in this thread's innermost scope, if there is one.
    static void record(const std::shared_ptr<RegistrarState>& registrar, const void* key);

    struct Recorded;

private:
    std::shared_ptr<TrackingObserver> install(std::function<void()> onChange);

    std::unique_ptr<Recorded> recorded_;
    TrackingScope* outer_;
    bool finished_ = false;
};

} // namespace detail

// Runs `apply` and records every property read through a registrar on this thread meanwhile
// (a nested tracking records its own reads, not its caller's). The first later write of any
// of them calls `onChange` once, before the write happens, on the writing thread; writes made
// during `apply` itself do not count. Returns what `apply` returns.
template <class Apply> decltype(auto) withObservationTracking(Apply&& apply, std::function<void()> onChange) {
    detail::TrackingScope scope;
    if constexpr (std::is_void_v<std::invoke_result_t<Apply&>>) {
        apply();
        scope.finish(std::move(onChange));
    } else {
        decltype(auto) result = apply();
        scope.finish(std::move(onChange));
        return result;
    }
}

// The same, for an observer that may go away before anything changes (a view that is
// removed): the returned cancellable withdraws `onChange`, at the latest when it is dropped.
template <class Apply>
[[nodiscard]] AnyCancellable withCancellableObservationTracking(Apply&& apply,
                                                                std::function<void()> onChange) {
    detail::TrackingScope scope;
    apply();
    return scope.finishWithdrawable(std::move(onChange));
}

// Runs `apply` without recording its reads for the trackings around it, for code that hears of
// the changes another way. Returns what `apply` returns.
template <class Apply> decltype(auto) withoutObservationTracking(Apply&& apply) {
    detail::TrackingScope discarded(detail::TrackingScope::Discarding{});
    return std::forward<Apply>(apply)();
}

// The tracking of an observer that runs again and again (a view's body): each track() replaces
// the one before, like withCancellableObservationTracking, but keeps the registrations of the
// reads it makes again, so that a run reading nearly what the run before read costs little more
// than comparing the two. Withdrawn by withdraw() or when destroyed.
class ObservationTracking {
public:
    ObservationTracking() = default;
    ~ObservationTracking() { withdraw(); }
    ObservationTracking(const ObservationTracking&) = delete;
    ObservationTracking& operator=(const ObservationTracking&) = delete;

    template <class Apply> void track(Apply&& apply, std::function<void()> onChange) {
        detail::TrackingScope scope;
        std::forward<Apply>(apply)();
        scope.finishRenewing(observer_, std::move(onChange));
    }
    void withdraw();

private:
    std::shared_ptr<detail::TrackingObserver> observer_;
};

} // namespace reactive
