#pragma once

namespace ui {

// The working colour space of offscreen drawing. The layer draws in gamma-encoded sRGB
// (nonLinear); the linear modes are accepted and draw the same way.
enum class ColorRenderingMode { nonLinear, linear, extendedLinear };

} // namespace ui
