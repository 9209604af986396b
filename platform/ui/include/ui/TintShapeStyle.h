#pragma once

#include "ui/AnyShapeStyle.h"

#include <QBrush>
#include <QRectF>

namespace ui {

struct StyleContext;

// The context's tint, or its accent colour when it sets no tint.
struct TintShapeStyle {
    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const TintShapeStyle&) const = default;
};

} // namespace ui
