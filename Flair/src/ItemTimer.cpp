#include "Flair/ItemTimer.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace Flair {

void ItemTimer::setPulsesRemaining(std::int64_t count) {
    const std::int64_t before = pulsesRemaining_;
    pulsesRemaining_ = count;
    if (before == 0 && count >= 1) fire(burstInterval);
}

void ItemTimer::addPulses(std::int64_t count) {
    if (count <= 0) return;
    const std::int64_t before = pulsesRemaining_;
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    setPulsesRemaining(before > largest - count ? largest : before + count);
}

void ItemTimer::fire(double interval) {
    if (pulsesRemaining_ < 1) return;
    items.modify([](std::vector<foundation::UUID>& list) { list.push_back(foundation::UUID()); });
    setPulsesRemaining(pulsesRemaining_ - 1);
    scheduleTimer(interval);
}

void ItemTimer::scheduleTimer(double interval) {
    auto next = foundation::Timer::scheduledTimer(interval, false,
                                                  [owner = weak_from_this(), interval](foundation::Timer&) {
                                                      if (auto self = owner.lock()) self->fire(interval);
                                                  });
    if (timer) timer->invalidate();
    timer = std::move(next);
}

void ItemTimer::remove(const foundation::UUID& id) {
    items.modify([&](std::vector<foundation::UUID>& list) { std::erase(list, id); });
}

} // namespace Flair
