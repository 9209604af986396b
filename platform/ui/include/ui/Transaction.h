#pragma once

#include "ui/Animation.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

namespace detail {
// Runs a withAnimation completion once the last animation started under it has ended (or
// at once when nothing animated). Held by transactions while they are in force and by the
// animations they start; the call is posted to the main queue, never made mid-update.
struct AnimationCompletion {
    std::function<void()> action;
    explicit AnimationCompletion(std::function<void()> action)
        : action(std::move(action)) {}
    ~AnimationCompletion();
    AnimationCompletion(const AnimationCompletion&) = delete;
    AnimationCompletion& operator=(const AnimationCompletion&) = delete;
};
} // namespace detail

// The context of one update: how its changes should be shown.
//
// The rules:
// - Each state write records the transaction current at that write on its thread
//   (withAnimation and withTransaction are scoped and per thread).
// - An element takes the transaction of the write that invalidated it; the elements updated
//   with it take the same one.
// - Timers, timeline ticks, publisher and task callbacks, event actions and store refreshes
//   run with an empty transaction unless they call withAnimation themselves; animation frames
//   create none.
// - Transaction transforms of a subtree (View::transaction, View::animation) apply to every
//   update in it, whatever caused the update; View::animation(a, value) applies only in an
//   update in which its value changed.
// - A modifier-level transform (ui::transaction / ui::animation over a custom modifier)
//   reaches the views the modifier's body makes, not the content it modifies.
// - disablesAnimations wins over any animation: nothing animates.
struct Transaction {
    std::shared_ptr<const Animation> animation;
    bool disablesAnimations = false;
    std::shared_ptr<detail::AnimationCompletion> completion;

    bool isEmpty() const { return !animation && !disablesAnimations; }
    void setAnimation(std::optional<Animation> value) {
        animation = value ? std::make_shared<const Animation>(std::move(*value)) : nullptr;
    }

    // The transaction in force on this thread (empty outside withTransaction).
    static const Transaction& current();
};

namespace detail {
// Installs a transaction on this thread for its lifetime, restoring the previous one.
class TransactionScope {
public:
    explicit TransactionScope(Transaction transaction);
    ~TransactionScope();
    TransactionScope(const TransactionScope&) = delete;
    TransactionScope& operator=(const TransactionScope&) = delete;

private:
    Transaction previous_;
};
} // namespace detail

// Runs `body` with `transaction` current on this thread and returns what it returns.
template <class Body> decltype(auto) withTransaction(Transaction transaction, Body&& body) {
    detail::TransactionScope scope(std::move(transaction));
    return std::forward<Body>(body)();
}

// Runs `body` with `animation` (none: nothing animates) in the current transaction, so the
// state it writes animates with it.
template <class Body> decltype(auto) withAnimation(std::optional<Animation> animation, Body&& body) {
    Transaction transaction = Transaction::current();
    transaction.setAnimation(std::move(animation));
    return withTransaction(std::move(transaction), std::forward<Body>(body));
}

// The same with the default animation.
template <class Body> decltype(auto) withAnimation(Body&& body) {
    return withAnimation(Animation::default_(), std::forward<Body>(body));
}

// The same, calling `completion` on the main queue once every animation the body's writes
// started has ended (at the next turn of the queue when nothing animated).
template <class Body>
decltype(auto) withAnimation(std::optional<Animation> animation, Body&& body, std::function<void()> completion) {
    Transaction transaction = Transaction::current();
    transaction.setAnimation(std::move(animation));
    transaction.completion = std::make_shared<detail::AnimationCompletion>(std::move(completion));
    return withTransaction(std::move(transaction), std::forward<Body>(body));
}

} // namespace ui
