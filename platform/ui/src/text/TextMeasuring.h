#pragma once

class QPaintDevice;

namespace ui {

// The device text is measured on. Fonts take their pixel size from it: at 72 dpi one point is one
// unit of view geometry, and the glyphs keep that size on whatever device they are drawn.
// Whatever sits beside text measures its font here too.
const QPaintDevice* textMeasuringDevice();

} // namespace ui
