#pragma once

#include <QBrush>
#include <QRectF>

#include <concepts>

namespace ui {

struct StyleContext;

// Anything that fills or strokes a shape: it turns into a brush for the shape's bounds in a
// context. Colours, gradients, the tint and the hierarchical styles are shape styles, and so
// is any copyable type with such a `brush`.
template <class S>
concept ShapeStyle = std::copy_constructible<S> &&
    requires(const S& style, const StyleContext& context, const QRectF& bounds) {
    { style.brush(context, bounds) } -> std::same_as<QBrush>;
};

} // namespace ui
