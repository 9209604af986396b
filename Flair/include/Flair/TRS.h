#pragma once

#include "Flair/Vector3.h"
#include "graphics/Matrix4x4.h"
#include "graphics/Quaternion.h"
#include "ui/Animatable.h"

namespace Flair {

// Translation, rotation and scale of a view in 3D, animated as ten plain numbers: the rotation
// blends component by component and is normalised only when the matrix is built, where the
// all-zero quaternion means no rotation. Translation is in points, z towards the viewer.
// A default TRS is the zero of that arithmetic (scale 0); views start from `identity`.
struct TRS {
    Vector3 translation;
    graphics::Quaternion rotation{0, 0, 0, 0};
    Vector3 scale;

    // No transform at all: zero translation, the zero quaternion, unit scale.
    static const TRS identity;

    // T · R · S, acting on column vectors.
    graphics::Matrix4x4 matrix() const;
    // The direction (0, 0, 1) carried through the matrix: where the view's face points.
    Vector3 normal() const;

    static TRS zero() { return {}; }
    void scaleBy(double factor);
    double magnitudeSquared() const;
    TRS& operator+=(const TRS& other);
    TRS& operator-=(const TRS& other);
    friend TRS operator+(TRS a, const TRS& b) { return a += b; }
    friend TRS operator-(TRS a, const TRS& b) { return a -= b; }
    bool operator==(const TRS&) const = default;
};

inline constexpr TRS TRS::identity{{0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1}};

} // namespace Flair

// TRS names its field `scale`, so the engine scales it through this.
template <> struct ui::VectorArithmeticTraits<Flair::TRS> {
    static Flair::TRS zero() { return {}; }
    static void scale(Flair::TRS& value, double by) { value.scaleBy(by); }
    static double magnitudeSquared(const Flair::TRS& value) { return value.magnitudeSquared(); }
};

static_assert(ui::VectorArithmetic<Flair::TRS>);
