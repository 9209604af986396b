#pragma once

// Paints a path into a small transparent image, so tests can ask which pixels it covers.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

namespace pathpixels {

// Without antialiasing a pixel is covered exactly when its centre is inside.
inline QImage fill(const QPainterPath& path, int width = 40, int height = 40) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillPath(path, Qt::black);
    return image;
}

inline QImage draw(const QPainterPath& path, const QPen& pen, int width = 40, int height = 40) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(pen);
    painter.drawPath(path);
    return image;
}

inline bool covered(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) > 127;
}

inline int coveredCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += covered(image, x, y);
    return count;
}

inline int differingCount(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += covered(a, x, y) != covered(b, x, y);
    return count;
}

} // namespace pathpixels
