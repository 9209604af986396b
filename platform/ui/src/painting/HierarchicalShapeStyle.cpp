#include "ui/HierarchicalShapeStyle.h"

#include "ui/Color.h"
#include "ui/StyleContext.h"

namespace ui {

QBrush HierarchicalShapeStyle::brush(const StyleContext& context, const QRectF& bounds) const {
    if (!context.foregroundStyle)
        return (level_ == 0 ? Color::primary : Color::secondary).brush(context, bounds);
    // The foreground style is drawn without itself, so a hierarchical one means the defaults.
    StyleContext inner = context;
    inner.foregroundStyle.reset();
    if (level_ > 0) inner.opacity *= secondaryOpacity;
    return context.foregroundStyle->brush(inner, bounds);
}

} // namespace ui
