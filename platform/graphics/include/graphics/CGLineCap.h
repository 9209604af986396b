#pragma once

namespace graphics {

// How an open end of a stroked line is drawn.
enum class CGLineCap { butt, round, square };

} // namespace graphics
