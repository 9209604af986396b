#include "ui/Grid.h"

#include "ui/Layout.h"
#include "ui/LazyLayout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

class LazyGridNode final : public detail::LazyNode {
public:
    // `alignment` only matters across the axis: horizontal for a LazyVGrid, vertical for a
    // LazyHGrid.
    LazyGridNode(Axis axis, std::vector<GridItem> items, Alignment alignment, std::optional<CGFloat> spacing,
                 std::vector<View> content)
        : LazyNode(axis, spacing.value_or(detail::defaultSpacing), std::move(content))
        , items_(std::move(items))
        , alignment_(alignment) {}
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
            const Alignment alignment = item.alignment.value_or(alignment_);
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
        // Tracks narrower than the grid sit where its alignment puts them.
        const CGFloat used = offset - (items_.empty() ? 0 : spacingAfter(items_.back()));
        const CGFloat shift = std::max<CGFloat>(0, crossLength - used) * crossFraction();
        if (shift > 0) {
            for (auto& track : result)
                track.offset += shift;
        }
        return result;
    }
    // How far along the spare cross length the tracks go: 0 at the leading or top edge.
    CGFloat crossFraction() const {
        if (axis_ == Axis::vertical) {
            if (alignment_.horizontal == HorizontalAlignment::trailing) return 1;
            return alignment_.horizontal == HorizontalAlignment::leading ? 0 : 0.5;
        }
        if (alignment_.vertical == VerticalAlignment::bottom) return 1;
        return alignment_.vertical == VerticalAlignment::center ? 0.5 : 0;
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
    Alignment alignment_;
};

} // namespace

LazyVGrid::LazyVGrid(std::vector<GridItem> columns, std::vector<View> content)
    : LazyVGrid(std::move(columns), HorizontalAlignment::center, std::nullopt, std::move(content)) {}

LazyVGrid::LazyVGrid(std::vector<GridItem> columns, HorizontalAlignment alignment,
                     std::optional<CGFloat> spacing, std::vector<View> content)
    : View(std::make_shared<LazyGridNode>(Axis::vertical, std::move(columns),
                                          Alignment{alignment, VerticalAlignment::center}, spacing,
                                          std::move(content))) {}

LazyHGrid::LazyHGrid(std::vector<GridItem> rows, std::vector<View> content)
    : LazyHGrid(std::move(rows), VerticalAlignment::center, std::nullopt, std::move(content)) {}

LazyHGrid::LazyHGrid(std::vector<GridItem> rows, VerticalAlignment alignment, std::optional<CGFloat> spacing,
                     std::vector<View> content)
    : View(std::make_shared<LazyGridNode>(Axis::horizontal, std::move(rows),
                                          Alignment{HorizontalAlignment::center, alignment}, spacing,
                                          std::move(content))) {}

} // namespace ui
