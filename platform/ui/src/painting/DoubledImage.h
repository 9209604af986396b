#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>

namespace ui::detail {

// Lays `image` (premultiplied) over the painter's device at twice its size, its pixel (0, 0) on
// the device pixels from `origin` to origin + (1, 1), filtered as a smooth scaling up is. Only
// for a plain painter on a premultiplied image (source over, opacity 1, no clip or a pixel-aligned
// rectangle): false otherwise, and nothing is drawn. Straight into the pixels, as Qt's general
// filtered scaling costs several times more.
bool drawDoubled(QPainter& painter, QPoint origin, const QImage& image);

} // namespace ui::detail
