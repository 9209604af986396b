#pragma once

#include "ui/Animatable.h"
#include "ui/Animation.h"
#include "ui/Clock.h"
#include "ui/Transaction.h"

#include <cmath>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

class Element;

namespace detail {

struct AnimationCompletion;

// What a running attribute refreshes at each frame.
enum class AnimatedEffect {
    layout, // the element lays out and paints again (built-in attributes)
    body,   // the element's body runs again (custom Animatable modifiers), with no transaction
    paint,  // the tree is placed and painted again; what the element measured stays valid
};

// The element-side half of an animated attribute: frames from the graph's clock while it runs,
// and what each frame refreshes. The value arithmetic is in AnimatedAttribute.
class AttributeAnimation {
public:
    AttributeAnimation(Element& element, AnimatedEffect effect)
        : element_(&element)
        , effect_(effect) {}
    virtual ~AttributeAnimation() = default;
    AttributeAnimation(const AttributeAnimation&) = delete;
    AttributeAnimation& operator=(const AttributeAnimation&) = delete;

    bool isAnimating() const { return frames_.isActive(); }

protected:
    // The clock's time now.
    double now() const;
    void startFrames();
    void stopFrames() { frames_.cancel(); }
    // Shows the new presented value: lays out again or re-runs the body.
    void presentedValueChanged();
    // Moves the presented value to `time`; false once the animation is over.
    virtual bool advance(double time) = 0;

private:
    Element* element_;
    AnimatedEffect effect_;
    FrameSubscription frames_;
};

// A value of an element that animates between the values its description asks for.
//
// A node keeps one per attribute in its element (Element::animatedAttribute) and hands it each
// new target from its update with the element's transaction:
//   - with an animation (and animations not disabled) the presented value moves from where it
//     is now — mid-flight included, keeping its velocity — to the target over the graph's
//     clock, and lands exactly on it;
//   - otherwise the presented value becomes the target at once, stopping any run.
// Layout and painting read value(). While it runs, each frame refreshes the element.
template <VectorArithmetic V> class AnimatedAttribute final : public AttributeAnimation {
public:
    AnimatedAttribute(Element& element, V initial, AnimatedEffect effect = AnimatedEffect::layout)
        : AttributeAnimation(element, effect)
        , target_(initial)
        , presented_(std::move(initial)) {}

    const V& value() const { return presented_; }
    const V& target() const { return target_; }
    // The rate of change of the presented value, per second.
    V velocity() const { return velocity_; }

    void setTarget(const V& target, const Transaction& transaction) {
        if (target == target_) return;
        const double time = now();
        if (run_) advance(time);
        target_ = target;
        const auto* animation = transaction.disablesAnimations ? nullptr : transaction.animation.get();
        if (!animation || presented_ == target_) {
            jumpToTarget();
            return;
        }
        Run run{*animation, presented_ - target_, velocity_, time, 0, transaction.completion};
        run.velocity += scaled(run.offset, -animation->initialVelocityFraction());
        const double displacement = std::sqrt(magnitudeSquared(run.offset));
        const double speed = std::sqrt(magnitudeSquared(run.velocity));
        // A value that is not a number (to or from) has no path to animate along; a spring
        // would never settle on one.
        if (!std::isfinite(displacement) || !std::isfinite(speed)) {
            jumpToTarget();
            return;
        }
        run.runDuration = animation->runDuration(displacement, speed);
        // A motion of no length still waits out its delay.
        if (!(animation->duration(displacement, speed) > 0)) {
            jumpToTarget();
            return;
        }
        run_ = std::move(run);
        startFrames();
    }

    // Moves the target and the presented value together by `delta`, keeping any run as it is:
    // for a target that changed for a reason that must not animate.
    void shiftBy(const V& delta) {
        target_ += delta;
        presented_ += delta;
    }

protected:
    bool advance(double time) override {
        if (!run_) return false;
        const auto sample = run_->animation.sample(time - run_->start, run_->runDuration);
        if (sample.finished) {
            jumpToTarget();
            return false;
        }
        presented_ = target_ + scaled(run_->offset, sample.c1) + scaled(run_->velocity, sample.c2);
        velocity_ = scaled(run_->offset, sample.dc1) + scaled(run_->velocity, sample.dc2);
        return true;
    }

private:
    struct Run {
        Animation animation;
        V offset;   // start minus target
        V velocity; // at the start
        double start;
        double runDuration;
        std::shared_ptr<AnimationCompletion> completion; // released when the run ends
    };

    void jumpToTarget() {
        presented_ = target_;
        velocity_ = zeroVector<V>();
        run_.reset();
        stopFrames();
    }

    V target_;
    V presented_;
    V velocity_ = zeroVector<V>();
    std::optional<Run> run_;
};

} // namespace detail
} // namespace ui
