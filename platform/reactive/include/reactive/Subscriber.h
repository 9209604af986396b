#pragma once

#include "reactive/CombineIdentifier.h"
#include "reactive/Completion.h"
#include "reactive/Demand.h"
#include "reactive/Subscription.h"

#include <memory>

namespace reactive {

// Receives a publisher's signals: first its subscription, then values, then at most one
// completion. A subscriber is held by std::shared_ptr; the publisher side keeps it until the
// subscription ends.
//
// Signals arrive on the thread that produced them. A publisher sent from several threads at
// once signals from those threads at once; the stateful parts of this layer guard themselves.
template <class Input, class Failure = Never> class Subscriber {
public:
    using InputType = Input;
    using FailureType = Failure;

    virtual ~Subscriber() = default;
    virtual void receiveSubscription(std::shared_ptr<Subscription> subscription) = 0;
    // The returned demand is ignored by this layer's publishers (see Demand).
    virtual Subscribers::Demand receive(const Input& input) = 0;
    virtual void receiveCompletion(const Subscribers::Completion<Failure>& completion) = 0;
    virtual CombineIdentifier combineIdentifier() const { return CombineIdentifier(this); }
};

template <class Input, class Failure = Never>
using SubscriberPtr = std::shared_ptr<Subscriber<Input, Failure>>;

} // namespace reactive
