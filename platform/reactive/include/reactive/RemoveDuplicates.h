#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"

#include <concepts>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace reactive {

namespace detail {

// Compares each value with the one received just before it. The comparison and the remembered
// value are guarded, so values arriving on several threads are compared one at a time.
template <class Input, class Failure, class Predicate>
class RemoveDuplicatesNode final : public Subscriber<Input, Failure> {
public:
    RemoveDuplicatesNode(SubscriberPtr<Input, Failure> downstream, Predicate isDuplicate)
        : downstream_(std::move(downstream))
        , isDuplicate_(std::move(isDuplicate)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        downstream_->receiveSubscription(std::move(subscription));
    }
    Subscribers::Demand receive(const Input& input) override {
        {
            std::lock_guard lock(mutex_);
            const bool duplicate = previous_ && std::invoke(isDuplicate_, std::as_const(*previous_), input);
            previous_.emplace(input);
            if (duplicate) return Subscribers::Demand::max(1);
        }
        return downstream_->receive(input);
    }
    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        downstream_->receiveCompletion(completion);
    }

private:
    const SubscriberPtr<Input, Failure> downstream_;
    Predicate isDuplicate_;
    std::mutex mutex_;
    std::optional<Input> previous_;
};

} // namespace detail

template <class Derived>
template <class Predicate>
auto PublisherOperators<Derived>::removeDuplicates(Predicate isDuplicate) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Node = detail::RemoveDuplicatesNode<Output, Failure, Predicate>;
    return AnyPublisher<Output, Failure>([upstream = self(), isDuplicate = std::move(isDuplicate)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, isDuplicate));
    });
}

template <class Derived> auto PublisherOperators<Derived>::removeDuplicates() const {
    static_assert(std::equality_comparable<typename Derived::Output>,
                  "removeDuplicates() needs values with ==; pass a predicate otherwise");
    return removeDuplicates(std::equal_to<>());
}

} // namespace reactive
