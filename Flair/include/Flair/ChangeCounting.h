#pragma once

#include "ui/State.h"

#include <cstdint>
#include <functional>
#include <optional>

// The counting behind change effects and repeating effects.
namespace Flair::detail {

// The count after `count`: one more, wrapping at the largest value instead of overflowing.
// Effects only look for a change of the count.
constexpr std::int64_t nextCount(std::int64_t count) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(count) + 1);
}

// Runs `step` at once when `delay` is 0; otherwise on the main queue `delay` seconds from now.
// A negative or not-a-number delay runs it at the next turn of the main run loop, an infinite
// one never.
void runAfterDelay(double delay, std::function<void()> step);

// Counts a change unless the last counted one was no more than `cooldown` seconds ago (a
// cooldown that is not a number counts as 0). Times are monotonic uptime, so setting the wall
// clock back suppresses nothing; `lastUpdate` stays empty until the first counted change.
void countChange(const ui::State<std::int64_t>& changeCount,
                 const ui::State<std::optional<double>>& lastUpdate, double cooldown);

} // namespace Flair::detail
