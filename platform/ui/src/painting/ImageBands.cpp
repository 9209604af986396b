#include "painting/ImageBands.h"

#include <QTransform>

namespace ui::detail {

void drawImageInBands(QPainter& painter, const QRectF& target, const QImage& image) {
    constexpr int bandRows = 64;
    const QTransform toDevice = painter.deviceTransform();
    const QRect rows = toDevice.mapRect(target).toAlignedRect();
    bool invertible = false;
    const QTransform fromDevice = toDevice.inverted(&invertible);
    // Under a turn the bands would not be rows of the image's spans.
    if (rows.height() <= bandRows || toDevice.type() > QTransform::TxScale || !invertible) {
        painter.drawImage(target, image);
        return;
    }
    for (int top = rows.top(); top <= rows.bottom(); top += bandRows) {
        painter.save();
        painter.setClipRect(fromDevice.mapRect(QRectF(rows.left(), top, rows.width(), bandRows)),
                            Qt::IntersectClip);
        painter.drawImage(target, image);
        painter.restore();
    }
}

} // namespace ui::detail
