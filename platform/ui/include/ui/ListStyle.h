#pragma once

namespace ui {

// The only list style there is: rows edge to edge, separated by thin lines.
enum class ListStyle { plain };

} // namespace ui
