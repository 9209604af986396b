#pragma once

#include "graphics/CGSize.h"

namespace ui {

class DisplayList;

// A layer a LayerRepresentable hosts: a reference type that paints itself for a clock time and
// says whether it still changes with time. Painted in its view's own coordinates (origin at the
// top leading corner, y down); what it paints past `size` shows unless it masks to bounds.
class HostedLayer {
public:
    virtual ~HostedLayer() = default;

    // Records what the layer shows at clock time `time` (seconds on the graph's clock).
    virtual void render(DisplayList& list, graphics::CGSize size, double time) const = 0;
    // Whether the picture may still change after `time`: the view asks for frames only then.
    virtual bool isAnimating(double time) const = 0;

    // Clips what the layer paints to its view's bounds.
    bool masksToBounds = false;
};

} // namespace ui
