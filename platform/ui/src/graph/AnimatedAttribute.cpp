#include "ui/AnimatedAttribute.h"

#include "ui/Element.h"
#include "ui/Graph.h"

namespace ui::detail {

double AttributeAnimation::now() const {
    return element_->graph().clock().now();
}

void AttributeAnimation::startFrames() {
    if (frames_.isActive()) return;
    frames_ = element_->graph().clock().onFrame([this](const Frame& frame) {
        if (!advance(frame.time)) stopFrames();
        presentedValueChanged();
    });
}

void AttributeAnimation::presentedValueChanged() {
    switch (effect_) {
    case AnimatedEffect::body: element_->invalidateForAnimationFrame(); break;
    case AnimatedEffect::layout: element_->invalidateLayout(); break;
    case AnimatedEffect::paint:
        element_->noteChange();
        element_->graph().requestLayout();
        break;
    }
}

} // namespace ui::detail
