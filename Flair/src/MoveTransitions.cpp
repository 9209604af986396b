#include "Flair/MoveTransitions.h"

#include "Flair/Move.h"
#include "Flair/Scaled.h"
#include "Flair/ShadedTransform3DEffect.h"
#include "Flair/Skid.h"
#include "Flair/Transform3DEffect.h"

#include "TransitionSupport.h"

#include <cmath>
#include <numbers>

namespace Flair::AnyTransition::Ostravelle {

namespace {

ui::AnyTransition moveFrom(graphics::CGPoint translation) {
    Move away;
    away.animatableData.translation = {translation.x, translation.y, 0};
    return ui::AnyTransition::modifier(Scaled<Move>{away}, Scaled<Move>{Move{}});
}

const Vector3 lightFromAbove{0, -1, 0};

// The view turned by the quaternion (axis × s, c) at the anchor, and at rest, both shaded.
ui::AnyTransition turned(double s, double c, Vector3 axis, ui::UnitPoint anchor, double anchorZ,
                         double perspective) {
    using Data = Transform3DEffect::AnimatableData;
    const Data active{TRS{{0, 0, 0}, {axis.x * s, axis.y * s, axis.z * s, c}, {1, 1, 1}},
                      {Anchor3D{anchor, anchorZ}, perspective}};
    const Data rest{TRS{{0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1}}, {Anchor3D{anchor, anchorZ}, perspective}};
    return ui::AnyTransition::modifier(ShadedTransform3DEffect(Transform3DEffect(active), lightFromAbove),
                                       ShadedTransform3DEffect(Transform3DEffect(rest), lightFromAbove));
}

graphics::Quaternion about(Vector3 axis, double degrees) {
    const double half = degrees * std::numbers::pi / 360;
    const double s = std::sin(half);
    return {axis.x * s, axis.y * s, axis.z * s, std::cos(half)};
}

} // namespace

ui::AnyTransition move(ui::Edge edge) {
    return moveFrom(Move::translation(edge));
}

ui::AnyTransition move(double angle) {
    return moveFrom(Move::translation(angle));
}

ui::AnyTransition skid() {
    return skid(SkidDirection::leading);
}

ui::AnyTransition skid(SkidDirection direction) {
    return ui::AnyTransition::modifier(Scaled<Skid>{Skid{direction, 0}}, Scaled<Skid>{Skid{direction, 1}});
}

ui::AnyTransition flip() {
    // sin and cos of π/4, as the nearest doubles
    return turned(0.7071067811865475, 0.7071067811865476, {1, 0, 0}, ui::UnitPoint::center, 0, 1.0 / 6);
}

ui::AnyTransition rotate3D(double angle, Vector3 axis, ui::UnitPoint anchor, double anchorZ,
                           double perspective) {
    return turned(std::sin(angle / 2), std::cos(angle / 2), axis, anchor, anchorZ, perspective);
}

ui::AnyTransition fling() {
    const graphics::Quaternion rotation = about({1, 0, 0}, -85) * about({0, 1, 0}, 45) * about({0, 0, 1}, 10);
    const Transform3DEffect away(Transform3DEffect::AnimatableData{
        TRS{{-100, -50, -2500}, rotation, {1, 1, 1}}, {Anchor3D{ui::UnitPoint::top, -20}, 0.16}});
    const Transform3DEffect rest(Transform3DEffect::AnimatableData{
        TRS{{0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1}}, {Anchor3D{ui::UnitPoint::center, 0}, 0.16}});
    return ui::AnyTransition::modifier(away, rest);
}

} // namespace Flair::AnyTransition::Ostravelle
