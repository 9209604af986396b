#pragma once

namespace ui {

// Where two colours are blended. `device` interpolates the gamma-encoded sRGB components, as a
// display would; `perceptual` interpolates in Oklab, so equal steps look equally far apart.
// Both blend premultiplied by opacity, so a transparent end adds no colour of its own.
enum class GradientColorSpace { device, perceptual };

} // namespace ui
