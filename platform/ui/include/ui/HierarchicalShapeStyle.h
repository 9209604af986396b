#pragma once

#include "ui/AnyShapeStyle.h"

#include <QBrush>
#include <QRectF>

namespace ui {

struct StyleContext;

// A level of the context's foreground style: primary is the style itself, secondary the same
// style fainter. Without a foreground style the levels are Color::primary and Color::secondary.
class HierarchicalShapeStyle {
public:
    static const HierarchicalShapeStyle primary;
    static const HierarchicalShapeStyle secondary;

    // How much fainter than the foreground style the secondary level is drawn.
    static constexpr double secondaryOpacity = 0.5;

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const HierarchicalShapeStyle&) const = default;

private:
    constexpr explicit HierarchicalShapeStyle(int level)
        : level_(level) {}
    int level_;
};

inline constexpr HierarchicalShapeStyle HierarchicalShapeStyle::primary{0};
inline constexpr HierarchicalShapeStyle HierarchicalShapeStyle::secondary{1};

} // namespace ui
