#pragma once

#include "ui/DisplayList.h"

#include <QRectF>

#include <cstddef>

namespace ui::detail {

// Where the items of `list` from index `first` on may paint (see DisplayList::paintedBounds).
QRectF paintedBoundsFrom(const DisplayList& list, std::size_t first);

} // namespace ui::detail
