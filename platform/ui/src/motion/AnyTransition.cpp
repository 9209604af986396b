#include "ui/AnyTransition.h"

#include "TransitionEffects.h"
#include "ui/TransactionModifier.h"

namespace ui {

namespace {

using Phase = AnyTransition::Phase;

Edge opposite(Edge edge) {
    switch (edge) {
    case Edge::top:
        return Edge::bottom;
    case Edge::leading:
        return Edge::trailing;
    case Edge::bottom:
        return Edge::top;
    case Edge::trailing:
        return Edge::leading;
    }
    return edge;
}

} // namespace

AnyTransition AnyTransition::identity() {
    return AnyTransition(
        [](View content, Phase, const std::weak_ptr<detail::ElementRef>&) { return content; }, false);
}

AnyTransition AnyTransition::opacity() {
    return AnyTransition(
        [](View content, Phase phase, const std::weak_ptr<detail::ElementRef>&) {
            return content.opacity(phase == Phase::identity ? 1 : 0);
        },
        false);
}

AnyTransition AnyTransition::scale() {
    return scale(0);
}

AnyTransition AnyTransition::scale(double scale, UnitPoint anchor) {
    return AnyTransition(
        [scale, anchor](View content, Phase phase, const std::weak_ptr<detail::ElementRef>&) {
            return detail::scaledPainting(std::move(content), phase == Phase::identity ? 1 : scale, anchor);
        },
        false);
}

AnyTransition AnyTransition::offset(graphics::CGSize offset) {
    return AnyTransition(
        [offset](View content, Phase phase, const std::weak_ptr<detail::ElementRef>&) {
            return phase == Phase::identity ? content.offset(0, 0) : content.offset(offset);
        },
        false);
}

AnyTransition AnyTransition::move(Edge edge) {
    return AnyTransition(
        [edge](View content, Phase phase, const std::weak_ptr<detail::ElementRef>&) {
            CGFloat x = 0, y = 0;
            if (phase != Phase::identity) {
                switch (edge) {
                case Edge::top:
                    y = -1;
                    break;
                case Edge::leading:
                    x = -1;
                    break;
                case Edge::bottom:
                    y = 1;
                    break;
                case Edge::trailing:
                    x = 1;
                    break;
                }
            }
            return detail::relativeOffset(std::move(content), x, y);
        },
        false);
}

AnyTransition AnyTransition::slide() {
    return asymmetric(move(Edge::leading), move(Edge::trailing));
}

AnyTransition AnyTransition::push(Edge edge) {
    return asymmetric(move(edge).combined(opacity()), move(opposite(edge)).combined(opacity()));
}

AnyTransition AnyTransition::asymmetric(AnyTransition insertion, AnyTransition removal) {
    // Both are always applied, each at rest outside its own phase, so the view keeps one shape
    // from its insertion to its removal and its content keeps its state.
    const bool animated = insertion.hasAnimation() || removal.hasAnimation();
    return AnyTransition(
        [insertion = std::move(insertion), removal = std::move(removal)](
            View content, Phase phase, const std::weak_ptr<detail::ElementRef>& owner) {
            View inserted = insertion.apply(
                std::move(content), phase == Phase::insertion ? Phase::insertion : Phase::identity, owner);
            return removal.apply(std::move(inserted),
                                 phase == Phase::removal ? Phase::removal : Phase::identity, owner);
        },
        animated);
}

AnyTransition AnyTransition::combined(AnyTransition other) const {
    const bool animated = hasAnimation() || other.hasAnimation();
    return AnyTransition(
        [self = *this, other = std::move(other)](View content, Phase phase,
                                                 const std::weak_ptr<detail::ElementRef>& owner) {
            return other.apply(self.apply(std::move(content), phase, owner), phase, owner);
        },
        animated);
}

AnyTransition AnyTransition::animation(std::optional<Animation> animation) const {
    const bool animated = animation.has_value() || hasAnimation();
    return AnyTransition(transaction(detail::animationTransform(std::move(animation))).storage_->apply,
                         animated);
}

AnyTransition AnyTransition::transaction(std::function<void(Transaction&)> transform) const {
    return AnyTransition(
        [self = *this, transform = std::move(transform)](View content, Phase phase,
                                                         const std::weak_ptr<detail::ElementRef>& owner) {
            // The content keeps the transaction the view received; only these modifiers take
            // the edited one.
            View own = self.apply(detail::modifierContent(std::move(content), owner), phase, owner);
            return detail::transactionScope(std::move(own), transform);
        },
        hasAnimation());
}

} // namespace ui
