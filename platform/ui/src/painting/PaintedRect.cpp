#include "painting/PaintedRect.h"

#include <QRgb>

namespace ui::detail {

namespace {

bool rowIsClear(const QImage& image, int y, int left, int right) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = left; x <= right; ++x)
        if (line[x] != 0) return false;
    return true;
}

bool columnIsClear(const QImage& image, int x, int top, int bottom) {
    // Through the bits: constScanLine's checks per pixel cost more than the test.
    const qsizetype stride = image.bytesPerLine();
    const uchar* line = image.constBits() + top * stride;
    for (int y = top; y <= bottom; ++y, line += stride)
        if (reinterpret_cast<const QRgb*>(line)[x] != 0) return false;
    return true;
}

} // namespace

QRect paintedRect(const QImage& image) {
    if (image.isNull() || image.format() != QImage::Format_ARGB32_Premultiplied) return image.rect();
    int top = 0, bottom = image.height() - 1, left = 0, right = image.width() - 1;
    while (top <= bottom && rowIsClear(image, top, left, right))
        ++top;
    if (top > bottom) return {};
    while (rowIsClear(image, bottom, left, right))
        --bottom;
    while (columnIsClear(image, left, top, bottom))
        ++left;
    while (columnIsClear(image, right, top, bottom))
        --right;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace ui::detail
