#include "ui/Grid.h"

#include "ui/Layout.h"
#include "ui/LazyLayout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

class LazyGridNode final : public detail::LazyNode {
public:
    LazyGridNode(Axis axis, std::vector<GridItem> items, std::optional<CGFloat> spacing,
                 std::vector<View> content)
        : LazyNode(axis, spacing.value_or(detail::defaultSpacing), std::move(content))
        , items_(std::move(items)) {}
    std::string_view typeName() const override { return axis_ == Axis::vertical ? "LazyVGrid" : "LazyHGrid"; }

protected:
    static CGFloat spacingAfter(const GridItem& item) {
        return item.spacing.value_or(detail::defaultSpacing);
    }

    std::vector<Track> tracks(CGFloat crossLength) const override {
        if (items_.empty()) return {};
        CGFloat fixed = 0, gaps = 0;
        std::size_t shared = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].size.kind == GridItem::Kind::fixed)
                fixed += items_[i].size.minimum;
            else
                ++shared;
            if (i + 1 < items_.size()) gaps += spacingAfter(items_[i]);
        }
        const CGFloat share =
            shared ? std::max<CGFloat>(0, (crossLength - fixed - gaps) / CGFloat(shared)) : 0;
        std::vector<Track> result;
        CGFloat offset = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const auto& item = items_[i];
            const Alignment alignment = item.alignment.value_or(Alignment::center);
            const CGFloat gap = spacingAfter(item);
            if (item.size.kind == GridItem::Kind::fixed) {
                result.push_back({offset, item.size.minimum, alignment});
                offset += item.size.minimum + gap;
            } else if (item.size.kind == GridItem::Kind::flexible) {
                const CGFloat length =
                    std::clamp(share, item.size.minimum, std::max(item.size.minimum, item.size.maximum));
                result.push_back({offset, length, alignment});
                offset += length + gap;
            } else {
                const CGFloat minimum = std::max<CGFloat>(1, item.size.minimum);
                const auto count =
                    std::max<std::size_t>(1, std::size_t(std::floor((share + gap) / (minimum + gap))));
                const CGFloat length = std::clamp((share - gap * CGFloat(count - 1)) / CGFloat(count),
                                                  minimum, std::max(minimum, item.size.maximum));
                for (std::size_t k = 0; k < count; ++k) {
                    result.push_back({offset, length, alignment});
                    offset += length + gap;
                }
            }
        }
        return result;
    }
    CGFloat idealCrossLength(Element&) const override {
        CGFloat length = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            length += items_[i].size.minimum;
            if (i + 1 < items_.size()) length += spacingAfter(items_[i]);
        }
        return length;
    }

private:
    std::vector<GridItem> items_;
};

} // namespace

LazyVGrid::LazyVGrid(std::vector<GridItem> columns, std::vector<View> content)
    : LazyVGrid(std::move(columns), HorizontalAlignment::center, std::nullopt, std::move(content)) {}

LazyVGrid::LazyVGrid(std::vector<GridItem> columns, HorizontalAlignment, std::optional<CGFloat> spacing,
                     std::vector<View> content)
    : View(std::make_shared<LazyGridNode>(Axis::vertical, std::move(columns), spacing, std::move(content))) {}

LazyHGrid::LazyHGrid(std::vector<GridItem> rows, std::vector<View> content)
    : LazyHGrid(std::move(rows), VerticalAlignment::center, std::nullopt, std::move(content)) {}

LazyHGrid::LazyHGrid(std::vector<GridItem> rows, VerticalAlignment, std::optional<CGFloat> spacing,
                     std::vector<View> content)
    : View(std::make_shared<LazyGridNode>(Axis::horizontal, std::move(rows), spacing, std::move(content))) {}

} // namespace ui
