#pragma once

#include "ui/EventModifiers.h"
#include "ui/KeyPress.h"

#include <Qt>

#include <optional>

class QKeyEvent;

namespace ui {

// What a window host hands the event dispatcher for Qt's input. Ctrl is the shortcut key of
// this desktop, so it stands for command; Alt is option, and the Super (Meta) key control.
EventModifiers eventModifiers(Qt::KeyboardModifiers modifiers);
// Empty for keys that are only modifiers.
std::optional<KeyPress> keyPress(const QKeyEvent& event);

} // namespace ui
