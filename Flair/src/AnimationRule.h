#pragma once

#include "ui/Animation.h"
#include "ui/View.h"

#include <functional>
#include <optional>

namespace Flair::detail {

// `make(content)`, in which every change of the views `make` adds animates with `animation`
// (none: does not animate), unless its transaction disables animations. The content keeps the
// transaction from outside.
ui::View animatingOwnViews(ui::View content, std::function<ui::View(ui::View)> make,
                           std::optional<ui::Animation> animation);

} // namespace Flair::detail
