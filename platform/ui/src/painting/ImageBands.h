#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

namespace ui::detail {

// Draws `image` into `target` as QPainter::drawImage does, in bands of device rows under a clip.
// Qt hands a scaled image draw taller than about 96 rows to worker threads, and starting them
// costs more than the drawing; in bands the pixels are the same and stay on this thread.
void drawImageInBands(QPainter& painter, const QRectF& target, const QImage& image);

} // namespace ui::detail
