#pragma once

#include "graphics/CGSize.h"
#include "ui/Animation.h"
#include "ui/Edge.h"
#include "ui/Transaction.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

namespace detail {
struct ElementRef;
}

// How a view enters and leaves its container, applied with View::transition.
//
// A transition is a pair of ends: the active one describes the view while absent, the identity
// one the view at rest. A view inserted under an animated transaction starts at the active end
// of its insertion and animates to rest; a removed one animates from rest to the active end of
// its removal, still painting (as a removal ghost) until that animation ends. Without an
// animation the view comes and goes at once.
//
// The ends are built from modifiers whose values the animation engine interpolates, so both
// ends of one transition must have the same shape: the same modifiers, different values.
class AnyTransition {
public:
    // Where in its life the view is shown.
    enum class Phase {
        insertion, // the active end of an insertion
        identity,  // at rest
        removal,   // the active end of a removal
    };
    using Apply =
        std::function<View(View content, Phase phase, const std::weak_ptr<detail::ElementRef>& owner)>;

    // No change: the view comes and goes at once, even under an animation.
    static AnyTransition identity();
    // Fades in from transparent and out to it.
    static AnyTransition opacity();
    // Grows from nothing about the centre, and shrinks back.
    static AnyTransition scale();
    static AnyTransition scale(double scale, UnitPoint anchor = UnitPoint::center);
    // Comes in from, and goes back to, `offset` away from its place.
    static AnyTransition offset(graphics::CGSize offset);
    static AnyTransition offset(CGFloat x, CGFloat y) { return offset(graphics::CGSize{x, y}); }
    // Moves in from `edge` and out to it, by the view's own size.
    static AnyTransition move(Edge edge);
    // In from the leading edge, out to the trailing one.
    static AnyTransition slide();
    // In from `edge` while fading in; out to the opposite edge while fading out.
    static AnyTransition push(Edge edge);
    static AnyTransition asymmetric(AnyTransition insertion, AnyTransition removal);

    // A transition between two values of one custom modifier or geometry effect (include
    // ui/GeometryEffect.h for those). Each end is applied with its own fields; for an Animatable
    // modifier the presented data runs between the two ends' data (an insertion shows the
    // identity modifier with the data on its way, a removal the active one).
    template <class M>
    requires CustomModifier<M> || GeometryEffect<M>
    static AnyTransition modifier(M active, M identity) {
        return AnyTransition(
            [active = std::move(active), identity = std::move(identity)](
                View content, Phase phase, const std::weak_ptr<detail::ElementRef>&) {
                return phase == Phase::identity ? content.modifier(identity) : content.modifier(active);
            },
            false);
    }

    // Both transitions at once, this one inside `other`.
    AnyTransition combined(AnyTransition other) const;
    // Animates with `animation` (none: does not animate) whatever the transaction's animation,
    // unless the transaction disables animations. Only this transition's modifiers take it.
    AnyTransition animation(std::optional<Animation> animation) const;
    // This transition's modifiers (their animated data and their own views) update with the
    // transaction as `transform` edits it; the content keeps the one it received. Whether the
    // view animates in and out is still decided by the transaction before the edit.
    AnyTransition transaction(std::function<void(Transaction&)> transform) const;

    // The view at `phase`. `owner` is the element of the view the transition is applied to;
    // the content is updated with the transaction it received.
    View apply(View content, Phase phase, const std::weak_ptr<detail::ElementRef>& owner) const {
        return storage_->apply(std::move(content), phase, owner);
    }
    // Whether some part carries its own animation.
    bool hasAnimation() const { return storage_->hasAnimation; }

private:
    struct Storage {
        Apply apply;
        bool hasAnimation;
    };
    AnyTransition(Apply apply, bool hasAnimation)
        : storage_(std::make_shared<const Storage>(Storage{std::move(apply), hasAnimation})) {}

    std::shared_ptr<const Storage> storage_;
};

} // namespace ui
