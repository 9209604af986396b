#pragma once

namespace ui {

// A case that text is shown in, whatever case its characters have (`textCase`).
enum class TextCase { uppercase, lowercase };

} // namespace ui
