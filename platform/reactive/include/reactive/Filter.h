#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"
#include "reactive/detail/StepNode.h"

#include <utility>

namespace reactive {

template <class Derived>
template <class Predicate>
auto PublisherOperators<Derived>::filter(Predicate isIncluded) const {
    using Output = typename Derived::Output;
    using Failure = typename Derived::Failure;
    return detail::stepPublisher<Output>(
        self(),
        [isIncluded = std::move(isIncluded)](const Output& input, Subscriber<Output, Failure>& down) mutable {
            if (!detail::invokeWithValue(isIncluded, input)) return Subscribers::Demand::max(1);
            return down.receive(input);
        });
}

} // namespace reactive
