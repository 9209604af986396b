#include "ViewKit/DotLoadingAnimation.h"

#include "ViewKit/MainActor.h"
#include "foundation/RunLoop.h"
#include "reactive/TimerPublisher.h"
#include "ui/Text.h"
#include "ui/ViewContext.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ViewKit {

namespace {

// The running timer of one view identity, kept across new values of the view.
struct TickTimer {
    double interval = 0;
    std::optional<reactive::AnyPublisher<foundation::Date>> publisher;
};

} // namespace

DotLoadingAnimation::DotLoadingAnimation(int dotCount, double interval)
    : dotCount(std::max(dotCount, 0))
    , interval(interval) {}

std::string DotLoadingAnimation::dots(int currentDotCount) {
    return std::string(std::size_t(std::max(currentDotCount, 0)), '.');
}

int DotLoadingAnimation::nextDotCount(int currentDotCount) const {
    const int next = currentDotCount + 1;
    return next > dotCount ? 0 : next;
}

ui::View DotLoadingAnimation::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("DotLoadingAnimation");
    auto current = ctx.state<int>("currentDotCount", 0);
    ui::View shown(ui::Text::verbatim(dots(*current)));
    if (!std::isfinite(interval) || interval <= 0) return shown;

    auto timer = ctx.stateObject<TickTimer>("timer", [] { return std::make_shared<TickTimer>(); });
    if (!timer->publisher || timer->interval != interval) {
        timer->interval = interval;
        timer->publisher =
            reactive::TimerPublisher::publish(interval, foundation::RunLoop::main()).autoconnect();
    }
    return shown.onReceive(*timer->publisher, [self = *this, current](const foundation::Date&) {
        current.set(self.nextDotCount(*current));
    });
}

} // namespace ViewKit
