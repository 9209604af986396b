#pragma once

#include "reactive/Publisher.h"
#include "reactive/detail/OnceSubscription.h"

#include <memory>

namespace reactive {

// Sends no value. It finishes at once, or, with completeImmediately false, never: a seed for
// merges that must never finish.
template <class Output_, class Failure_ = Never>
class Empty : public PublisherOperators<Empty<Output_, Failure_>> {
public:
    using Output = Output_;
    using Failure = Failure_;

    explicit Empty(bool completeImmediately = true)
        : completeImmediately_(completeImmediately) {}

    bool completeImmediately() const { return completeImmediately_; }

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const {
        auto subscription = std::make_shared<detail::OnceSubscription>();
        subscriber->receiveSubscription(subscription);
        if (completeImmediately_ && !subscription->isCancelled())
            subscriber->receiveCompletion(Subscribers::Completion<Failure>::finished());
    }

private:
    bool completeImmediately_;
};

} // namespace reactive
