#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/Scheduler.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace reactive {

namespace detail {

// Keeps the latest value and a deadline on the scheduler; each new value moves the deadline.
// When upstream finishes, a value still waiting is delivered at its deadline and the finish
// right after it, so nothing is lost; a failure is passed on at once and drops the value.
template <class Input, class Failure>
class DebounceNode final : public Subscriber<Input, Failure>,
                           public Subscription,
                           public std::enable_shared_from_this<DebounceNode<Input, Failure>> {
public:
    DebounceNode(SubscriberPtr<Input, Failure> downstream, foundation::TimeInterval dueTime,
                 Scheduler scheduler)
        : downstream_(std::move(downstream))
        , dueTime_(dueTime)
        , scheduler_(std::move(scheduler)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        {
            std::lock_guard lock(mutex_);
            if (!ended_ && !upstream_) {
                upstream_ = subscription;
                subscription.reset();
            }
        }
        if (subscription) {
            subscription->cancel();
            return;
        }
        downstream_->receiveSubscription(this->shared_from_this());
    }

    Subscribers::Demand receive(const Input& input) override {
        std::lock_guard lock(mutex_);
        if (ended_ || finishing_) return Subscribers::Demand::none();
        pending_.emplace(input);
        const auto generation = ++generation_;
        scheduler_.cancel(token_);
        token_ =
            scheduler_.schedule(Scheduler::now() + dueTime_, [weak = this->weak_from_this(), generation] {
                if (auto self = weak.lock()) self->fire(generation);
            });
        return Subscribers::Demand::none();
    }

    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        std::shared_ptr<Subscription> upstream;
        bool now = false;
        {
            std::lock_guard lock(mutex_);
            if (ended_ || finishing_) return;
            upstream = std::move(upstream_);
            finishing_ = true;
            completion_.emplace(completion);
            if (completion.isFailure() || !pending_) {
                pending_.reset();
                scheduler_.cancel(token_);
                now = true;
            }
        }
        if (now) scheduler_.schedule([self = this->shared_from_this()] { self->finish(); });
    }

    void request(Subscribers::Demand) override {}

    void cancel() override {
        std::shared_ptr<Subscription> upstream;
        {
            std::lock_guard lock(mutex_);
            if (ended_) return;
            ended_ = true;
            upstream = std::move(upstream_);
            pending_.reset();
            scheduler_.cancel(token_);
        }
        if (upstream) upstream->cancel();
    }

private:
    void fire(std::uint64_t generation) {
        std::optional<Input> value;
        bool finishing;
        {
            std::lock_guard lock(mutex_);
            if (ended_ || generation != generation_ || !pending_) return;
            value = std::move(pending_);
            pending_.reset();
            finishing = finishing_;
        }
        downstream_->receive(*value);
        if (finishing) finish();
    }

    void finish() {
        std::optional<Subscribers::Completion<Failure>> completion;
        {
            std::lock_guard lock(mutex_);
            if (ended_) return;
            ended_ = true;
            completion = std::move(completion_);
        }
        downstream_->receiveCompletion(*completion);
    }

    const SubscriberPtr<Input, Failure> downstream_;
    const foundation::TimeInterval dueTime_;
    const Scheduler scheduler_;
    std::mutex mutex_;
    std::shared_ptr<Subscription> upstream_;
    std::optional<Input> pending_;
    std::optional<Subscribers::Completion<Failure>> completion_;
    std::uint64_t generation_ = 0;
    Scheduler::Token token_ = 0;
    bool finishing_ = false; // upstream has completed
    bool ended_ = false;     // completion delivered, or cancelled
};

} // namespace detail

template <class Derived>
auto PublisherOperators<Derived>::debounce(foundation::TimeInterval dueTime, Scheduler scheduler) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Node = detail::DebounceNode<Output, Failure>;
    return AnyPublisher<Output, Failure>([upstream = self(), dueTime, scheduler = std::move(scheduler)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, dueTime, scheduler));
    });
}

} // namespace reactive
