#pragma once

#include <memory>
#include <utility>

namespace ui {

// Defined by the motion part of the layer; the core only carries it.
class Animation;

// The context of one update: how its changes should be shown.
//
// Each state write records the transaction current at that write on its thread; an element
// takes the transaction of the write that invalidated it, and so does everything updated
// with it. Timers, publisher and task callbacks run with an empty transaction unless they set one.
struct Transaction {
    std::shared_ptr<const Animation> animation;
    bool disablesAnimations = false;

    bool isEmpty() const { return !animation && !disablesAnimations; }

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

} // namespace ui
