#include "ui/TintShapeStyle.h"

#include "ui/StyleContext.h"

namespace ui {

QBrush TintShapeStyle::brush(const StyleContext& context, const QRectF& bounds) const {
    return context.tint ? context.tint->brush(context, bounds) : Color::accentColor.brush(context, bounds);
}

} // namespace ui
