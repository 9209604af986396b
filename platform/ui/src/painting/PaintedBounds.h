#pragma once

#include "ui/DisplayList.h"

#include <QRectF>

#include <cstddef>

namespace ui::detail {

// Where the items of `list` from index `first` on may paint (see DisplayList::paintedBounds).
QRectF paintedBoundsFrom(const DisplayList& list, std::size_t first);
// Where one item may paint.
QRectF itemBounds(const DisplayList::Item& item);

} // namespace ui::detail
