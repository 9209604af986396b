#pragma once

#include "graphics/CGPoint.h"
#include "ui/ShaderArguments.h"
#include "ui/ShaderColor.h"
#include "ui/ShaderLayer.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>

namespace ui {

// A named C++ function run once per pixel of a view's layer. A colour function maps the pixel's
// position (in the view's coordinates, points from its top leading corner, at the pixel's
// centre) and its colour to a new colour; a layer function gets the whole layer to sample
// instead of one colour. Functions run on several threads at once over different rows, so
// they must not change shared state; the result then does not depend on how rows were split.
class ShaderFunction {
public:
    using ColorBody = std::function<ShaderColor(graphics::CGPoint position, ShaderColor color,
                                                const ShaderArguments& arguments)>;
    using LayerBody = std::function<ShaderColor(graphics::CGPoint position, const ShaderLayer& layer,
                                                const ShaderArguments& arguments)>;
    // A colour function over a run of pixels along a row, for functions whose per-pixel call
    // costs much beside their work: replaces colors[i], the colour of the pixel at
    // (start.x + i * step.x, start.y + i * step.y), by what the colour function gives for it.
    using ColorRowBody = std::function<void(graphics::CGPoint start, graphics::CGPoint step,
                                            std::span<ShaderColor> colors, const ShaderArguments& arguments)>;

    // No function: effects made with it leave the content as it is.
    ShaderFunction() = default;
    ShaderFunction(std::string name, ColorBody body);
    ShaderFunction(std::string name, LayerBody body);
    // A colour function with its row form, which must give the colours `body` gives: rows run
    // through it where pixel positions along a row are evenly spaced, through `body` elsewhere.
    ShaderFunction(std::string name, ColorBody body, ColorRowBody rows);

    const std::string& name() const { return name_; }
    bool isEmpty() const { return !body_; }
    const ColorBody* colorBody() const;
    const LayerBody* layerBody() const;
    // The colour function's row form, if it has one.
    const ColorRowBody* colorRowBody() const { return rows_.get(); }

    // The same function: the same name and the same body (copies share it).
    bool operator==(const ShaderFunction& other) const {
        return name_ == other.name_ && body_ == other.body_ && rows_ == other.rows_;
    }

private:
    std::string name_;
    std::shared_ptr<const std::variant<ColorBody, LayerBody>> body_;
    std::shared_ptr<const ColorRowBody> rows_; // only beside a colour body
};

} // namespace ui
