#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/Completion.h"
#include "reactive/Scheduler.h"
#include "reactive/Subscriber.h"

#include "foundation/Date.h"

#include <memory>
#include <type_traits>

namespace reactive {

// A publisher: a value with `Output` and `Failure` types whose receive(subscriber) attaches a
// subscriber. It hands the subscriber a subscription first, then values, then at most one
// completion.
template <class P>
concept Publisher = requires(const P& p, const SubscriberPtr<typename P::Output, typename P::Failure>& s) {
    p.receive(s);
};

template <class Output, class Failure> class AnyPublisher;

// A publisher of these types that is not already the AnyPublisher of them.
template <class P, class Output, class Failure>
concept ErasablePublisher =
    Publisher<P> && !std::is_same_v<P, AnyPublisher<Output, Failure>> &&
    std::is_same_v<typename P::Output, Output> && std::is_same_v<typename P::Failure, Failure>;

// The operators every publisher offers, as members: a publisher type derives from
// PublisherOperators<Itself>. Each operator returns an AnyPublisher; the chain is built when
// something subscribes. Each operator is defined in its own header, all of which are included
// at the end of this one.
template <class Derived> class PublisherOperators {
public:
    // Attaches a subscriber (the same as receive).
    template <class S> void subscribe(const std::shared_ptr<S>& subscriber) const {
        self().receive(subscriber);
    }

    // Functions given to operators take the value as `const Output&`; for a publisher of Void
    // they may take nothing instead.
    template <class Transform> auto map(Transform transform) const;
    template <class Predicate> auto filter(Predicate isIncluded) const;
    // `transform` returns a std::optional; empty results are dropped.
    template <class Transform> auto compactMap(Transform transform) const;
    // Drops a value equal to the one just before it (operator==, or isDuplicate(previous, value)).
    auto removeDuplicates() const;
    template <class Predicate> auto removeDuplicates(Predicate isDuplicate) const;
    // Values of all, as they come; finishes when all have finished, fails at the first failure.
    template <class... Others> auto merge(Others... others) const;
    // Emits the latest value once `dueTime` seconds have passed without another one.
    auto debounce(foundation::TimeInterval dueTime, Scheduler scheduler) const;
    // Delivers values and completion on `scheduler`, in order.
    auto receiveOn(Scheduler scheduler) const;

    // Subscribes a closure and returns the cancellable that ends the subscription. The closure
    // runs on the sending thread. The one-argument form is for publishers that cannot fail.
    template <class ReceiveValue> [[nodiscard]] AnyCancellable sink(ReceiveValue receiveValue) const;
    template <class ReceiveCompletion, class ReceiveValue>
    [[nodiscard]] AnyCancellable sink(ReceiveCompletion receiveCompletion, ReceiveValue receiveValue) const;

    // Writes each value to a member, or passes it to a setter, of `object`. A shared_ptr is
    // held until the subscription ends; a weak_ptr stops writing once the object is gone; a
    // raw pointer must outlive the subscription (an object that stores its own cancellable).
    template <class Member, class Root, class Pointer>
    [[nodiscard]] AnyCancellable assign(Member Root::*keyPath, Pointer object) const;

    auto eraseToAnyPublisher() const;

protected:
    const Derived& self() const { return static_cast<const Derived&>(*this); }
};

} // namespace reactive

// The operator definitions need PublisherOperators and AnyPublisher complete; they are pulled
// in here so that including any publisher brings every operator with it.
#include "reactive/AnyPublisher.h"
#include "reactive/Assign.h"
#include "reactive/CompactMap.h"
#include "reactive/Debounce.h"
#include "reactive/Filter.h"
#include "reactive/Map.h"
#include "reactive/Merge.h"
#include "reactive/ReceiveOn.h"
#include "reactive/RemoveDuplicates.h"
#include "reactive/Sink.h"
