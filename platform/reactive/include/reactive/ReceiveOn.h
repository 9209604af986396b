#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/Scheduler.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

namespace reactive {

namespace detail {

// Hops each signal to the scheduler. After cancel, signals still on their way are dropped.
template <class Input, class Failure>
class ReceiveOnNode final : public Subscriber<Input, Failure>,
                            public Subscription,
                            public std::enable_shared_from_this<ReceiveOnNode<Input, Failure>> {
public:
    ReceiveOnNode(SubscriberPtr<Input, Failure> downstream, Scheduler scheduler)
        : downstream_(std::move(downstream))
        , scheduler_(std::move(scheduler)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        bool accepted = false;
        {
            std::lock_guard lock(mutex_);
            if (!ended_.load(std::memory_order_relaxed) && !upstream_) {
                upstream_ = subscription;
                accepted = true;
            }
        }
        if (!accepted) {
            subscription->cancel();
            return;
        }
        downstream_->receiveSubscription(this->shared_from_this());
    }

    Subscribers::Demand receive(const Input& input) override {
        if (ended_.load(std::memory_order_acquire)) return Subscribers::Demand::none();
        scheduler_.schedule([self = this->shared_from_this(), input] {
            if (!self->ended_.load(std::memory_order_acquire)) self->downstream_->receive(input);
        });
        return Subscribers::Demand::none();
    }

    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        std::shared_ptr<Subscription> upstream;
        {
            std::lock_guard lock(mutex_);
            upstream = std::move(upstream_);
        }
        scheduler_.schedule([self = this->shared_from_this(), completion] {
            if (!self->ended_.exchange(true)) self->downstream_->receiveCompletion(completion);
        });
    }

    void request(Subscribers::Demand) override {}

    void cancel() override {
        if (ended_.exchange(true)) return;
        std::shared_ptr<Subscription> upstream;
        {
            std::lock_guard lock(mutex_);
            upstream = std::move(upstream_);
        }
        if (upstream) upstream->cancel();
    }

private:
    const SubscriberPtr<Input, Failure> downstream_;
    const Scheduler scheduler_;
    std::atomic<bool> ended_{false};
    std::mutex mutex_;
    std::shared_ptr<Subscription> upstream_;
};

} // namespace detail

template <class Derived> auto PublisherOperators<Derived>::receiveOn(Scheduler scheduler) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Node = detail::ReceiveOnNode<Output, Failure>;
    return AnyPublisher<Output, Failure>([upstream = self(), scheduler = std::move(scheduler)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, scheduler));
    });
}

} // namespace reactive
