#pragma once

#include "foundation/Timer.h"
#include "foundation/UUID.h"
#include "reactive/ObservableObject.h"
#include "reactive/Published.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Flair {

// The live pulses of a pulse emitter and the pulses still to start. Each start appends a fresh
// identifier to `items` and arms a one-shot timer for the next start `interval` seconds later;
// the chain ends at a timer that finds nothing left to start. Each timer holds this object only
// weakly, so once the emitter's view is gone its pending timer fires once and does nothing.
// Main thread only.
class ItemTimer : public reactive::ObservableObject, public std::enable_shared_from_this<ItemTimer> {
public:
    // Seconds between the starts of one burst.
    static constexpr double burstInterval = 0.2;

    reactive::Published<std::vector<foundation::UUID>> items{this, {}};
    // The last timer armed.
    std::shared_ptr<foundation::Timer> timer;

    std::int64_t pulsesRemaining() const { return pulsesRemaining_; }
    // A count that goes from 0 to 1 or more starts a pulse at once, and the chain after it.
    void setPulsesRemaining(std::int64_t count);
    // Adds `count` pulses (none for a negative count), stopping at the largest count.
    void addPulses(std::int64_t count);

    // Starts a pulse if one remains, and arms the timer for the next start.
    void fire(double interval);
    // Arms the timer for fire(interval), replacing (invalidating) the one armed before.
    void scheduleTimer(double interval);
    // Removes the pulse from `items`.
    void remove(const foundation::UUID& id);

private:
    reactive::Published<std::int64_t> pulsesRemaining_{this, 0};
};

} // namespace Flair
