#pragma once

#include <QPainter>

#include <optional>
#include <string_view>

namespace ui {

// How a view's pixels combine with what is already drawn beneath it.
enum class BlendMode {
    normal,
    multiply,
    screen,
    overlay,
    darken,
    lighten,
    colorDodge,
    colorBurn,
    softLight,
    hardLight,
    difference,
    exclusion,
    hue,
    saturation,
    color,
    luminosity,
    sourceAtop,
    destinationOver,
    destinationOut,
    plusDarker,
    plusLighter,
};

std::string_view description(BlendMode mode);

// The QPainter composition mode that computes `mode`. None for the modes QPainter lacks: hue,
// saturation, color and luminosity (they mix in a hue/saturation/luminosity space) and
// plusDarker (a clamped sum towards black).
std::optional<QPainter::CompositionMode> compositionMode(BlendMode mode);

// Makes the painter draw with `mode`. A mode QPainter lacks draws as normal, and the first use
// of each such mode logs a warning.
void setBlendMode(QPainter& painter, BlendMode mode);

} // namespace ui
