#pragma once

#include "Flair/AnyChangeEffect.h"
#include "Flair/HighlightChangeModifier.h"

#include <concepts>
#include <functional>
#include <utility>

namespace Flair {

// Plays `effect` on the view each time `value` changes to a value `predicate` accepts:
//     view | Flair::changeEffect(effect, count, [](int) { return true; })
template <std::equality_comparable V, class Predicate>
requires std::copy_constructible<V> && std::predicate<const Predicate&, const V&> HighlightChangeModifier<V>
changeEffect(AnyChangeEffect effect, V value, Predicate predicate) {
    return {std::move(value), std::move(effect), std::function<bool(const V&)>(std::move(predicate))};
}

} // namespace Flair
