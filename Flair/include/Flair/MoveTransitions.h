#pragma once

#include "Flair/SkidDirection.h"
#include "Flair/Vector3.h"
#include "ui/AnyTransition.h"
#include "ui/Edge.h"
#include "ui/UnitPoint.h"

namespace Flair::AnyTransition::Ostravelle {

// Slides in from just outside `edge` by the view's own size, and back out there.
ui::AnyTransition move(ui::Edge edge);
// Slides in from the side opposite `angle` (radians, 0 towards the trailing side, π/2 down).
ui::AnyTransition move(double angle);
// Skids in from two widths off the leading side, leaning until it arrives.
ui::AnyTransition skid();
ui::AnyTransition skid(SkidDirection direction);
// Turns in edge-on about the horizontal axis, in perspective and shaded.
ui::AnyTransition flip();
// Turns in by `angle` radians about `axis` (not normalised) at the 3D anchor, in perspective and
// shaded by a light from above.
ui::AnyTransition rotate3D(double angle, Vector3 axis, ui::UnitPoint anchor, double anchorZ,
                           double perspective);
// Flies in from far behind the screen, turned and tilted.
ui::AnyTransition fling();

} // namespace Flair::AnyTransition::Ostravelle
