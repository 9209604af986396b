#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"

#include <memory>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {

// Passes the upstream subscription straight down: cancelling the downstream cancels upstream.
template <class Input, class Output, class Failure, class Transform>
class MapNode final : public Subscriber<Input, Failure> {
public:
    MapNode(SubscriberPtr<Output, Failure> downstream, Transform transform)
        : downstream_(std::move(downstream))
        , transform_(std::move(transform)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        downstream_->receiveSubscription(std::move(subscription));
    }
    Subscribers::Demand receive(const Input& input) override {
        return downstream_->receive(invokeWithValue(transform_, input));
    }
    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        downstream_->receiveCompletion(completion);
    }

private:
    const SubscriberPtr<Output, Failure> downstream_;
    Transform transform_;
};

} // namespace detail

template <class Derived>
template <class Transform>
auto PublisherOperators<Derived>::map(Transform transform) const {
    using Input = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Output = std::decay_t<detail::InvokeResult<Transform, Input>>;
    static_assert(!std::is_void_v<Output>, "map needs a transform that returns a value");
    using Node = detail::MapNode<Input, Output, Failure, Transform>;
    return AnyPublisher<Output, Failure>([upstream = self(), transform = std::move(transform)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, transform));
    });
}

} // namespace reactive
