#pragma once

#include "reactive/Cancellable.h"
#include "reactive/CombineIdentifier.h"
#include "reactive/Demand.h"

#include <memory>

namespace reactive {

// The link between a publisher and one subscriber. The subscriber holds it to cancel; the
// publisher's side holds the subscriber to deliver.
class Subscription : public Cancellable {
public:
    // Accepted for shape; this layer's publishers deliver regardless (see Demand).
    virtual void request(Subscribers::Demand demand) = 0;
    virtual CombineIdentifier combineIdentifier() const { return CombineIdentifier(this); }
};

namespace Subscriptions {

// A subscription that does nothing: for publishers that are done at once or never send.
std::shared_ptr<Subscription> empty();

} // namespace Subscriptions

} // namespace reactive
