#pragma once

#include "reactive/AnyCancellable.h"
#include "reactive/AnyPublisher.h"
#include "reactive/Publisher.h"

#include "foundation/Date.h"
#include "foundation/RunLoop.h"

#include <memory>
#include <optional>

namespace reactive {

// The run-loop modes a timer can be scheduled in. Our run loop has no modes, so a timer fires
// in every one; `common` is what callers ask for to keep ticking while the user tracks menus.
enum class RunLoopMode { defaultMode, common };

// A connectable publisher of the current date, once per interval, from a repeating timer on
// the main run loop. Nothing ticks until connect(); each connection has its own timer. A cheap
// handle: copies refer to the same publisher.
class TimerPublisher : public PublisherOperators<TimerPublisher> {
public:
    using Output = foundation::Date;
    using Failure = Never;

    // The timer publisher of `Timer.publish(every:tolerance:on:in:)`. Only the main run loop
    // exists, so `runLoop` is always it.
    static TimerPublisher publish(foundation::TimeInterval interval, foundation::RunLoop& runLoop,
                                  RunLoopMode mode = RunLoopMode::common,
                                  std::optional<foundation::TimeInterval> tolerance = std::nullopt);

    TimerPublisher(foundation::TimeInterval interval, foundation::RunLoop& runLoop, RunLoopMode mode,
                   std::optional<foundation::TimeInterval> tolerance = std::nullopt);

    foundation::TimeInterval interval() const;
    std::optional<foundation::TimeInterval> tolerance() const;
    RunLoopMode mode() const;

    void receive(const SubscriberPtr<foundation::Date>& subscriber) const;

    // Starts the timer, unless connected already, and returns the connection: cancelling it,
    // or dropping its last copy, stops the timer. While connected the publisher stays alive.
    [[nodiscard]] AnyCancellable connect() const;

    // A publisher that connects when its first subscriber arrives and disconnects when the last
    // one has gone; a later subscriber connects anew.
    AnyPublisher<foundation::Date> autoconnect() const;

    bool operator==(const TimerPublisher& other) const { return impl_ == other.impl_; }

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

// The same as TimerPublisher::publish.
inline TimerPublisher timerPublish(foundation::TimeInterval interval, foundation::RunLoop& runLoop,
                                   RunLoopMode mode = RunLoopMode::common) {
    return TimerPublisher::publish(interval, runLoop, mode);
}

} // namespace reactive
