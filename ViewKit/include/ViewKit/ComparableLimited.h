#pragma once

#include "foundation/Range.h"

namespace ViewKit {

// `value` held within `range`: its lower bound below it, its upper bound above it.
template <class T> T limited(const T& value, const foundation::ClosedRange<T>& range) {
    if (value < range.lowerBound()) return range.lowerBound();
    if (range.upperBound() < value) return range.upperBound();
    return value;
}

} // namespace ViewKit
