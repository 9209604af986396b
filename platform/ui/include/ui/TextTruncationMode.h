#pragma once

namespace ui {

// Where an ellipsis replaces what does not fit in the last line shown.
enum class TextTruncationMode { head, tail, middle };

} // namespace ui
