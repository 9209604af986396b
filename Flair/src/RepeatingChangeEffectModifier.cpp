#include "Flair/RepeatingChangeEffectModifier.h"

#include "Flair/RepeatingTimer.h"
#include "ui/TransactionModifier.h"

#include <memory>

namespace Flair {

namespace {
// What restarts or stops the chain; compared as one value, so that enabling and a new interval
// in the same update start it once, with the new interval.
struct Schedule {
    bool isEnabled = false;
    double interval = 0;
    bool operator==(const Schedule&) const = default;
};
} // namespace

ui::View RepeatingChangeEffectModifier::body(ui::ViewContext& ctx, ui::View content) const {
    const auto timer =
        ctx.stateObject<RepeatingTimer>("timer", [] { return std::make_shared<RepeatingTimer>(); });
    const std::weak_ptr<RepeatingTimer> owner = timer;
    const double delay = effect.delay();
    const Schedule schedule{isEnabled, interval};

    ui::View shown = content.modifier(ui::animation(effect.modifier()(timer->count), effect.animation()));
    return shown
        .onAppear([owner, schedule, delay] {
            auto timer = owner.lock();
            if (timer && schedule.isEnabled) timer->start(schedule.interval, delay);
        })
        .onChange(schedule, false, [owner, delay](const Schedule& old, const Schedule& now) {
            auto timer = owner.lock();
            if (!timer) return;
            if (!now.isEnabled)
                timer->stop();
            else if (!old.isEnabled || old.interval != now.interval)
                timer->start(now.interval, delay);
        });
}

} // namespace Flair
