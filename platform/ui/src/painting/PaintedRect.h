#pragma once

#include <QImage>
#include <QRect>

namespace ui::detail {

// The smallest rectangle of a premultiplied ARGB32 image that holds every pixel not fully
// transparent; empty when there is none. Scans inwards from the edges, so a wide clear margin
// costs only its own pixels.
QRect paintedRect(const QImage& image);

} // namespace ui::detail
