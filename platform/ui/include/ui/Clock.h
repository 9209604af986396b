#pragma once

#include "foundation/Date.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace ui {

// One frame as a clock delivers it.
struct Frame {
    // On the foundation clock's uptime, in seconds.
    double time = 0;
    // Since the previous frame; the clock's nominal frame length for the first frame after
    // nothing was listening (so a pause does not show up as one huge step).
    double interval = 0;
    // The wall-clock time of the frame, for timelines.
    foundation::Date date;
};

class Clock;

// Keeps a frame callback registered; dropping or cancelling it stops the calls. Safe to drop
// after its clock is gone, and from inside the callback.
class FrameSubscription {
public:
    FrameSubscription() = default;
    ~FrameSubscription() { cancel(); }
    FrameSubscription(FrameSubscription&& other) noexcept;
    FrameSubscription& operator=(FrameSubscription&& other) noexcept;
    FrameSubscription(const FrameSubscription&) = delete;
    FrameSubscription& operator=(const FrameSubscription&) = delete;

    void cancel();
    bool isActive() const;

private:
    friend class Clock;
    struct Callbacks;
    FrameSubscription(std::weak_ptr<Callbacks> callbacks, std::uint64_t id)
        : callbacks_(std::move(callbacks))
        , id_(id) {}
    std::weak_ptr<Callbacks> callbacks_;
    std::uint64_t id_ = 0;
};

// The time source of a hosted view's frames: animations and timelines subscribe while they
// run. A window's clock ticks at the display rate; a test's clock is stepped by hand. Main
// thread only. A clock runs only while something is subscribed.
class Clock {
public:
    using FrameCallback = std::function<void(const Frame&)>;

    Clock();
    virtual ~Clock();
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // Calls `callback` at every frame from the next one on, in subscription order, with an
    // empty transaction (a frame causes no animation of its own).
    [[nodiscard]] FrameSubscription onFrame(FrameCallback callback);
    bool hasSubscribers() const;

    // Uptime and wall-clock time now, from the foundation clock (manual in tests).
    double now() const;
    foundation::Date date() const;
    // The length of one frame at the clock's rate.
    virtual double frameInterval() const = 0;
    const std::optional<Frame>& lastFrame() const { return lastFrame_; }

protected:
    // Runs every callback subscribed when the frame starts and still subscribed when its turn
    // comes.
    void deliverFrame();
    // Told when the first subscriber comes and when the last one goes.
    virtual void runningChanged(bool /*running*/) {}

private:
    friend struct FrameSubscription::Callbacks;
    std::shared_ptr<FrameSubscription::Callbacks> callbacks_;
    std::optional<Frame> lastFrame_;
};

// A clock that moves only when stepped: for tests, with the foundation's manual clock
// installed.
class ManualClock final : public Clock {
public:
    explicit ManualClock(double frameInterval = 1.0 / 60)
        : frameInterval_(frameInterval) {}

    double frameInterval() const override { return frameInterval_; }
    // Moves virtual time on by `seconds` (running the main run loop's timers due on the way),
    // then delivers one frame.
    void advance(double seconds);
    // Delivers a frame at the present time.
    void tick() { deliverFrame(); }

private:
    double frameInterval_;
};

} // namespace ui
