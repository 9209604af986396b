#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "ui/Animatable.h"
#include "ui/AnyTransition.h"
#include "ui/LayoutDirection.h"
#include "ui/Path.h"
#include "ui/Shape.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The view seen through a wedge that sweeps round `origin` like a clock hand, its edge blurred
// until the sweep completes. The origin's x is mirrored in right-to-left layouts.
struct Clock {
    // A wedge round `unitPoint` from one corner of the rectangle round to another (a full turn
    // from the top when the point is inside), long enough to reach every corner.
    struct Circle : ui::Shape<Circle> {
        ui::UnitPoint unitPoint;
        ui::LayoutDirection layoutDirection = ui::LayoutDirection::leftToRight;

        Circle(ui::UnitPoint unitPoint, ui::LayoutDirection layoutDirection)
            : unitPoint(unitPoint)
            , layoutDirection(layoutDirection) {}

        struct Sweep {
            graphics::CGPoint center;
            double startAngle, endAngle, radius; // radians, y pointing down
        };
        Sweep sweep(const graphics::CGRect& rect) const;
        ui::Path path(const graphics::CGRect& rect) const;
    };

    ui::UnitPoint origin;
    // The progress, then the blur radius.
    ui::AnimatablePair<double, double> animatableData;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Clock&) const = default;
};

namespace AnyTransition::Ostravelle {

// A sweep round the centre with a hard edge.
ui::AnyTransition clock();
// A sweep round `origin`, its edge blurred by `blurRadius` (taken as given) until it completes.
ui::AnyTransition clock(ui::UnitPoint origin, double blurRadius);

} // namespace AnyTransition::Ostravelle

} // namespace Flair
