#pragma once

#include "ui/DisplayList.h"
#include "ui/GraphicsContextBackend.h"
#include "ui/StyleContext.h"

#include <QBrush>
#include <QPainterPath>

#include <memory>
#include <vector>

namespace ui {

namespace detail {
class BlurredDotBatch;
class BlurredDotLayer;
} // namespace detail

// Paints a GraphicsContext's draws into a display list, in the canvas's coordinates. Each
// draw becomes its item under layers for its transform and clip, its filters (in the order they
// were added) and its opacity and blend mode; the renderer paints apart only what needs it. Layers
// of a few blurred and sharp dots of one colour, one after another, are painted together as one
// item, from a cache of blurred discs.
class DisplayListGraphicsBackend final : public GraphicsContextBackend {
public:
    explicit DisplayListGraphicsBackend(StyleContext style = {});

    const DisplayList& list() const {
        flush();
        return *list_;
    }
    // Stops taking draws (those after it are dropped): the list has been handed on.
    void close() { closed_ = true; }
    // The list, moved out rather than copied; the backend is left with an empty one.
    DisplayList takeList();

    void fill(const Path& path, const GraphicsContext::Shading& shading, FillStyle style,
              const State& state) override;
    void stroke(const Path& path, const GraphicsContext::Shading& shading, const StrokeStyle& style,
                const State& state) override;
    void draw(const GraphicsContext::Drawable& drawable, const graphics::CGAffineTransform& placement,
              const State& state) override;
    std::shared_ptr<GraphicsContextBackend> beginLayer(const State& state) override;
    void endLayer(GraphicsContextBackend& layer, const State& state) override;

private:
    struct PendingFill {
        QPainterPath outline;
        QBrush brush;
        State state;
        QRectF bounds;
    };
    // Records the dot layers held for one item and the fills held back while the layer could still
    // be painted from the dot cache, which needs no list of them.
    void flush() const;
    void recordPending() const;
    static void record(DisplayList& list, const std::vector<PendingFill>& fills);
    bool accepting() const;

    StyleContext style_;
    std::shared_ptr<DisplayList> list_ = std::make_shared<DisplayList>();
    std::shared_ptr<detail::BlurredDotLayer> dots_;
    std::shared_ptr<detail::BlurredDotBatch> batch_;
    mutable std::vector<PendingFill> pending_;
    bool closed_ = false;
};

} // namespace ui
