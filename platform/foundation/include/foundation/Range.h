#pragma once

#include "foundation/Fatal.h"

#include <concepts>
#include <cstddef>
#include <utility>

namespace foundation {

// The half-open interval [lowerBound, upperBound): empty when the bounds are equal.
template <std::totally_ordered B> class Range {
public:
    using Bound = B;

    // Bounds out of order are a programmer error.
    Range(Bound lower, Bound upper)
        : lower_(std::move(lower))
        , upper_(std::move(upper)) {
        if (!(lower_ <= upper_)) fatal("Range requires lowerBound <= upperBound");
    }
    // For callers that checked the order themselves.
    static Range uncheckedBounds(Bound lower, Bound upper) {
        return Range(Unchecked{}, std::move(lower), std::move(upper));
    }

    const Bound& lowerBound() const { return lower_; }
    const Bound& upperBound() const { return upper_; }
    bool isEmpty() const { return lower_ == upper_; }
    bool contains(const Bound& value) const { return lower_ <= value && value < upper_; }

    bool operator==(const Range&) const = default;

private:
    struct Unchecked {};
    Range(Unchecked, Bound lower, Bound upper)
        : lower_(std::move(lower))
        , upper_(std::move(upper)) {}

    Bound lower_;
    Bound upper_;
};

// The closed interval [lowerBound, upperBound]: never empty.
template <std::totally_ordered B> class ClosedRange {
public:
    using Bound = B;

    ClosedRange(Bound lower, Bound upper)
        : lower_(std::move(lower))
        , upper_(std::move(upper)) {
        if (!(lower_ <= upper_)) fatal("ClosedRange requires lowerBound <= upperBound");
    }
    static ClosedRange uncheckedBounds(Bound lower, Bound upper) {
        return ClosedRange(Unchecked{}, std::move(lower), std::move(upper));
    }

    const Bound& lowerBound() const { return lower_; }
    const Bound& upperBound() const { return upper_; }
    bool contains(const Bound& value) const { return lower_ <= value && value <= upper_; }

    bool operator==(const ClosedRange&) const = default;

private:
    struct Unchecked {};
    ClosedRange(Unchecked, Bound lower, Bound upper)
        : lower_(std::move(lower))
        , upper_(std::move(upper)) {}

    Bound lower_;
    Bound upper_;
};

} // namespace foundation
