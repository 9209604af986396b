#include "ui/ShaderFunction.h"

namespace ui {

ShaderFunction::ShaderFunction(std::string name, ColorBody body)
    : name_(std::move(name)) {
    if (body) body_ = std::make_shared<const std::variant<ColorBody, LayerBody>>(std::move(body));
}

ShaderFunction::ShaderFunction(std::string name, LayerBody body)
    : name_(std::move(name)) {
    if (body) body_ = std::make_shared<const std::variant<ColorBody, LayerBody>>(std::move(body));
}

ShaderFunction::ShaderFunction(std::string name, ColorBody body, ColorRowBody rows)
    : ShaderFunction(std::move(name), std::move(body)) {
    if (body_ && rows) rows_ = std::make_shared<const ColorRowBody>(std::move(rows));
}

const ShaderFunction::ColorBody* ShaderFunction::colorBody() const {
    return body_ ? std::get_if<ColorBody>(body_.get()) : nullptr;
}

const ShaderFunction::LayerBody* ShaderFunction::layerBody() const {
    return body_ ? std::get_if<LayerBody>(body_.get()) : nullptr;
}

} // namespace ui
