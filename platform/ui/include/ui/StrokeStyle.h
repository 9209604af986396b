#pragma once

#include "graphics/CGFloat.h"
#include "graphics/CGLineCap.h"
#include "graphics/CGLineJoin.h"

#include <QBrush>
#include <QPen>

#include <vector>

class QPainterPathStroker;

namespace ui {

// How a path's outline is drawn. Lengths are in points: the width, the dash lengths and the phase.
// The miter limit is the longest miter allowed, as a multiple of the line width, measured across
// the whole join; a sharper corner is bevelled instead.
struct StrokeStyle {
    graphics::CGFloat lineWidth = 1;
    graphics::CGLineCap lineCap = graphics::CGLineCap::butt;
    graphics::CGLineJoin lineJoin = graphics::CGLineJoin::miter;
    graphics::CGFloat miterLimit = 10;
    std::vector<graphics::CGFloat> dash = {};
    graphics::CGFloat dashPhase = 0;

    // A width that is not a positive number draws nothing.
    bool drawsNothing() const;

    // The pen that draws this style with `brush`; Qt::NoPen when nothing would be drawn.
    QPen toQPen(const QBrush& brush) const;
    // The same settings for turning a path into its stroke outline. Qt's stroker has no width
    // that draws nothing (it strokes 1 wide instead), so check drawsNothing() first.
    void configure(QPainterPathStroker& stroker) const;

    bool operator==(const StrokeStyle&) const = default;
};

} // namespace ui
