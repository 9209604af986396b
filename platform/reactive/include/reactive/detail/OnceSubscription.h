#pragma once

#include "reactive/Subscription.h"

#include <atomic>

namespace reactive::detail {

// The subscription of a publisher that is done within receive(): it only records a cancel.
class OnceSubscription final : public Subscription {
public:
    void request(Subscribers::Demand) override {}
    void cancel() override { cancelled_.store(true, std::memory_order_release); }
    bool isCancelled() const { return cancelled_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> cancelled_{false};
};

} // namespace reactive::detail
