#pragma once

#include "Flair/TRS.h"
#include "Flair/Vector3.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Animatable.h"
#include "ui/UnitPoint.h"

namespace Flair {

// Draws a view through a TRS about a 3D anchor, in perspective: the anchor moves to the origin,
// the view is scaled, rotated, translated, put in perspective and moved back. Everything it
// holds animates together.
struct Transform3DEffect {
    // A point of the view as fractions of its size, raised by z points towards the viewer.
    struct Anchor3D {
        ui::UnitPoint xy;
        double z = 0;

        static Anchor3D zero() { return {}; }
        void scale(double by) {
            xy.x *= by;
            xy.y *= by;
            z *= by;
        }
        double magnitudeSquared() const { return xy.x * xy.x + xy.y * xy.y + z * z; }
        Anchor3D& operator+=(const Anchor3D& o) {
            xy = {xy.x + o.xy.x, xy.y + o.xy.y};
            z += o.z;
            return *this;
        }
        Anchor3D& operator-=(const Anchor3D& o) {
            xy = {xy.x - o.xy.x, xy.y - o.xy.y};
            z -= o.z;
            return *this;
        }
        friend Anchor3D operator+(Anchor3D a, const Anchor3D& b) { return a += b; }
        friend Anchor3D operator-(Anchor3D a, const Anchor3D& b) { return a -= b; }
        bool operator==(const Anchor3D&) const = default;
    };

    // The transform, then the anchor with the perspective amount.
    using AnimatableData = ui::AnimatablePair<TRS, ui::AnimatablePair<Anchor3D, double>>;

    AnimatableData animatableData;

    // A rotation by `angle` radians about `axis`, which is not normalised: an axis of length L
    // turns by 2·atan2(L·sin(angle/2), cos(angle/2)), the angle itself only for L = 1.
    // A positive perspective draws what is nearer (positive z) larger.
    Transform3DEffect(Vector3 translation, double angle, Vector3 axis, Vector3 scale, ui::UnitPoint anchor,
                      double anchorZ, double perspective);
    explicit Transform3DEffect(AnimatableData data)
        : animatableData(std::move(data)) {}

    const TRS& trs() const { return animatableData.first; }
    const Anchor3D& anchor() const { return animatableData.second.first; }
    double perspective() const { return animatableData.second.second; }

    // The projective transform for a view of `size`, z dropped.
    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const Transform3DEffect&) const = default;
};

using Anchor3D = Transform3DEffect::Anchor3D;

static_assert(ui::VectorArithmetic<Anchor3D>);
static_assert(ui::Animatable<Transform3DEffect>);

// How far a view turned by `trs` is brightened (negative: darkened) by `lightSource`, seen from
// its face towards the viewer: its normal, flipped to face the viewer, against the light, × 0.2.
double shadeBrightness(const TRS& trs, const Vector3& lightSource);

} // namespace Flair
