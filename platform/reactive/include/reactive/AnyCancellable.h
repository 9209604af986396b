#pragma once

#include "reactive/Cancellable.h"

#include <cstddef>
#include <functional>
#include <memory>

namespace reactive {

// A type-erased cancellable that cancels when the last copy of it goes. Copies refer to the
// same cancellable, so it can be kept in a vector or a set (ordered and hashed by identity):
//     publisher.sink(...).store(cancellables_);
// cancel() runs the cancel action once and then releases it, and with it whatever the action
// held. A default-constructed one does nothing.
class AnyCancellable {
public:
    AnyCancellable() = default;
    explicit AnyCancellable(std::function<void()> cancel);
    // Holds `cancellable` until cancelled.
    explicit AnyCancellable(std::shared_ptr<Cancellable> cancellable);

    // Cancels now. Safe from any thread and from within the cancelled subscription's delivery.
    // When it returns the subscription has ended, also if another thread was cancelling it at
    // that moment. Const so that copies kept in a set can be cancelled too.
    void cancel() const;

    // Stores a copy in `collection` (a vector, set or unordered set of AnyCancellable).
    template <class Collection> void store(Collection& collection) const {
        collection.insert(collection.end(), *this);
    }

    bool operator==(const AnyCancellable& other) const { return state_ == other.state_; }
    auto operator<=>(const AnyCancellable& other) const { return state_ <=> other.state_; }
    std::size_t hashValue() const { return std::hash<const void*>{}(state_.get()); }

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace reactive

template <> struct std::hash<reactive::AnyCancellable> {
    std::size_t operator()(const reactive::AnyCancellable& c) const noexcept { return c.hashValue(); }
};
