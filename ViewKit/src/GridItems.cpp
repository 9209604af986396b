#include "ViewKit/GridItems.h"

namespace ViewKit {

ui::GridItem fixedGridItem(graphics::CGFloat size) {
    return ui::GridItem{ui::GridItem::Size::fixed(size)};
}

ui::GridItem flexibleGridItem(graphics::CGFloat minimum, graphics::CGFloat maximum) {
    return ui::GridItem{ui::GridItem::Size::flexible(minimum, maximum)};
}

ui::GridItem adaptiveGridItem(graphics::CGFloat minimum, graphics::CGFloat maximum) {
    return ui::GridItem{ui::GridItem::Size::adaptive(minimum, maximum)};
}

ui::GridItem gridItem(ui::GridItem::Kind kind, graphics::CGFloat minimum, graphics::CGFloat maximum) {
    return ui::GridItem{ui::GridItem::Size{kind, minimum, maximum}};
}

std::vector<ui::GridItem> fixedColumns(graphics::CGFloat size) {
    return {fixedGridItem(size)};
}

std::vector<ui::GridItem> fixedColumns(const std::vector<graphics::CGFloat>& sizes) {
    std::vector<ui::GridItem> items;
    items.reserve(sizes.size());
    for (const auto size : sizes) items.push_back(fixedGridItem(size));
    return items;
}

std::vector<ui::GridItem> flexibleColumns(graphics::CGFloat minimum, graphics::CGFloat maximum) {
    return {flexibleGridItem(minimum, maximum)};
}

std::vector<ui::GridItem> adaptiveColumns(graphics::CGFloat minimum, graphics::CGFloat maximum) {
    return {adaptiveGridItem(minimum, maximum)};
}

} // namespace ViewKit
