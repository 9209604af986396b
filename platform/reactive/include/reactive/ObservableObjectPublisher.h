#pragma once

#include "reactive/PassthroughSubject.h"
#include "reactive/Publisher.h"
#include "reactive/Void.h"

namespace reactive {

// The publisher of an observable object: send() announces that the object is about to change.
// A cheap handle, as PassthroughSubject.
class ObservableObjectPublisher : public PublisherOperators<ObservableObjectPublisher> {
public:
    using Output = Void;
    using Failure = Never;

    void send() const { subject_.send(); }
    void receive(const SubscriberPtr<Void>& subscriber) const { subject_.receive(subscriber); }

    bool operator==(const ObservableObjectPublisher&) const = default;

private:
    PassthroughSubject<Void> subject_;
};

} // namespace reactive
