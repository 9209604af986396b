#include "SimulationTimeline.h"

#include "Flair/FrameInterval.h"
#include "foundation/Date.h"
#include "ui/AnimationTimelineSchedule.h"
#include "ui/TimelineView.h"
#include "ui/Transaction.h"

#include <optional>
#include <utility>

namespace Flair::detail {

ui::View simulationTimeline(ui::View content, bool isRunning, std::int64_t impulseCount,
                            std::function<void(double dt)> step, std::function<void()> impulse) {
    ui::TimelineView timeline(
        ui::AnimationTimelineSchedule{std::nullopt, !isRunning},
        [content = std::move(content), step = std::move(step)](const ui::TimelineView::Context& context) {
            // The action kept from the previous frame knows that frame's date.
            return content.onChange(
                context.date, [step, previous = context.date](const foundation::Date& date) {
                    ui::withAnimation(std::nullopt, [&] { step(frameInterval(date, previous)); });
                });
        });
    return ui::View(std::move(timeline)).onChange(impulseCount, [impulse = std::move(impulse)](std::int64_t) {
        ui::withAnimation(std::nullopt, [&] { impulse(); });
    });
}

} // namespace Flair::detail
