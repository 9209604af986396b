#pragma once

#include "ui/DisplayList.h"
#include "ui/GraphicsContext.h"

#include <QBrush>
#include <QPainterPath>
#include <QTransform>

#include <memory>
#include <vector>

namespace ui::detail {

// Whether `t` only scales (by positive factors) and moves: dots stay upright ellipses under it.
bool isUprightScale(const QTransform& t);

// A canvas layer of a few round fills of one solid colour, each at its own opacity and some of
// them blurred, under one opacity: the dots a particle drawing makes by the hundred. Collected
// here to be painted with its neighbours by a BlurredDotBatch instead of an offscreen pass for the
// opacity and another, blurred, for each blurred fill.
class BlurredDotLayer {
public:
    struct Dot {
        QPainterPath outline;
        QTransform transform; // to the canvas
        double opacity;
        double blurRadius; // in the canvas's units; 0 for a sharp fill
    };

    // Takes the next draw of the layer: a fill that qualifies (an axis-aligned ellipse under a
    // scale and translation, a solid brush of the layer's one colour, with no clip or blend mode
    // and at most a blur), or anything else, which disqualifies the layer.
    void fill(const QPainterPath& outline, const QBrush& brush, const GraphicsContext::State& state);
    void disqualify() { qualifies_ = false; }

    // Whether the layer can be painted this way: only qualifying fills, at least one blurred.
    bool qualifies() const;
    // Whether every draw so far qualifies.
    bool qualifiesSoFar() const { return qualifies_; }

    const std::vector<Dot>& dots() const { return dots_; }
    std::vector<Dot> takeDots() { return std::move(dots_); }
    const QColor& color() const { return color_; }

private:
    bool sameOutlineAsLast(const QPainterPath& outline) const;

    std::vector<Dot> dots_;
    QColor color_;
    bool qualifies_ = true;
};

} // namespace ui::detail
