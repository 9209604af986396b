#pragma once

#include "graphics/CGRect.h"
#include "ui/FillStyle.h"
#include "ui/Shape.h"
#include "ui/StrokeStyle.h"

#include <QPainterPath>

namespace ui {

// What a painter fills to draw a shape in `rect`: its outline with the style's fill rule.
template <ShapeType S>
QPainterPath fillPath(const S& shape, const graphics::CGRect& rect, FillStyle style = {}) {
    QPainterPath path = shape.path(rect).toQPainterPath();
    path.setFillRule(style.fillRule());
    return path;
}

// What a painter fills (winding rule) to stroke a shape's outline, centred on it.
template <ShapeType S>
QPainterPath strokePath(const S& shape, const graphics::CGRect& rect, const StrokeStyle& style) {
    return shape.path(rect).strokedPath(style).toQPainterPath();
}

// The stroke drawn just inside the shape: the outline moves in by half the line width first.
template <InsettableShape S>
QPainterPath strokeBorderPath(const S& shape, const graphics::CGRect& rect, const StrokeStyle& style) {
    if (style.drawsNothing()) return {};
    return strokePath(shape.inset(style.lineWidth / 2), rect, style);
}

} // namespace ui
