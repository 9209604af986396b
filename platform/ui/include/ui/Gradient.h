#pragma once

#include "ui/Angle.h"
#include "ui/AnyShapeStyle.h"
#include "ui/Color.h"
#include "ui/GradientColorSpace.h"
#include "ui/UnitPoint.h"

#include <QBrush>
#include <QRectF>

#include <vector>

namespace ui {

struct StyleContext;

// Colours along a line from location 0 to 1. Locations may lie outside [0, 1] and need not be
// sorted; stops are drawn in location order, equal locations in the order given, which makes a
// hard edge. Before the first stop and after the last the end colours continue. Stops whose
// location is not finite are left out.
struct Gradient {
    using ColorSpace = GradientColorSpace;

    struct Stop {
        Color color;
        double location = 0;
        bool operator==(const Stop&) const = default;
    };

    std::vector<Stop> stops;

    Gradient() = default;
    // Evenly spaced from 0 to 1; a single colour sits at 0.
    Gradient(std::vector<Color> colors);
    Gradient(std::vector<Stop> stops);

    bool operator==(const Gradient&) const = default;
};

// The gradients below paint nothing (Qt::NoBrush) without stops, and one solid colour when they
// have one stop or cannot spread the stops out (equal start and end points or radii).

// Along the line from `startPoint` to `endPoint` of the bounds.
struct LinearGradient {
    Gradient gradient;
    UnitPoint startPoint = UnitPoint::top;
    UnitPoint endPoint = UnitPoint::bottom;

    LinearGradient(Gradient gradient, UnitPoint startPoint, UnitPoint endPoint);
    LinearGradient(std::vector<Color> colors, UnitPoint startPoint, UnitPoint endPoint);
    LinearGradient(std::vector<Gradient::Stop> stops, UnitPoint startPoint, UnitPoint endPoint);

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const LinearGradient&) const = default;
};

// Rings around `center`: location 0 at `startRadius`, 1 at `endRadius` (in points).
struct RadialGradient {
    Gradient gradient;
    UnitPoint center = UnitPoint::center;
    double startRadius = 0;
    double endRadius = 0;

    RadialGradient(Gradient gradient, UnitPoint center, double startRadius, double endRadius);
    RadialGradient(std::vector<Color> colors, UnitPoint center, double startRadius, double endRadius);

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const RadialGradient&) const = default;
};

// Around `center`, clockwise on screen, location 0 at `startAngle` and 1 at `endAngle`
// (0 pointing to the trailing side). A sweep of more than a full turn keeps its last
// turn, equal angles make a full turn, and a shorter sweep leaves a gap that the end colour
// fills up to its middle and the start colour after it.
struct AngularGradient {
    Gradient gradient;
    UnitPoint center = UnitPoint::center;
    Angle startAngle;
    Angle endAngle;

    AngularGradient(Gradient gradient, UnitPoint center, Angle startAngle, Angle endAngle);
    AngularGradient(std::vector<Color> colors, UnitPoint center, Angle startAngle, Angle endAngle);

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const AngularGradient&) const = default;
};

} // namespace ui
