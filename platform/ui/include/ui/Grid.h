#pragma once

#include "ui/Alignment.h"
#include "ui/View.h"

#include <limits>
#include <optional>
#include <vector>

namespace ui {

// One column of a LazyVGrid (or row of a LazyHGrid).
struct GridItem {
    enum class Kind { fixed, flexible, adaptive };
    struct Size {
        Kind kind = Kind::flexible;
        CGFloat minimum = 10;
        CGFloat maximum = std::numeric_limits<CGFloat>::infinity();

        static Size fixed(CGFloat length) { return {Kind::fixed, length, length}; }
        static Size flexible(CGFloat minimum = 10,
                             CGFloat maximum = std::numeric_limits<CGFloat>::infinity()) {
            return {Kind::flexible, minimum, maximum};
        }
        // As many tracks of at least `minimum` as fit.
        static Size adaptive(CGFloat minimum, CGFloat maximum = std::numeric_limits<CGFloat>::infinity()) {
            return {Kind::adaptive, minimum, maximum};
        }
        bool operator==(const Size&) const = default;
    };

    Size size = Size::flexible();
    std::optional<CGFloat> spacing{};
    std::optional<Alignment> alignment{};

    bool operator==(const GridItem&) const = default;
};

// Grids fill tracks across the axis and grow along it, lazily as the lazy stacks do. How the
// tracks share the cross length: fixed ones take their length; the rest, after spacing, goes
// in equal shares to the flexible ones (clamped to their limits) and adaptive ones, where an
// adaptive item turns into as many tracks of at least its minimum as its share holds.
class LazyVGrid : public View {
public:
    LazyVGrid(std::vector<GridItem> columns, std::vector<View> content);
    LazyVGrid(std::vector<GridItem> columns, HorizontalAlignment alignment, std::optional<CGFloat> spacing,
              std::vector<View> content);
};

class LazyHGrid : public View {
public:
    LazyHGrid(std::vector<GridItem> rows, std::vector<View> content);
    LazyHGrid(std::vector<GridItem> rows, VerticalAlignment alignment, std::optional<CGFloat> spacing,
              std::vector<View> content);
};

} // namespace ui
