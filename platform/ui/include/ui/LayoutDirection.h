#pragma once

namespace ui {

// Which way "leading" points: left in left-to-right text, right in right-to-left text.
enum class LayoutDirection { leftToRight, rightToLeft };

} // namespace ui
