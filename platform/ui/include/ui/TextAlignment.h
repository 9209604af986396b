#pragma once

namespace ui {

// How the lines of a multiline text align with each other; leading and trailing follow the
// layout direction.
enum class TextAlignment { leading, center, trailing };

} // namespace ui
