#pragma once

#include "graphics/CGPoint.h"
#include "ui/ShaderArguments.h"
#include "ui/ShaderColor.h"
#include "ui/ShaderLayer.h"

#include <functional>
#include <memory>
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

    // No function: effects made with it leave the content as it is.
    ShaderFunction() = default;
    ShaderFunction(std::string name, ColorBody body);
    ShaderFunction(std::string name, LayerBody body);

    const std::string& name() const { return name_; }
    bool isEmpty() const { return !body_; }
    const ColorBody* colorBody() const;
    const LayerBody* layerBody() const;

    // The same function: the same name and the same body (copies share it).
    bool operator==(const ShaderFunction& other) const {
        return name_ == other.name_ && body_ == other.body_;
    }

private:
    std::string name_;
    std::shared_ptr<const std::variant<ColorBody, LayerBody>> body_;
};

} // namespace ui
