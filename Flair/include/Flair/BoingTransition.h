#pragma once

#include "ui/AnyTransition.h"
#include "ui/Edge.h"

namespace Flair::AnyTransition::Ostravelle {

// Shoots in from the top, stretched; squashes and springs back when the animation overshoots.
ui::AnyTransition boing();
// The same from `edge`.
ui::AnyTransition boing(ui::Edge edge);

} // namespace Flair::AnyTransition::Ostravelle
