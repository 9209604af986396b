#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

namespace ui {

// A shadow as views cast it: a colour, a blur radius and an offset, all in points.
struct Shadow {
    // Black at a third opacity unless a colour is given.
    QColor color = QColor::fromRgbF(0, 0, 0, 0.33f);
    double radius = 0;
    double x = 0;
    double y = 0;

    friend bool operator==(const Shadow&, const Shadow&) = default;
};

// Shadow pixels and where they go: `offset` is the position of the image's top left relative to
// the top left of the layer that cast it, in that layer's pixels.
struct ShadowImage {
    QImage image;
    QPoint offset;

    bool isNull() const { return image.isNull(); }
};

// The shadow that `layer` casts at `scale` pixels per point: the layer's coverage blurred by the
// radius, painted in the colour and moved by the offset (rounded to whole pixels). Only the
// part inside `bounds` (the layer's pixel coordinates, typically the surface it is drawn on) is
// made, so a shadow never costs more than what can be seen plus the blur's reach. Null when
// nothing of it lands inside `bounds` or its colour is fully transparent.
ShadowImage castShadow(const QImage& layer, const Shadow& shadow, double scale, const QRect& bounds);

} // namespace ui
