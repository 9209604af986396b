#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"

#include <memory>
#include <utility>

namespace reactive {

namespace detail {

template <class Input, class Failure, class Predicate>
class FilterNode final : public Subscriber<Input, Failure> {
public:
    FilterNode(SubscriberPtr<Input, Failure> downstream, Predicate isIncluded)
        : downstream_(std::move(downstream))
        , isIncluded_(std::move(isIncluded)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        downstream_->receiveSubscription(std::move(subscription));
    }
    Subscribers::Demand receive(const Input& input) override {
        if (!invokeWithValue(isIncluded_, input)) return Subscribers::Demand::max(1);
        return downstream_->receive(input);
    }
    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        downstream_->receiveCompletion(completion);
    }

private:
    const SubscriberPtr<Input, Failure> downstream_;
    Predicate isIncluded_;
};

} // namespace detail

template <class Derived>
template <class Predicate>
auto PublisherOperators<Derived>::filter(Predicate isIncluded) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Node = detail::FilterNode<Output, Failure, Predicate>;
    return AnyPublisher<Output, Failure>([upstream = self(), isIncluded = std::move(isIncluded)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, isIncluded));
    });
}

} // namespace reactive
