#pragma once

#include "graphics/CGPoint.h"
#include "ui/ShaderArguments.h"
#include "ui/ShaderFunction.h"

#include <QImage>
#include <QPoint>
#include <QTransform>

namespace ui {

// A shader ready to run over a layer's pixels: the function, its resolved arguments, and where
// the view's coordinates start.
struct ShaderPass {
    ShaderFunction function;
    ShaderArguments arguments;
    // The view's top leading corner in the coordinates of the layer's content: positions handed
    // to the function are relative to it.
    graphics::CGPoint origin;

    // Runs the function over every pixel of `pixels` (premultiplied ARGB32, other formats are
    // converted), whose top left pixel lies at `devicePosition` on a device onto which
    // `toDevice` maps the layer content's coordinates. Rows are shared among a few threads.
    // A function that throws leaves the pixels as they were; the error is logged.
    void run(QImage& pixels, QPoint devicePosition, const QTransform& toDevice) const;
};

} // namespace ui
