#pragma once

#include "ui/Animatable.h"

namespace Flair {

// Opt-in marker of animatable modifiers driven by a single progress value: specialise to true.
template <class T> inline constexpr bool enableProgressableAnimation = false;

template <class T>
concept ProgressableAnimation = ui::Animatable<T> && enableProgressableAnimation<T>;

} // namespace Flair
