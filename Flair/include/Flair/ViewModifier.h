#pragma once

#include "ui/GeometryEffect.h"
#include "ui/View.h"

#include <concepts>
#include <type_traits>

namespace Flair {

// What the library's effects apply to a view: a custom modifier or a geometry effect.
template <class T>
concept ViewModifier = ui::CustomModifier<T> || ui::GeometryEffect<T>;

namespace detail {
// A function making, from an `Arg`, a modifier that erases to `Result`.
template <class F, class Arg, class Result>
concept MakesModifier =
    std::invocable<const F&, Arg> && std::convertible_to<std::invoke_result_t<const F&, Arg>, Result>;
} // namespace detail

} // namespace Flair
