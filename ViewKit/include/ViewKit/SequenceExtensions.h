#pragma once

#include "foundation/Task.h"

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <functional>
#include <optional>
#include <ranges>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// Operations on sequences and collections.
namespace ViewKit {

namespace detail {
template <class T> struct TaskResult;
template <class U> struct TaskResult<foundation::Task<U>> { using type = U; };
template <class F, class R>
using AsyncTransformResult = typename TaskResult<
    std::remove_cvref_t<std::invoke_result_t<F&, std::ranges::range_reference_t<R>>>>::type;
template <class T> struct OptionalValue;
template <class U> struct OptionalValue<std::optional<U>> { using type = U; };
} // namespace detail

// Awaits `transform` (a callable returning foundation::Task<U>) for each element in turn and
// collects the results in sequence order. One element at a time: the next transform starts only
// after the previous one has ended, all inside the awaiting task. An exception from a transform
// ends the walk — no later transform is called — and reaches the awaiter; no partial result.
// The sequence and the transform are copied into the call, so they may be temporaries.
template <std::ranges::input_range R, class F>
foundation::Task<std::vector<detail::AsyncTransformResult<F, R>>> asyncMap(R sequence, F transform) {
    std::vector<detail::AsyncTransformResult<F, R>> results;
    for (auto&& element : sequence)
        results.push_back(co_await std::invoke(transform, element));
    co_return results;
}

// As asyncMap, with a transform giving foundation::Task<std::optional<U>>: absent results are
// left out, the others keep their order.
template <std::ranges::input_range R, class F>
foundation::Task<std::vector<typename detail::OptionalValue<detail::AsyncTransformResult<F, R>>::type>>
asyncCompactMap(R sequence, F transform) {
    std::vector<typename detail::OptionalValue<detail::AsyncTransformResult<F, R>>::type> results;
    for (auto&& element : sequence) {
        auto result = co_await std::invoke(transform, element);
        if (result) results.push_back(*std::move(result));
    }
    co_return results;
}

template <std::ranges::range C> bool hasContent(C&& collection) {
    return !std::ranges::empty(collection);
}

// Each distinct element once, where it first occurs. Needs only equality, so it compares each
// element with those kept so far.
template <std::ranges::input_range R>
requires std::equality_comparable<std::ranges::range_value_t<R>> std::vector<std::ranges::range_value_t<R>>
uniqued(R&& sequence) {
    std::vector<std::ranges::range_value_t<R>> kept;
    for (auto&& element : sequence)
        if (std::ranges::find(kept, element) == kept.end()) kept.push_back(element);
    return kept;
}

// Consecutive chunks of `size` elements, the last one possibly shorter. A size of zero or less
// is never reached, so every element lands in one chunk; an empty sequence gives no chunk.
template <std::ranges::input_range R>
std::vector<std::vector<std::ranges::range_value_t<R>>> chunked(R&& sequence, std::ptrdiff_t size) {
    std::vector<std::vector<std::ranges::range_value_t<R>>> chunks;
    std::vector<std::ranges::range_value_t<R>> chunk;
    for (auto&& element : sequence) {
        chunk.push_back(element);
        if (std::ptrdiff_t(chunk.size()) == size) chunks.push_back(std::exchange(chunk, {}));
    }
    if (!chunk.empty()) chunks.push_back(std::move(chunk));
    return chunks;
}

// The elements by the key `key` gives them; each group keeps the sequence's order.
template <std::ranges::input_range R, class F> auto grouped(R&& sequence, F key) {
    using Element = std::ranges::range_value_t<R>;
    using Key = std::remove_cvref_t<std::invoke_result_t<F&, const Element&>>;
    std::unordered_map<Key, std::vector<Element>> groups;
    for (auto&& element : sequence) {
        const Element& value = element;
        groups[std::invoke(key, value)].push_back(value);
    }
    return groups;
}

} // namespace ViewKit
