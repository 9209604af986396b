#pragma once

#include "ui/DisplayList.h"

#include <optional>
#include <vector>

namespace ui::detail {

// The same layer with its colour filters applied to the colour of its one solid fill or stroke,
// when that paints what filtering its pixels would: none when the filters act on coverage or
// the content is anything else.
std::optional<DisplayList::Layer> foldingColorFilters(const DisplayList::Layer& layer);

// The items a layer masked by one opaque shape paints, straight onto a device through
// `toDevice`: its content, with the one fill that covers the whole shape made the shape itself.
// None unless everything else stays inside the shape and the layer has no other effect.
std::optional<std::vector<DisplayList::Item>> maskedDirectly(const DisplayList::Layer& layer,
                                                             const QTransform& toDevice);

// What `list` paints, with fewer layers painted apart where painting straight onto a device
// through `toDevice` gives the same pixels: colour filters folded into solid fills, plain
// layers opened up, and a layer masked by one opaque shape turned into that shape filled with
// the colour of its background, when the rest of its content stays inside the shape.
std::vector<DisplayList::Item> directItems(const DisplayList& list, const QTransform& toDevice);

// The item that covers exactly what all of `items` cover: an opaque solid fill that every other
// item stays inside, more than a device pixel from its edge. None when there is no such fill.
std::optional<std::size_t> silhouette(const std::vector<DisplayList::Item>& items, const QTransform& toDevice);
// Whether the first of `items`, a solid fill (translucent, say), casts all but an invisible part
// of the shadow they cast together: the rest lies on it, farther than `reach` from its edge, and
// it is opaque enough that the shadow they would add under it does not show through it.
bool castsShadowAlone(const std::vector<DisplayList::Item>& items, const QTransform& toDevice, const Shadow& shadow,
                      qreal reach);

} // namespace ui::detail
