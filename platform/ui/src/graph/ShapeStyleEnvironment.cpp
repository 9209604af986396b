#include "ui/ShapeStyleEnvironment.h"

#include "ui/EnvironmentKeys.h"
#include "ui/HierarchicalShapeStyle.h"

#include <QGradient>

namespace ui {

StyleContext styleContext(const EnvironmentValues& environment) {
    StyleContext context;
    context.colorScheme = environment.get<ColorSchemeKey>();
    context.accentColor = environment.get<AccentColorKey>();
    context.tint = environment.get<TintKey>();
    context.foregroundStyle = environment.get<ForegroundStyleKey>();
    return context;
}

QColor foregroundColor(const EnvironmentValues& environment, const QRectF& bounds) {
    const QBrush brush = HierarchicalShapeStyle::primary.brush(styleContext(environment), bounds);
    if (const QGradient* gradient = brush.gradient(); gradient && !gradient->stops().isEmpty())
        return gradient->stops().front().second;
    return brush.color();
}

} // namespace ui
