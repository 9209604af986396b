#include "ui/ShaderPass.h"

#include "ParallelRows.h"
#include "ui/ShaderLayer.h"

#include <foundation/Logger.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace ui {

namespace {

constexpr float unit = 1.0f / 255;

ShaderColor fromPixel(QRgb p) {
    return {qRed(p) * unit, qGreen(p) * unit, qBlue(p) * unit, qAlpha(p) * unit};
}

// Clamped to valid premultiplied pixels: a colour above its alpha would overflow when blended.
QRgb toPixel(const ShaderColor& c) {
    // Branch-free: NaN and below 0 give 0, and nothing converts beyond the limit.
    auto level = [](float v, int limit) {
        return int(std::min(float(limit), std::max(0.0f, v * 255 + 0.5f)));
    };
    const int a = level(c.alpha, 255);
    return qRgba(level(c.red, a), level(c.green, a), level(c.blue, a), a);
}

// Positions of a row's pixel centres in the view's coordinates.
class RowPositions {
public:
    RowPositions(const QTransform& fromPixels, int y)
        : fromPixels_(fromPixels)
        , y_(y + 0.5) {
        affine_ = fromPixels.isAffine();
        const QPointF start = fromPixels.map(QPointF(0.5, y_));
        x0_ = start.x();
        y0_ = start.y();
        dx_ = fromPixels.m11();
        dy_ = fromPixels.m12();
    }
    graphics::CGPoint at(int x) const {
        if (affine_) return {x0_ + x * dx_, y0_ + x * dy_};
        const QPointF p = fromPixels_.map(QPointF(x + 0.5, y_));
        return {p.x(), p.y()};
    }
    // The first position and the step to the next, for an affine mapping.
    graphics::CGPoint start() const { return {x0_, y0_}; }
    graphics::CGPoint step() const { return {dx_, dy_}; }

private:
    const QTransform& fromPixels_;
    double y_;
    bool affine_;
    double x0_, y0_, dx_, dy_;
};

const foundation::Logger& logger() {
    static const foundation::Logger log("ui", "Shader");
    return log;
}

} // namespace

void ShaderPass::run(QImage& pixels, QPoint devicePosition, const QTransform& toDevice) const {
    if (function.isEmpty() || pixels.isNull()) return;
    if (pixels.format() != QImage::Format_ARGB32_Premultiplied)
        pixels = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);

    const QTransform toPixels = QTransform::fromTranslate(origin.x, origin.y) * toDevice *
                                QTransform::fromTranslate(-devicePosition.x(), -devicePosition.y());
    bool invertible = false;
    const QTransform fromPixels = toPixels.inverted(&invertible);
    if (!invertible) return; // a layer squashed flat shows nothing to shade

    // Reads come from the untouched pixels, writes go to a new image, so neighbours sampled by
    // a layer function are the originals and a failure leaves the layer as it was.
    const QImage source = pixels;
    QImage result(source.size(), QImage::Format_ARGB32_Premultiplied);
    result.setDevicePixelRatio(source.devicePixelRatio());
    const int width = source.width();
    // Row addresses are taken once here: scanLine() on a shared image is not safe across threads.
    const uchar* sourceBits = source.constBits();
    uchar* resultBits = result.bits();
    const qsizetype sourceStride = source.bytesPerLine(), resultStride = result.bytesPerLine();
    const ShaderFunction::ColorBody* colorBody = function.colorBody();
    const ShaderFunction::LayerBody* layerBody = function.layerBody();
    // Evenly spaced positions along rows: the function's row form, if any, takes whole rows.
    const ShaderFunction::ColorRowBody* rowBody = fromPixels.isAffine() ? function.colorRowBody() : nullptr;
    const ShaderLayer layer(source, toPixels);

    try {
        detail::parallelRows(source.height(), width, [&](int begin, int end) {
            std::vector<ShaderColor> colors(rowBody ? std::size_t(width) : 0);
            for (int y = begin; y < end; ++y) {
                const auto* in = reinterpret_cast<const QRgb*>(sourceBits + y * sourceStride);
                auto* out = reinterpret_cast<QRgb*>(resultBits + y * resultStride);
                const RowPositions row(fromPixels, y);
                if (rowBody) {
                    for (int x = 0; x < width; ++x)
                        colors[std::size_t(x)] = fromPixel(in[x]);
                    (*rowBody)(row.start(), row.step(), colors, arguments);
                    for (int x = 0; x < width; ++x)
                        out[x] = toPixel(colors[std::size_t(x)]);
                } else if (colorBody) {
                    for (int x = 0; x < width; ++x)
                        out[x] = toPixel((*colorBody)(row.at(x), fromPixel(in[x]), arguments));
                } else {
                    for (int x = 0; x < width; ++x)
                        out[x] = toPixel((*layerBody)(row.at(x), layer, arguments));
                }
            }
        });
    } catch (const std::exception& error) {
        logger().error("shader function \"{}\" failed: {}", function.name(), error.what());
        return;
    } catch (...) {
        logger().error("shader function \"{}\" failed", function.name());
        return;
    }
    pixels = std::move(result);
}

} // namespace ui
