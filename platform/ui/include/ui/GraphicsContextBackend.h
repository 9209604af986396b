#pragma once

#include "ui/GraphicsContext.h"

#include <memory>

namespace ui {

// Where a GraphicsContext's draws go, each with the state it was made in. Implemented by the
// canvas's painting into a display list and by a recording for tests.
class GraphicsContextBackend {
public:
    using State = GraphicsContext::State;

    virtual ~GraphicsContextBackend() = default;

    virtual void fill(const Path& path, const GraphicsContext::Shading& shading, FillStyle style,
                      const State& state) = 0;
    virtual void stroke(const Path& path, const GraphicsContext::Shading& shading, const StrokeStyle& style,
                        const State& state) = 0;
    // `transform` places the drawable's own coordinates in the context's.
    virtual void draw(const GraphicsContext::Drawable& drawable, const graphics::CGAffineTransform& placement,
                      const State& state) = 0;
    // A layer: what is drawn into the returned backend until endLayer is composited as one,
    // under `state`. The returned backend draws nothing after endLayer.
    virtual std::shared_ptr<GraphicsContextBackend> beginLayer(const State& state) = 0;
    virtual void endLayer(GraphicsContextBackend& layer, const State& state) = 0;
};

} // namespace ui
