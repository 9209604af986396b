#include "ui/Transaction.h"

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
