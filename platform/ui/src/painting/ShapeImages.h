#pragma once

#include "ui/DisplayList.h"
#include "ui/Shadow.h"

#include <QPainter>

namespace ui::detail {

// Shapes filled in one solid colour, and the shadows they cast, kept as device pixels by shape,
// colour and shadow: the same card at another place, or scrolled half out of sight, is
// rasterised and blurred once. Only for painters that keep axes apart (no turn or shear) and
// paint with source over.

// Whether a fill is painted better from a kept image: a translucent colour in an outline other
// than a rectangle. The painter blends such a fill's edges pixel by pixel (sharing the rows out
// among threads), which costs several times drawing the same pixels from an image.
bool paintsFromImage(const DisplayList::Fill& fill, const QPainter& painter);
// Paints `fill` from its kept image; false (nothing painted) when the painter does not allow it
// or the shape is only a few pixels high (the painter fills such a shape quickly itself).
bool paintFillImage(QPainter& painter, const DisplayList::Fill& fill);
// Whether a solid fill is painted better from a kept image: an outline with curves, which the
// painter would flatten again at every paint. Its kept pixels blend exactly as its own edges do.
bool paintsCurvedFromImage(const DisplayList::Fill& fill, const QPainter& painter);
// Paints such a fill from its kept image; false (nothing painted) when the painter does not allow
// it, the shape is large, or translucent and tall.
bool paintCurvedFillImage(QPainter& painter, const DisplayList::Fill& fill);
// Paints the shadow `fill` casts (its coverage in its colour's alpha, blurred), then the fill
// itself; false (nothing painted) when the painter does not allow it.
bool paintFillWithShadow(QPainter& painter, const DisplayList::Fill& fill, const Shadow& shadow);

} // namespace ui::detail
