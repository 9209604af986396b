#pragma once

#include "ui/ColorMatrix.h"
#include "ui/Shadow.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRectF>

#include <memory>

namespace ui {

// Pixels painted apart from a target and then composited onto it as a whole: for group
// opacity, blend modes of a group, blurs and shadows. The layer covers what `bounds` covers on
// the target's device, grown by a margin for effects that spread, and never more than the
// target's device: however large the bounds, a layer costs at most the target's pixels.
// Content beyond the device edge is not kept, so a blur near an edge fades there.
//
// Paint through painter(), in the target's coordinates at the time the layer was made; then
// composite() once. A layer dropped without compositing draws nothing.
class OffscreenLayer {
public:
    // `bounds` in the target's current coordinates; `margin` in the same units, on every side.
    OffscreenLayer(QPainter& target, const QRectF& bounds, double margin = 0);
    ~OffscreenLayer();

    OffscreenLayer(const OffscreenLayer&) = delete;
    OffscreenLayer& operator=(const OffscreenLayer&) = delete;

    // Nothing of the bounds is on the device: painting and compositing do nothing.
    bool isEmpty() const { return image_.isNull(); }
    // Paints into the layer until composite(); for an empty or composited layer, a painter that
    // paints nowhere.
    QPainter& painter();
    const QImage& image() const { return image_; }
    // Where the layer lies on the target's device, in device pixels.
    QRect deviceRect() const { return deviceRect_; }
    // Device pixels per unit of the target's coordinates, for radii given in those units.
    double scale() const { return scale_; }

    // Ends painting and hands out the layer's pixels to change in place before composite().
    QImage& pixels();
    // Blurs the layer's pixels by a radius in the target's units.
    void blur(double radius);
    // Passes every pixel of the layer through `matrix`.
    void applyColorMatrix(const ColorMatrix& matrix);
    // Draws the shadow the layer's content casts onto the target (not the content itself).
    void drawShadow(const Shadow& shadow);
    // Draws the layer onto the target with `mode` at `opacity`, and ends it.
    void composite(QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver, double opacity = 1);

    // From `painter`'s coordinates to the pixels of its own device. A widget painted into its
    // window's backing store carries its place in the window in the device transform as well;
    // that offset is left out here, since painting with no world transform still applies it.
    static QTransform surfaceTransform(const QPainter& painter);
    // The pixels of `painter`'s device, from (0, 0).
    static QRect devicePixels(const QPainter& painter);

private:
    void endPainting();
    void drawOnTarget(const QImage& pixels, QPoint devicePosition, QPainter::CompositionMode mode,
                      double opacity);

    QPainter& target_;
    QImage image_;
    QRect deviceRect_;
    double scale_ = 1;
    std::unique_ptr<QPainter> painter_;
    QImage nowhere_;
    std::unique_ptr<QPainter> nowherePainter_;
};

} // namespace ui
