#include "ui/BlendMode.h"

#include <foundation/Logger.h>

#include <array>
#include <atomic>

namespace ui {

std::string_view description(BlendMode mode) {
    switch (mode) {
    case BlendMode::normal:
        return "normal";
    case BlendMode::multiply:
        return "multiply";
    case BlendMode::screen:
        return "screen";
    case BlendMode::overlay:
        return "overlay";
    case BlendMode::darken:
        return "darken";
    case BlendMode::lighten:
        return "lighten";
    case BlendMode::colorDodge:
        return "colorDodge";
    case BlendMode::colorBurn:
        return "colorBurn";
    case BlendMode::softLight:
        return "softLight";
    case BlendMode::hardLight:
        return "hardLight";
    case BlendMode::difference:
        return "difference";
    case BlendMode::exclusion:
        return "exclusion";
    case BlendMode::hue:
        return "hue";
    case BlendMode::saturation:
        return "saturation";
    case BlendMode::color:
        return "color";
    case BlendMode::luminosity:
        return "luminosity";
    case BlendMode::sourceAtop:
        return "sourceAtop";
    case BlendMode::destinationOver:
        return "destinationOver";
    case BlendMode::destinationOut:
        return "destinationOut";
    case BlendMode::plusDarker:
        return "plusDarker";
    case BlendMode::plusLighter:
        return "plusLighter";
    }
    return "normal";
}

std::optional<QPainter::CompositionMode> compositionMode(BlendMode mode) {
    using M = QPainter::CompositionMode;
    switch (mode) {
    case BlendMode::normal:
        return M::CompositionMode_SourceOver;
    case BlendMode::multiply:
        return M::CompositionMode_Multiply;
    case BlendMode::screen:
        return M::CompositionMode_Screen;
    case BlendMode::overlay:
        return M::CompositionMode_Overlay;
    case BlendMode::darken:
        return M::CompositionMode_Darken;
    case BlendMode::lighten:
        return M::CompositionMode_Lighten;
    case BlendMode::colorDodge:
        return M::CompositionMode_ColorDodge;
    case BlendMode::colorBurn:
        return M::CompositionMode_ColorBurn;
    case BlendMode::softLight:
        return M::CompositionMode_SoftLight;
    case BlendMode::hardLight:
        return M::CompositionMode_HardLight;
    case BlendMode::difference:
        return M::CompositionMode_Difference;
    case BlendMode::exclusion:
        return M::CompositionMode_Exclusion;
    case BlendMode::sourceAtop:
        return M::CompositionMode_SourceAtop;
    case BlendMode::destinationOver:
        return M::CompositionMode_DestinationOver;
    case BlendMode::destinationOut:
        return M::CompositionMode_DestinationOut;
    case BlendMode::plusLighter:
        return M::CompositionMode_Plus;
    case BlendMode::hue:
    case BlendMode::saturation:
    case BlendMode::color:
    case BlendMode::luminosity:
    case BlendMode::plusDarker:
        return std::nullopt;
    }
    return std::nullopt;
}

void setBlendMode(QPainter& painter, BlendMode mode) {
    if (auto qt = compositionMode(mode)) {
        painter.setCompositionMode(*qt);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    static std::array<std::atomic_bool, static_cast<std::size_t>(BlendMode::plusLighter) + 1> warned{};
    if (warned[static_cast<std::size_t>(mode)].exchange(true)) return;
    static const foundation::Logger logger("ui", "BlendMode");
    logger.error("Blend mode {} cannot be drawn here; drawing as normal instead", description(mode));
}

} // namespace ui
