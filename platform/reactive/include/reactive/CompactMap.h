#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {

template <class T> struct OptionalValue;
template <class T> struct OptionalValue<std::optional<T>> { using Type = T; };

template <class Input, class Output, class Failure, class Transform>
class CompactMapNode final : public Subscriber<Input, Failure> {
public:
    CompactMapNode(SubscriberPtr<Output, Failure> downstream, Transform transform)
        : downstream_(std::move(downstream))
        , transform_(std::move(transform)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        downstream_->receiveSubscription(std::move(subscription));
    }
    Subscribers::Demand receive(const Input& input) override {
        auto output = invokeWithValue(transform_, input);
        if (!output) return Subscribers::Demand::max(1);
        return downstream_->receive(*output);
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
auto PublisherOperators<Derived>::compactMap(Transform transform) const {
    using Input = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Output = typename detail::OptionalValue<std::decay_t<detail::InvokeResult<Transform, Input>>>::Type;
    using Node = detail::CompactMapNode<Input, Output, Failure, Transform>;
    return AnyPublisher<Output, Failure>([upstream = self(), transform = std::move(transform)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, transform));
    });
}

} // namespace reactive
