#pragma once

#include "ui/Animation.h"

// The library's timing curves, each 0.35 s long unless given a duration.
namespace Flair::Animation::Ostravelle {

inline constexpr double presetDuration = 0.35;

// Moves backwards before it starts.
ui::Animation windUp(double duration = presetDuration);
// Passes the end and comes back.
ui::Animation overrun(double duration = presetDuration);
// Both.
ui::Animation windUpOverrun(double duration = presetDuration);
// Slow start, abrupt end.
ui::Animation steepEaseIn(double duration = presetDuration);
// Abrupt start, slow end.
ui::Animation steepEaseOut(double duration = presetDuration);
// Slow at both ends.
ui::Animation steepEaseInOut(double duration = presetDuration);

} // namespace Flair::Animation::Ostravelle
