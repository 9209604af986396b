#include "ui/Material.h"

#include "ui/StyleContext.h"

#include <QColor>

namespace ui {

double Material::coverage() const {
    switch (thickness_) {
    case Thickness::ultraThin:
        return 0.35;
    case Thickness::thin:
        return 0.5;
    case Thickness::regular:
        return 0.65;
    case Thickness::thick:
        return 0.8;
    case Thickness::ultraThick:
        return 0.9;
    }
    return 0.65;
}

QBrush Material::brush(const StyleContext& context, const QRectF&) const {
    const double level = context.colorScheme == ColorScheme::dark ? 0.12 : 0.97;
    return QBrush(
        QColor::fromRgbF(float(level), float(level), float(level), float(coverage() * context.opacity)));
}

} // namespace ui
