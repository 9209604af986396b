#pragma once

#include "graphics/CGPoint.h"
#include "ui/ShaderColor.h"

#include <QImage>
#include <QTransform>

namespace ui {

// The pixels of a view's layer as a layer shader reads them: sampled anywhere, in the same
// coordinates the function gets its position in.
class ShaderLayer {
public:
    // `pixels` is premultiplied ARGB32; `toPixels` maps the view's coordinates to pixel
    // coordinates of the image (the top left corner of pixel (0, 0) at the origin).
    ShaderLayer(const QImage& pixels, const QTransform& toPixels);

    // The colour at `position`, blended from the four nearest pixels; transparent beyond the
    // layer's edges.
    ShaderColor sample(graphics::CGPoint position) const;

private:
    ShaderColor pixel(int x, int y) const;

    QImage pixels_; // shares the pixels, never writes them
    QTransform toPixels_;
    int width_, height_;
    const uchar* bits_;
    qsizetype stride_;
};

} // namespace ui
