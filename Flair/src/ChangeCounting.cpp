#include "Flair/ChangeCounting.h"

#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"

#include <cmath>
#include <utility>

namespace Flair::detail {

namespace {
// The leeway a delayed step allows the main queue: about a frame.
constexpr double stepTolerance = 0.016;
} // namespace

void runAfterDelay(double delay, std::function<void()> step) {
    if (delay == 0) {
        step();
        return;
    }
    // The queue never runs a NaN deadline; a NaN delay acts as a negative one.
    const double seconds = std::isnan(delay) ? 0 : delay;
    foundation::DispatchQueue::main().asyncAfter(foundation::DispatchTime::now() + seconds, std::move(step),
                                                 stepTolerance);
}

void countChange(const ui::State<std::int64_t>& changeCount,
                 const ui::State<std::optional<double>>& lastUpdate, double cooldown) {
    const double now = foundation::Clock::current()->uptime();
    // A NaN cooldown would make every change fall within it.
    const double limit = std::isnan(cooldown) ? 0 : cooldown;
    if (*lastUpdate && !(now - **lastUpdate > limit)) return;
    lastUpdate.set(now);
    changeCount.set(nextCount(*changeCount));
}

} // namespace Flair::detail
