#pragma once

#include "foundation/Timer.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <cstdint>
#include <memory>

namespace Flair {

// The ticks of a repeating effect: a count that rises by one per tick and is never reset, and
// the one-shot timer waiting for the next tick. Each timer holds this object only weakly, so
// once the view that owns it is gone its pending timer fires once, does nothing, and the chain
// ends. Main thread only.
class RepeatingTimer : public reactive::ObservableObject,
                       public std::enable_shared_from_this<RepeatingTimer> {
public:
    reactive::Published<std::int64_t> count{this, 0};
    std::shared_ptr<foundation::Timer> timer;

    // Begins or restarts the chain: a tick now when `delay` is 0, otherwise after `delay`
    // seconds (a negative or not-a-number delay: at the next turn; an infinite one: never).
    void start(double interval, double delay);
    // Arms the timer for the next tick in `interval` seconds; an infinite interval arms none.
    void scheduleNext(double interval);
    // Stops the chain: the pending timer is invalidated and dropped.
    void stop();

private:
    void tick(double interval);
    std::shared_ptr<foundation::Timer> scheduleTick(double seconds, double interval);
    void replaceTimer(std::shared_ptr<foundation::Timer> next);
};

} // namespace Flair
