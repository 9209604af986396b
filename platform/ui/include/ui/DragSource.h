#pragma once

#include "foundation/NSItemProvider.h"
#include "ui/View.h"

#include <functional>

namespace ui {

// View::onDrag with a way for the view to hear how the drag it starts ends: `ended` runs once,
// with true when a target performed the drop, and false when the drag was released over no
// target or a refusing one, cancelled (Escape, the window losing the pointer) or the view went
// away. The preview shows under the pointer above everything in the window: `preview`, or the
// view as it looked when the drag began.
//
//     ui::onDrag(row, [] { return provider; }, [](bool performed) { ... })
View onDrag(const View& view, std::function<foundation::NSItemProvider()> data,
            std::function<void(bool performed)> ended);
View onDrag(const View& view, std::function<foundation::NSItemProvider()> data, View preview,
            std::function<void(bool performed)> ended);

} // namespace ui
