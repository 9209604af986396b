#pragma once

#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"
#include "reactive/detail/Invoke.h"
#include "reactive/detail/StepNode.h"

#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace reactive {

namespace detail {

template <class T> struct OptionalValue;
template <class T> struct OptionalValue<std::optional<T>> { using Type = T; };

} // namespace detail

template <class Derived>
template <class Transform>
auto PublisherOperators<Derived>::compactMap(Transform transform) const {
    using Input = typename Derived::Output;
    using Failure = typename Derived::Failure;
    using Output = typename detail::OptionalValue<std::decay_t<detail::InvokeResult<Transform, Input>>>::Type;
    return detail::stepPublisher<Output>(
        self(),
        [transform = std::move(transform)](const Input& input, Subscriber<Output, Failure>& down) mutable {
            auto output = detail::invokeWithValue(transform, input);
            if (!output) return Subscribers::Demand::max(1);
            return down.receive(*output);
        });
}

} // namespace reactive
