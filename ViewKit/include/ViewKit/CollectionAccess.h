#pragma once

#include "foundation/Range.h"

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <iterator>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>

// Access by position to the elements of a bidirectional collection, and to the characters
// (grapheme clusters) of text. Positions count from 0. Ranges past the end are cut to it:
// slice("abc", ClosedRange(1, 5)) is "bc", and a range wholly past the end is empty.
namespace ViewKit {

// The ranges open at one end: a..., ...b and ..<b.
template <class B> struct PartialRangeFrom { B lowerBound; };
template <class B> struct PartialRangeThrough { B upperBound; };
template <class B> struct PartialRangeUpTo { B upperBound; };

namespace detail {

// Text counts characters, so its overloads below take it rather than the byte ranges.
template <class R>
concept PositionedCollection =
    std::ranges::bidirectional_range<R> && !std::convertible_to<const R&, std::string_view>;

// Element positions [begin, end) of a range within a collection of `count` elements.
struct Span {
    std::size_t begin;
    std::size_t end;
};

inline Span spanOf(const foundation::Range<std::size_t>& range, std::size_t count) {
    return {std::min(range.lowerBound(), count), std::min(range.upperBound(), count)};
}
inline Span spanOf(const foundation::ClosedRange<std::size_t>& range, std::size_t count) {
    const std::size_t end = range.upperBound() >= count ? count : range.upperBound() + 1;
    return {std::min(range.lowerBound(), count), end};
}
inline Span spanOf(const PartialRangeFrom<std::size_t>& range, std::size_t count) {
    return {std::min(range.lowerBound, count), count};
}
inline Span spanOf(const PartialRangeThrough<std::size_t>& range, std::size_t count) {
    return {0, range.upperBound >= count ? count : range.upperBound + 1};
}
inline Span spanOf(const PartialRangeUpTo<std::size_t>& range, std::size_t count) {
    return {0, std::min(range.upperBound, count)};
}

template <class Range>
concept PositionRange = requires(const Range& range, std::size_t count) {
    { spanOf(range, count) } -> std::same_as<Span>;
};

std::string textSlice(std::string_view text, std::size_t begin, std::size_t end);
std::size_t characterCount(std::string_view text);

} // namespace detail

// The element at `position`, or nothing when the position is not below the count.
template <detail::PositionedCollection R>
std::optional<std::ranges::range_value_t<R>> element(R&& collection, std::size_t position) {
    auto it = std::ranges::begin(collection);
    const auto end = std::ranges::end(collection);
    for (std::size_t i = 0; i < position; ++i) {
        if (it == end) return std::nullopt;
        ++it;
    }
    if (it == end) return std::nullopt;
    return *it;
}

// The elements within `range` (a foundation::Range or ClosedRange of positions, or a partial
// range), as a view of the collection.
template <detail::PositionedCollection R, detail::PositionRange Range>
requires std::ranges::borrowed_range<R> std::ranges::subrange<std::ranges::iterator_t<R>>
slice(R&& collection, const Range& range) {
    const auto count = std::size_t(std::ranges::distance(collection));
    const auto [begin, end] = detail::spanOf(range, count);
    const auto first = std::ranges::next(std::ranges::begin(collection), std::ptrdiff_t(begin));
    return {first, std::ranges::next(first, std::ptrdiff_t(end - begin))};
}

// The character at `position` of text, or nothing when the position is not below the count.
std::optional<std::string> element(std::string_view text, std::size_t position);

template <detail::PositionRange Range> std::string slice(std::string_view text, const Range& range) {
    const auto [begin, end] = detail::spanOf(range, detail::characterCount(text));
    return detail::textSlice(text, begin, end);
}

} // namespace ViewKit
