#include "Flair/AnimationPresets.h"

namespace Flair::Animation::Ostravelle {

ui::Animation windUp(double duration) {
    return ui::Animation::timingCurve(0.33, 0, 0.66, -0.55, duration);
}

ui::Animation overrun(double duration) {
    return ui::Animation::timingCurve(0.33, 1.55, 0.66, 1.0, duration);
}

ui::Animation windUpOverrun(double duration) {
    return ui::Animation::timingCurve(0.66, -0.55, 0.33, 1.6, duration);
}

ui::Animation steepEaseIn(double duration) {
    return ui::Animation::timingCurve(0.95, 0.05, 0.795, 0.035, duration);
}

ui::Animation steepEaseOut(double duration) {
    return ui::Animation::timingCurve(0.19, 1.0, 0.22, 1.0, duration);
}

ui::Animation steepEaseInOut(double duration) {
    return ui::Animation::timingCurve(1.0, 0, 0, 1.0, duration);
}

} // namespace Flair::Animation::Ostravelle
