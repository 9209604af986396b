#include "ui/Transaction.h"

#include "foundation/DispatchQueue.h"

namespace ui {

namespace {
thread_local Transaction currentTransaction;
}

const Transaction& Transaction::current() {
    return currentTransaction;
}

detail::TransactionScope::TransactionScope(Transaction transaction)
    : previous_(std::exchange(currentTransaction, std::move(transaction))) {}

detail::TransactionScope::~TransactionScope() {
    currentTransaction = std::move(previous_);
}

} // namespace ui

namespace ui::detail {

AnimationCompletion::~AnimationCompletion() {
    if (action) foundation::DispatchQueue::main().async(std::move(action));
}

} // namespace ui::detail
