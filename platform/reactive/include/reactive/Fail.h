#pragma once

#include "reactive/Publisher.h"
#include "reactive/detail/OnceSubscription.h"

#include <memory>

#include <utility>

namespace reactive {

// Fails at once with `error`.
template <class Output_, class Failure_> class Fail : public PublisherOperators<Fail<Output_, Failure_>> {
public:
    using Output = Output_;
    using Failure = Failure_;

    explicit Fail(Failure error)
        : error_(std::move(error)) {}

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const {
        auto subscription = std::make_shared<detail::OnceSubscription>();
        subscriber->receiveSubscription(subscription);
        if (!subscription->isCancelled())
            subscriber->receiveCompletion(Subscribers::Completion<Failure>::failure(error_));
    }

private:
    Failure error_;
};

} // namespace reactive
