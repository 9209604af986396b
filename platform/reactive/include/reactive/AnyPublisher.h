#pragma once

#include "reactive/Publisher.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace reactive {

// A publisher of some type, erased: what operators return and what interfaces hand out. It is a
// cheap value; copies share the subscribe function.
//
// It can also be made straight from a subscribe function, which is given each new subscriber
// and must hand it a subscription (see makePublisher for a simpler way to write a source).
template <class Output_, class Failure_ = Never>
class AnyPublisher : public PublisherOperators<AnyPublisher<Output_, Failure_>> {
public:
    using Output = Output_;
    using Failure = Failure_;
    using SubscribeFunction = std::function<void(const SubscriberPtr<Output, Failure>&)>;

    explicit AnyPublisher(SubscribeFunction subscribe)
        : subscribe_(std::make_shared<const SubscribeFunction>(std::move(subscribe))) {}

    template <ErasablePublisher<Output, Failure> P>
    AnyPublisher(P publisher)
        : AnyPublisher(
              [p = std::move(publisher)](const SubscriberPtr<Output, Failure>& s) { p.receive(s); }) {}

    void receive(const SubscriberPtr<Output, Failure>& subscriber) const { (*subscribe_)(subscriber); }

private:
    std::shared_ptr<const SubscribeFunction> subscribe_;
};

template <class Derived> auto PublisherOperators<Derived>::eraseToAnyPublisher() const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    if constexpr (std::is_same_v<Derived, AnyPublisher<Output, Failure>>) {
        return self();
    } else {
        return AnyPublisher<Output, Failure>(self());
    }
}

} // namespace reactive
