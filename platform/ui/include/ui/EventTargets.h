#pragma once

#include "graphics/CGPoint.h"
#include "ui/EnvironmentValues.h"
#include "ui/KeyPress.h"
#include "ui/View.h"

#include <functional>
#include <optional>

namespace ui {

// The shortcut View::keyboardShortcut gives the controls below it.
struct KeyboardShortcutKey {
    using Value = std::optional<KeyboardShortcut>;
    static Value defaultValue() { return std::nullopt; }
};

// For controls: `action` runs when the keyboard shortcut of the content's environment is
// pressed and nothing under the keyboard focus took the key; not while disabled.
View keyboardShortcutTarget(View content, std::function<void()> action);

// For context menus: `action` gets a secondary click on the content, at a point in the
// content's coordinates; the innermost target under the pointer takes it.
View secondaryClickTarget(View content, std::function<void(graphics::CGPoint)> action);

} // namespace ui
