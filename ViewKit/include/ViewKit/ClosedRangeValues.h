#pragma once

#include "foundation/Fatal.h"
#include "foundation/Range.h"

#include <cmath>
#include <cstddef>
#include <type_traits>
#include <vector>

namespace ViewKit {

// How far apart two values of T may be: a signed integer for integers, T itself otherwise.
template <class T>
using Stride =
    typename std::conditional_t<std::is_integral_v<T>, std::make_signed<T>, std::type_identity<T>>::type;

// The values lowerBound + i × step for i = 0, 1, 2 … up to the upper bound, which is included
// when reached exactly: values(0.0…1.0, 0.1) gives 11 values ending at 1.0, without the drift of
// adding the step again and again. Integers never overflow, not at the limits of their type. A
// negative step gives the lower bound alone when the range holds one value, nothing otherwise.
// A zero (or NaN) step is a programmer error and stops the program.
template <class T>
requires(std::is_arithmetic_v<T> &&
         !std::is_same_v<T, bool>) std::vector<T> values(const foundation::ClosedRange<T>& range,
                                                         Stride<T> step) {
    const T lower = range.lowerBound();
    const T upper = range.upperBound();
    if constexpr (std::is_floating_point_v<T>) {
        if (std::isnan(step)) foundation::fatal("values(by:) needs a step that is a number");
        if (std::isnan(lower) || std::isnan(upper)) return {};
    }
    if (step == 0) foundation::fatal("values(by:) needs a step other than zero");
    std::vector<T> result;
    if (step < 0) {
        if (lower == upper) result.push_back(lower);
        return result;
    }
    if constexpr (std::is_integral_v<T>) {
        // The distance left and the step in unsigned arithmetic, where both fit exactly.
        using Unsigned = std::make_unsigned_t<T>;
        const Unsigned increment = Unsigned(step);
        Unsigned remaining = Unsigned(Unsigned(upper) - Unsigned(lower));
        T current = lower;
        for (;;) {
            result.push_back(current);
            if (remaining < increment) break;
            remaining = Unsigned(remaining - increment);
            current = T(Unsigned(current) + increment);
        }
    } else {
        for (std::size_t i = 0;; ++i) {
            const T value = i == 0 ? lower : T(lower + T(i) * step);
            if (value > upper) break;
            result.push_back(value);
            if (value == upper) break;
        }
    }
    return result;
}

} // namespace ViewKit
