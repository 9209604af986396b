#include "ui/ShaderLayer.h"

#include <cmath>

namespace ui {

ShaderLayer::ShaderLayer(const QImage& pixels, const QTransform& toPixels)
    : pixels_(pixels)
    , toPixels_(toPixels)
    , width_(pixels.width())
    , height_(pixels.height())
    , bits_(pixels.constBits())
    , stride_(pixels.bytesPerLine()) {}

ShaderColor ShaderLayer::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const QRgb p = reinterpret_cast<const QRgb*>(bits_ + y * stride_)[x];
    constexpr float unit = 1.0f / 255;
    return {qRed(p) * unit, qGreen(p) * unit, qBlue(p) * unit, qAlpha(p) * unit};
}

ShaderColor ShaderLayer::sample(graphics::CGPoint position) const {
    const QPointF at = toPixels_.map(QPointF(position.x, position.y));
    // Pixel centres lie at half-integers.
    const double fx = at.x() - 0.5, fy = at.y() - 0.5;
    if (!std::isfinite(fx) || !std::isfinite(fy) || fx <= -1 || fy <= -1 || fx >= width_ || fy >= height_)
        return {};
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const float tx = float(fx - x0), ty = float(fy - y0);
    const ShaderColor top = mix(pixel(x0, y0), pixel(x0 + 1, y0), tx);
    const ShaderColor bottom = mix(pixel(x0, y0 + 1), pixel(x0 + 1, y0 + 1), tx);
    return mix(top, bottom, ty);
}

} // namespace ui
