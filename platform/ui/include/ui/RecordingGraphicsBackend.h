#pragma once

#include "ui/GraphicsContextBackend.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

// Lists what a GraphicsContext draws, with the numbers of each command and of the state it was
// drawn in, so drawing code can be checked without pixels. Layers show as "beginLayer" and
// "endLayer" around what was drawn in them.
class RecordingGraphicsBackend final : public GraphicsContextBackend {
public:
    struct Command {
        std::string name;            // fill, stroke, draw, beginLayer, endLayer
        std::vector<double> numbers; // fill and stroke: path bounds (x y w h), then the line width;
                                     // draw: the drawable's target rectangle (x y w h)
        std::string subject;         // the shading, or the drawable's label
        GraphicsContext::State state;

        // "fill 0 0 10 10 color(1 0 0 1) | opacity(0.5)"; the part after "|" only when the
        // state is not the default.
        std::string description() const;
    };

    RecordingGraphicsBackend();

    const std::vector<Command>& commands() const { return *commands_; }
    std::vector<std::string> descriptions() const;

    void fill(const Path& path, const GraphicsContext::Shading& shading, FillStyle style,
              const State& state) override;
    void stroke(const Path& path, const GraphicsContext::Shading& shading, const StrokeStyle& style,
                const State& state) override;
    void draw(const GraphicsContext::Drawable& drawable, const graphics::CGAffineTransform& placement,
              const State& state) override;
    std::shared_ptr<GraphicsContextBackend> beginLayer(const State& state) override;
    void endLayer(GraphicsContextBackend& layer, const State& state) override;

private:
    explicit RecordingGraphicsBackend(std::shared_ptr<std::vector<Command>> commands);
    std::shared_ptr<std::vector<Command>> commands_;
};

} // namespace ui
