#pragma once

#include "foundation/Date.h"
#include "ui/AnimationTimelineSchedule.h"
#include "ui/PeriodicTimelineSchedule.h"
#include "ui/TimelineSchedule.h"
#include "ui/View.h"

#include <functional>

namespace ui {

// Rebuilds its content at each entry of its schedule, from the frames of the graph's clock.
// It listens to the clock only while it is shown and its schedule has entries to come, so a
// paused timeline costs nothing per frame. Each entry updates the content with an empty
// transaction; an update from outside (its parent's body) rebuilds the content with the entry
// already shown. Lays out as its content.
class TimelineView : public View {
public:
    struct Context {
        // The entry's date: the frame's wall-clock date for the animation schedule, the entry
        // itself for a periodic one.
        foundation::Date date;
    };
    using Content = std::function<View(const Context&)>;

    TimelineView(AnyTimelineSchedule schedule, Content content);
};

} // namespace ui
