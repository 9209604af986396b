#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/EventModifiers.h"

#include <QPointF>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace ui {

using graphics::CGFloat;

// Which gestures stay active where a gesture is attached: its own, those of the views inside.
struct GestureMask {
    std::uint8_t rawValue = 3;

    static const GestureMask none, gesture, subviews, all;
    constexpr bool contains(GestureMask other) const { return (rawValue & other.rawValue) == other.rawValue; }
    constexpr bool operator==(const GestureMask&) const = default;
};

inline constexpr GestureMask GestureMask::none{0};
inline constexpr GestureMask GestureMask::gesture{1};
inline constexpr GestureMask GestureMask::subviews{2};
inline constexpr GestureMask GestureMask::all{3};

enum class CoordinateSpace { local, global };

namespace detail {

// One pointer event as a gesture sees it: in the gesture's coordinate space.
struct GestureSample {
    QPointF location;
    double time = 0; // uptime seconds
    int clickCount = 1;
    EventModifiers modifiers;
    graphics::CGSize size; // of the view the gesture is attached to
};

// The pointer sequence's view of one attached gesture. Recognisers only say what they want;
// the pointer's arena decides who wins and then lets them act.
class GestureRecognizer {
public:
    enum class Wish { none, fail, begin, change, recognize };
    virtual ~GestureRecognizer() = default;
    virtual Wish down(const GestureSample& sample) = 0;
    virtual Wish moved(const GestureSample& sample) = 0;
    virtual Wish up(const GestureSample& sample) = 0;
    // Seconds after the press at which `timerFired` should be asked, if any.
    virtual std::optional<double> timeout() const { return std::nullopt; }
    virtual Wish timerFired() { return Wish::none; }
    // Runs the gesture's callbacks for a granted wish (begin, change or recognize).
    virtual void perform(Wish wish) = 0;
    // The sequence started, or left this gesture (done, failed or cancelled).
    virtual void started() {}
    virtual void finished() {}
};

} // namespace detail

// A gesture description, attached with View::gesture or View::simultaneousGesture.
class Gesture {
public:
    virtual ~Gesture() = default;
    virtual std::shared_ptr<const Gesture> clone() const = 0;
    // The recogniser reads the gesture's callbacks through `current` at each step, so a view that
    // re-evaluates during a gesture has its new callbacks called.
    virtual std::unique_ptr<detail::GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const = 0;
};

// Recognised when the pointer is released where it went down, on every `count`-th click of a
// series.
class TapGesture final : public Gesture {
public:
    explicit TapGesture(int count = 1)
        : count_(count < 1 ? 1 : count) {}
    TapGesture onEnded(std::function<void()> action) const;

    int count() const { return count_; }
    const std::function<void()>& ended() const { return ended_; }
    std::shared_ptr<const Gesture> clone() const override { return std::make_shared<TapGesture>(*this); }
    std::unique_ptr<detail::GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const override;

    // How far the pointer may wander before a press is no longer a tap.
    static constexpr CGFloat maximumDistance = 10;

private:
    int count_;
    std::function<void()> ended_;
};

// Recognised once the pointer has been held for `minimumDuration` without moving further than
// `maximumDistance`; `onChanged` tells whether a press is under way.
class LongPressGesture final : public Gesture {
public:
    explicit LongPressGesture(double minimumDuration = 0.5, CGFloat maximumDistance = 10)
        : minimumDuration_(minimumDuration)
        , maximumDistance_(maximumDistance) {}
    LongPressGesture onEnded(std::function<void()> action) const;
    LongPressGesture onChanged(std::function<void(bool)> pressing) const;

    double minimumDuration() const { return minimumDuration_; }
    CGFloat maximumDistance() const { return maximumDistance_; }
    const std::function<void()>& ended() const { return ended_; }
    const std::function<void(bool)>& changed() const { return changed_; }
    std::shared_ptr<const Gesture> clone() const override {
        return std::make_shared<LongPressGesture>(*this);
    }
    std::unique_ptr<detail::GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const override;

private:
    double minimumDuration_;
    CGFloat maximumDistance_;
    std::function<void()> ended_;
    std::function<void(bool)> changed_;
};

// Begins once the pointer has moved `minimumDistance` from where it went down; reports every
// move after that and the release.
class DragGesture final : public Gesture {
public:
    struct Value {
        graphics::CGPoint startLocation;
        graphics::CGPoint location;
        graphics::CGSize translation; // location minus start location; y grows downward
        double time = 0;              // uptime seconds of the event
    };

    explicit DragGesture(CGFloat minimumDistance = 10,
                         CoordinateSpace coordinateSpace = CoordinateSpace::local)
        : minimumDistance_(minimumDistance)
        , coordinateSpace_(coordinateSpace) {}
    DragGesture onChanged(std::function<void(const Value&)> action) const;
    DragGesture onEnded(std::function<void(const Value&)> action) const;
    // A drag that began and then ended without a release (Escape, the window losing the
    // pointer): what onChanged set up is to be undone.
    DragGesture onCancelled(std::function<void()> action) const;

    CGFloat minimumDistance() const { return minimumDistance_; }
    CoordinateSpace coordinateSpace() const { return coordinateSpace_; }
    const std::function<void(const Value&)>& changed() const { return changed_; }
    const std::function<void(const Value&)>& ended() const { return ended_; }
    const std::function<void()>& cancelled() const { return cancelled_; }
    std::shared_ptr<const Gesture> clone() const override { return std::make_shared<DragGesture>(*this); }
    std::unique_ptr<detail::GestureRecognizer>
    makeRecognizer(std::function<std::shared_ptr<const Gesture>()> current) const override;

private:
    CGFloat minimumDistance_;
    CoordinateSpace coordinateSpace_;
    std::function<void(const Value&)> changed_;
    std::function<void(const Value&)> ended_;
    std::function<void()> cancelled_;
};

} // namespace ui
