#pragma once

#include "reactive/Publisher.h"
#include "reactive/detail/OnceSubscription.h"

#include <memory>
#include <utility>

namespace reactive {

// Sends one value and finishes, synchronously, to each subscriber.
template <class Output_> class Just : public PublisherOperators<Just<Output_>> {
public:
    using Output = Output_;
    using Failure = Never;

    explicit Just(Output value)
        : value_(std::move(value)) {}

    const Output& output() const { return value_; }

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const {
        auto subscription = std::make_shared<detail::OnceSubscription>();
        subscriber->receiveSubscription(subscription);
        if (subscription->isCancelled()) return;
        subscriber->receive(value_);
        if (subscription->isCancelled()) return;
        subscriber->receiveCompletion(Subscribers::Completion<Failure>::finished());
    }

private:
    Output value_;
};

template <class Output> Just(Output) -> Just<Output>;

} // namespace reactive
