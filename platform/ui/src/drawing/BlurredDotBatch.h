#pragma once

#include "BlurredDotLayer.h"

#include "ui/DisplayList.h"

#include <QColor>
#include <QRectF>

#include <functional>
#include <vector>

namespace ui::detail {

// Consecutive dot layers of a canvas painted as one draw: the sharp fills rasterised many at a
// time (as many as lie apart), the blurred ones from a cache of blurred discs, each layer's
// coverage laid in order over one surface that is drawn once. Matches painting every layer
// through its own offscreen passes to within a level or two.
class BlurredDotBatch {
public:
    struct Layer {
        std::vector<BlurredDotLayer::Dot> dots;
        QColor color;
        std::function<DisplayList()> exact; // the layer's own list
        double opacity;
        QRectF bounds; // where it paints, blurs included
    };

    // Appends a qualifying layer drawn under `opacity`. `exact` makes the layer's own list, painted
    // where the device turns or skews the dots or blurs them too little for the cache.
    void add(BlurredDotLayer& layer, std::function<DisplayList()> exact, double opacity);
    bool isEmpty() const { return layers_.empty(); }
    // The layers so far as one draw; the batch is left empty.
    DisplayList::Draw take();

private:
    std::vector<Layer> layers_;
    QRectF bounds_;
};

} // namespace ui::detail
