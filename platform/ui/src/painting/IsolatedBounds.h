#pragma once

#include "ui/DisplayList.h"

#include <QRectF>

namespace ui::detail {

// Where a layer's content can leave pixels when it is painted apart, onto transparent pixels:
// as its content bounds, but a part composited only where earlier parts painted (source atop,
// source in, destination in or out, clear) reaches no further than those. A band of light laid
// "atop" a card then needs pixels only over the card.
QRectF isolatedContentBounds(const DisplayList::Layer& layer);

} // namespace ui::detail
