#include "ViewKit/FlipView.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/SwipeGestureViewModifier.h"

#include "ui/AccessibilityTraits.h"
#include "ui/Angle.h"
#include "ui/AnyTransition.h"
#include "ui/Stack.h"
#include "ui/Transaction.h"
#include "ui/ViewConditional.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace ViewKit {

namespace {

ui::RotationAxis axisFor(FlipDirection tapDirection) {
    const bool vertical = tapDirection == FlipDirection::up || tapDirection == FlipDirection::down;
    return vertical ? ui::RotationAxis{1, 0, 0} : ui::RotationAxis{0, 1, 0};
}

ui::View rotated(const ui::View& view, double degrees, FlipDirection tapDirection) {
    return view.rotation3DEffect(ui::Angle::degrees(degrees), axisFor(tapDirection), ui::UnitPoint::center, 0, 1);
}

// The card's content: the face, its gestures and its own rotation. Its rotation is state of
// its own element, apart from the card's, so each of the two writes of a turn animates with its
// own transaction.
struct FlipCardContent {
    FlipView card;
    ui::State<double> cardRotation;

    ui::View body(ui::ViewContext& ctx) const {
        detail::requireMainActor("FlipView");
        auto contentRotation = ctx.state<double>("contentRotation", 0.0);
        const auto flip = [card = card, cardRotation = cardRotation, contentRotation](FlipDirection direction) {
            detail::requireMainActor("FlipView");
            const double angle = direction == FlipDirection::right || direction == FlipDirection::up ? 180 : -180;
            const double duration = std::isnan(card.flipDuration) ? 0 : std::max(0.0, card.flipDuration);
            ui::withAnimation(ui::Animation::linear(duration),
                              [&] { cardRotation.set(cardRotation.value() + angle); });
            ui::withAnimation(ui::Animation::linear(0.001).delay(duration * 0.5), [&] {
                contentRotation.set(contentRotation.value() + angle);
                card.isFlipped.set(!card.isFlipped.get());
            });
        };
        const auto swipe = [card = card, flip](FlipDirection direction) {
            return [card, flip, direction] {
                const auto& allowed = card.swipeDirections;
                if (std::find(allowed.begin(), allowed.end(), direction) != allowed.end()) flip(direction);
            };
        };
        const auto fade = ui::AnyTransition::opacity();
        ui::View face = ui::ConditionalContent(card.isFlipped.get(), card.back.transition(fade),
                                               card.front.transition(fade));
        ui::View gestures = ui::ZStack(ui::Alignment::center, {face})
                                .onTapGesture(1, [flip, direction = card.tapDirection] { flip(direction); }) |
                            onSwipeGesture(1.0, 10, 100000, std::make_shared<GestureTimer>(), swipe(FlipDirection::up),
                                           swipe(FlipDirection::left), swipe(FlipDirection::right),
                                           swipe(FlipDirection::down));
        return rotated(gestures, contentRotation.value(), card.tapDirection);
    }
};

} // namespace

FlipView::FlipView(ui::View front, ui::View back, ui::Binding<bool> isFlipped, double flipDuration,
                   FlipDirection tapDirection, std::vector<FlipDirection> swipeDirections)
    : isFlipped(std::move(isFlipped))
    , front(std::move(front))
    , back(std::move(back))
    , flipDuration(flipDuration)
    , swipeDirections(std::move(swipeDirections))
    , tapDirection(tapDirection) {}

ui::View FlipView::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("FlipView");
    auto cardRotation = ctx.state<double>("cardRotation", 0.0);
    return rotated(ui::View(FlipCardContent{*this, cardRotation}), cardRotation.value(), tapDirection)
        .accessibilityAddTraits(ui::AccessibilityTraits::isButton);
}

} // namespace ViewKit
