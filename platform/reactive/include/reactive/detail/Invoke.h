#pragma once

#include "reactive/Void.h"

#include <functional>
#include <type_traits>
#include <utility>

namespace reactive::detail {

// Calls `f` with the value, or with nothing when the value is Void and `f` takes nothing, so
// that `subject.sink([] { ... })` reads naturally for signals without payload.
template <class F, class Value> decltype(auto) invokeWithValue(F& f, const Value& value) {
    if constexpr (std::is_invocable_v<F&, const Value&>) {
        return std::invoke(f, value);
    } else {
        static_assert(std::is_same_v<Value, Void> && std::is_invocable_v<F&>,
                      "the function must take the publisher's output");
        return std::invoke(f);
    }
}

template <class F, class Value>
using InvokeResult = decltype(invokeWithValue(std::declval<F&>(), std::declval<const Value&>()));

} // namespace reactive::detail
