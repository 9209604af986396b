#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"
#include "reactive/detail/StepNode.h"

#include <type_traits>
#include <utility>

namespace reactive {

template <class Derived>
template <class Transform>
auto PublisherOperators<Derived>::map(Transform transform) const {
    using Input = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Output = std::decay_t<detail::InvokeResult<Transform, Input>>;
    static_assert(!std::is_void_v<Output>, "map needs a transform that returns a value");
    return detail::stepPublisher<Output>(
        self(),
        [transform = std::move(transform)](const Input& input, Subscriber<Output, Failure>& down) mutable {
            return down.receive(detail::invokeWithValue(transform, input));
        });
}

} // namespace reactive
