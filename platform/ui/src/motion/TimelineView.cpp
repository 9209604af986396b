#include "ui/TimelineView.h"

#include "ui/Clock.h"
#include "ui/Element.h"
#include "ui/Graph.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace ui {

namespace {

struct TimelineState {
    std::optional<AnyTimelineSchedule> schedule;
    foundation::Date shown;
    bool started = false;
    FrameSubscription subscription;
    const Clock* clock = nullptr; // the one subscribed to
};

std::shared_ptr<TimelineState> timelineState(Element& element) {
    return element.slot<TimelineState>("\x01timeline", [] { return std::make_shared<TimelineState>(); });
}

// Moves the timeline on to the entry due at `frame`, if one is.
void tick(Element& element, TimelineState& state, const Frame& frame) {
    // The wall clock was set back: what is in effect now is an earlier entry. Waiting for the
    // shown one to come round again would freeze the timeline for as long as the clock went back.
    if (frame.date < state.shown) {
        const auto entry = state.schedule->entryAt(frame.date);
        if (!(entry < state.shown)) return;
        state.shown = entry;
        element.invalidate(Transaction());
        return;
    }
    const auto next = state.schedule->nextEntry(state.shown);
    if (!next) {
        state.subscription.cancel();
        return;
    }
    // A display timer rounds its period, so a frame a little short of the entry still shows
    // it rather than leaving it to the frame after.
    const double slack = std::min(element.graph().clock().frameInterval() / 4, (*next - state.shown) / 2);
    if (!(frame.date > state.shown) || frame.date + slack < *next) return;
    state.shown = std::max(*next, state.schedule->entryAt(frame.date));
    element.invalidate(Transaction());
}

// Listens to the clock exactly while the timeline is shown and has entries to come.
void follow(Element& element, const std::shared_ptr<TimelineState>& state) {
    const bool wanted = element.isVisible() && state->schedule && state->schedule->nextEntry(state->shown);
    Clock& clock = element.graph().clock();
    if (!wanted || state->clock != &clock) {
        state->subscription.cancel();
        state->clock = nullptr;
    }
    if (!wanted || state->subscription.isActive()) return;
    state->clock = &clock;
    state->subscription =
        clock.onFrame([ref = element.reference(), weak = std::weak_ptr(state)](const Frame& frame) {
            auto state = weak.lock();
            auto r = ref.lock();
            if (!state || !r || !r->element) return;
            tick(*r->element, *state, frame);
        });
}

class TimelineViewNode final : public ViewNode {
public:
    TimelineViewNode(AnyTimelineSchedule schedule, TimelineView::Content content)
        : schedule_(std::move(schedule))
        , content_(std::move(content)) {}
    std::string_view typeName() const override { return "TimelineView"; }
    bool isTransparent() const override { return true; }

    void update(Element& element) const override {
        auto state = timelineState(element);
        state->schedule = schedule_;
        if (!state->started) {
            state->started = true;
            state->shown = schedule_.entryAt(element.graph().clock().date());
        }
        follow(element, state);
        element.reconcile(
            {ChildSpec{content_ ? content_(TimelineView::Context{state->shown}) : View(), {}, {}}});
    }
    void visibilityChanged(Element& element, bool visible) const override {
        auto state = timelineState(element);
        if (visible)
            follow(element, state);
        else
            state->subscription.cancel();
    }

private:
    AnyTimelineSchedule schedule_;
    TimelineView::Content content_;
};

} // namespace

TimelineView::TimelineView(AnyTimelineSchedule schedule, Content content)
    : View(std::make_shared<TimelineViewNode>(std::move(schedule), std::move(content))) {}

} // namespace ui
