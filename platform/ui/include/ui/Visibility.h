#pragma once

namespace ui {

// Whether a part of a view shows; automatic leaves it to the view.
enum class Visibility { automatic, visible, hidden };

} // namespace ui
