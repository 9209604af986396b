#pragma once

#include "ui/DisplayList.h"
#include "ui/GraphicsContext.h"

#include <QBrush>
#include <QPainterPath>
#include <QTransform>

#include <functional>

#include <memory>
#include <vector>

namespace ui::detail {

// A canvas layer of a few round fills of one solid colour, each at its own opacity and some of
// them blurred, under one opacity: the dots a particle drawing makes by the hundred. Painted from a cache of
// blurred discs into one small layer, instead of an offscreen pass for the opacity and another, blurred, for
// each blurred fill. Matches the offscreen passes to within a level or two.
class BlurredDotLayer {
public:
    // Takes the next draw of the layer: a fill that qualifies (an axis-aligned ellipse under a
    // scale and translation, a solid brush of the layer's one colour, with no clip or blend mode
    // and at most a blur), or anything else, which disqualifies the layer.
    void fill(const QPainterPath& outline, const QBrush& brush, const GraphicsContext::State& state);
    void disqualify() { qualifies_ = false; }

    // Whether the layer can be painted this way: only qualifying fills, at least one blurred.
    bool qualifies() const;
    // Whether every draw so far qualifies.
    bool qualifiesSoFar() const { return qualifies_; }
    // The layer's draw under `opacity`; painted through `exact` (making the layer's own list) where the
    // device turns or skews the dots, or blurs them too little for the cache.
    DisplayList::Draw draw(std::function<DisplayList()> exact, double opacity) const;

private:
    struct Dot {
        QPainterPath outline;
        QTransform transform; // to the canvas
        double opacity;
        double blurRadius; // in the canvas's units; 0 for a sharp fill
    };
    bool sameOutlineAsLast(const QPainterPath& outline) const;

    std::vector<Dot> dots_;
    QColor color_;
    bool qualifies_ = true;
};

} // namespace ui::detail
