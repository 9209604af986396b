#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Subscriber.h"

#include <memory>
#include <utility>

namespace reactive::detail {

// The subscriber behind the stateless one-value operators (map, filter, compactMap): it passes
// the upstream subscription and the completion straight down, so cancelling the downstream
// cancels upstream, and hands each value to `step(input, downstream)`.
template <class Input, class Output, class Failure, class Step>
class StepNode final : public Subscriber<Input, Failure> {
public:
    StepNode(SubscriberPtr<Output, Failure> downstream, Step step)
        : downstream_(std::move(downstream))
        , step_(std::move(step)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        downstream_->receiveSubscription(std::move(subscription));
    }
    Subscribers::Demand receive(const Input& input) override { return step_(input, *downstream_); }
    void receiveCompletion(const Subscribers::Completion<Failure>& completion) override {
        downstream_->receiveCompletion(completion);
    }

private:
    const SubscriberPtr<Output, Failure> downstream_;
    Step step_;
};

// A publisher that subscribes a StepNode with its own copy of `step` to `upstream` per subscriber.
template <class Output, class Upstream, class Step> auto stepPublisher(Upstream upstream, Step step) {
    using Input = typename Upstream::Output;
    using Failure = typename Upstream::Failure;
    using Node = StepNode<Input, Output, Failure, Step>;
    return AnyPublisher<Output, Failure>([upstream = std::move(upstream), step = std::move(step)](
                                             const SubscriberPtr<Output, Failure>& downstream) {
        upstream.receive(std::make_shared<Node>(downstream, step));
    });
}

} // namespace reactive::detail
