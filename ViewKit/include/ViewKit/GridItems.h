#pragma once

#include "graphics/CGFloat.h"
#include "ui/Grid.h"

#include <limits>
#include <vector>

// Shorthands for grid columns (or rows). Spacing and alignment are left to the grid.
namespace ViewKit {

inline constexpr graphics::CGFloat unboundedGridItem = std::numeric_limits<graphics::CGFloat>::infinity();

ui::GridItem fixedGridItem(graphics::CGFloat size);
ui::GridItem flexibleGridItem(graphics::CGFloat minimum = 10, graphics::CGFloat maximum = unboundedGridItem);
ui::GridItem adaptiveGridItem(graphics::CGFloat minimum, graphics::CGFloat maximum = unboundedGridItem);
// An item of `kind` with both bounds (a fixed one is `minimum` long).
ui::GridItem gridItem(ui::GridItem::Kind kind, graphics::CGFloat minimum, graphics::CGFloat maximum);

// One fixed column.
std::vector<ui::GridItem> fixedColumns(graphics::CGFloat size);
// One fixed column per size, in order.
std::vector<ui::GridItem> fixedColumns(const std::vector<graphics::CGFloat>& sizes);
// One flexible column.
std::vector<ui::GridItem> flexibleColumns(graphics::CGFloat minimum = 10,
                                          graphics::CGFloat maximum = unboundedGridItem);
// One adaptive column: as many tracks of at least `minimum` as fit.
std::vector<ui::GridItem> adaptiveColumns(graphics::CGFloat minimum, graphics::CGFloat maximum = unboundedGridItem);

} // namespace ViewKit
