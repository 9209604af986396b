#include "ui/OffscreenLayer.h"

#include "graphics/CGRect.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Blur.h"

#include "painting/PaintedRect.h"
#include "painting/ScratchImages.h"

#include <QPaintDevice>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// The mean stretch of a transform, so a rotated or scaled layer blurs by the size it shows.
double stretch(const QTransform& t) {
    const double s = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return s > 0 && std::isfinite(s) ? s : 1;
}

bool isFinite(const QRectF& r) {
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.width()) &&
           std::isfinite(r.height());
}

} // namespace

QRect OffscreenLayer::devicePixels(const QPainter& target) {
    const auto* device = target.device();
    if (!device) return {};
    // Images and pixmaps measure themselves in pixels; widgets in points, over pixels at their
    // pixel ratio.
    if (device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap)
        return QRect(0, 0, device->width(), device->height());
    const double ratio = device->devicePixelRatioF();
    return QRect(0, 0, static_cast<int>(std::ceil(device->width() * ratio)),
                 static_cast<int>(std::ceil(device->height() * ratio)));
}

QTransform OffscreenLayer::surfaceTransform(const QPainter& painter) {
    const QTransform toDevice = painter.deviceTransform();
    bool invertible = false;
    const QTransform fromCombined = painter.combinedTransform().inverted(&invertible);
    // What remains past the world and view transforms: the redirection's offset, then the
    // device's pixel ratio.
    if (!invertible) return toDevice;
    const QTransform rest = fromCombined * toDevice;
    return toDevice * QTransform::fromTranslate(-rest.dx(), -rest.dy());
}

OffscreenLayer::OffscreenLayer(QPainter& target, const QRectF& bounds, double margin)
    : target_(target) {
    if (!target.isActive()) return;
    const QTransform toDevice = surfaceTransform(target);
    scale_ = stretch(toDevice);
    const double grow = margin > 0 && std::isfinite(margin) ? margin : 0;
    const QRectF device(devicePixels(target));
    const QRectF grown = bounds.adjusted(-grow, -grow, grow, grow);
    if (!isFinite(grown) || !grown.isValid()) return;
    // In perspective the bounds may reach the horizon, where they grow without end: past the
    // device they are cut to it, as anything else is.
    QRectF wanted = graphics::CGRect::fromQRectF(grown)
                        .applying(graphics::ProjectionTransform::fromQTransform(toDevice))
                        .toQRectF();
    if (!isFinite(wanted)) wanted = device;
    if (!wanted.isValid()) return;
    // Clamp in floating point first: the wanted rect may be far larger than an int holds.
    const QRectF onDevice = wanted.intersected(device);
    if (onDevice.isEmpty()) return;
    deviceRect_ = onDevice.toAlignedRect().intersected(devicePixels(target));
    if (deviceRect_.isEmpty()) return;

    image_ = detail::takeScratchImage(deviceRect_.size());
    if (image_.isNull()) return;
    image_.fill(Qt::transparent);
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHints(target.renderHints());
    painter_->setTransform(toDevice * QTransform::fromTranslate(-deviceRect_.x(), -deviceRect_.y()));
}

OffscreenLayer::~OffscreenLayer() {
    endPainting();
    detail::recycleScratchImage(std::move(image_));
    if (nowherePainter_) nowherePainter_->end();
}

QPainter& OffscreenLayer::painter() {
    if (painter_) return *painter_;
    if (!nowherePainter_) {
        nowhere_ = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        nowherePainter_ = std::make_unique<QPainter>(&nowhere_);
        nowherePainter_->setClipRect(QRect());
    }
    return *nowherePainter_;
}

void OffscreenLayer::endPainting() {
    if (painter_) painter_->end();
    painter_.reset();
}

QImage& OffscreenLayer::pixels() {
    endPainting();
    return image_;
}

void OffscreenLayer::blur(double radius) {
    if (isEmpty()) return;
    endPainting();
    gaussianBlur(image_, blurSigma(radius, scale_));
}

void OffscreenLayer::applyColorMatrix(const ColorMatrix& matrix) {
    if (isEmpty()) return;
    endPainting();
    ui::applyColorMatrix(image_, matrix);
}

void OffscreenLayer::drawShadow(const Shadow& shadow) {
    if (isEmpty()) return;
    endPainting();
    // The offset follows the target's axes, so it is mapped rather than scaled.
    const QTransform toDevice = target_.deviceTransform();
    const QTransform linear(toDevice.m11(), toDevice.m12(), toDevice.m21(), toDevice.m22(), 0, 0);
    const QPointF offset = linear.map(QPointF(shadow.x, shadow.y));
    Shadow inPixels = shadow;
    inPixels.x = offset.x();
    inPixels.y = offset.y();
    inPixels.radius = shadow.radius * scale_;
    const QRect surface = devicePixels(target_).translated(-deviceRect_.topLeft());
    const auto cast = castShadow(image_, inPixels, 1, surface);
    if (cast.isNull()) return;
    drawOnTarget(cast.image, deviceRect_.topLeft() + cast.offset, QPainter::CompositionMode_SourceOver, 1);
}

void OffscreenLayer::composite(QPainter::CompositionMode mode, double opacity) {
    if (isEmpty()) return;
    endPainting();
    // Over the target, clear pixels change nothing: only the painted part is drawn.
    const QRect painted = mode == QPainter::CompositionMode_SourceOver ? detail::paintedRect(image_) : image_.rect();
    if (!painted.isEmpty()) {
        // A view of those pixels, not a copy.
        const QImage part(image_.constScanLine(painted.top()) + painted.left() * 4, painted.width(), painted.height(),
                          image_.bytesPerLine(), image_.format());
        drawOnTarget(part, deviceRect_.topLeft() + painted.topLeft(), mode, opacity);
    }
    detail::recycleScratchImage(std::move(image_));
    image_ = QImage();
}

void OffscreenLayer::drawOnTarget(const QImage& pixels, QPoint devicePosition, QPainter::CompositionMode mode,
                                  double opacity) {
    // Device pixels are drawn one to one: undo the world transform and let the image carry
    // the device's pixel ratio, which the painter applies on its own.
    const double ratio = target_.device() ? target_.device()->devicePixelRatioF() : 1;
    QImage placed = pixels;
    placed.setDevicePixelRatio(ratio);
    target_.save();
    target_.setWorldTransform(QTransform());
    target_.setViewTransformEnabled(false);
    target_.setCompositionMode(mode);
    target_.setOpacity(target_.opacity() * (opacity > 0 ? std::min(opacity, 1.0) : 0.0));
    target_.drawImage(QPointF(devicePosition) / ratio, placed);
    target_.restore();
}

} // namespace ui
