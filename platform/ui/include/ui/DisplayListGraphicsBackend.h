#pragma once

#include "ui/DisplayList.h"
#include "ui/GraphicsContextBackend.h"
#include "ui/StyleContext.h"

#include <memory>

namespace ui {

namespace detail {
class BlurredDotLayer;
}

// Paints a GraphicsContext's draws into a display list, in the canvas's coordinates. Each
// draw becomes its item under layers for its transform and clip, its filters (in the order they
// were added) and its opacity and blend mode; the renderer paints apart only what needs it. A
// layer of a few blurred and sharp dots of one colour is painted from a cache of blurred discs.
class DisplayListGraphicsBackend final : public GraphicsContextBackend {
public:
    explicit DisplayListGraphicsBackend(StyleContext style = {});

    const DisplayList& list() const { return *list_; }
    // Stops taking draws (those after it are dropped): the list has been handed on.
    void close() { closed_ = true; }

    void fill(const Path& path, const GraphicsContext::Shading& shading, FillStyle style,
              const State& state) override;
    void stroke(const Path& path, const GraphicsContext::Shading& shading, const StrokeStyle& style,
                const State& state) override;
    void draw(const GraphicsContext::Drawable& drawable, const graphics::CGAffineTransform& placement,
              const State& state) override;
    std::shared_ptr<GraphicsContextBackend> beginLayer(const State& state) override;
    void endLayer(GraphicsContextBackend& layer, const State& state) override;

private:
    // The list to record one draw into, whose content covers `bounds` (canvas coordinates) before
    // its transform; `transformed` whether the draw's own transform applies.
    DisplayList* target(const State& state, QRectF bounds, bool transformed);
    bool accepting() const;

    StyleContext style_;
    std::shared_ptr<DisplayList> list_ = std::make_shared<DisplayList>();
    std::shared_ptr<detail::BlurredDotLayer> dots_;
    bool closed_ = false;
};

} // namespace ui
