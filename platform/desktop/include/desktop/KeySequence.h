#pragma once

#include "ui/KeyPress.h"

#include <QKeySequence>

namespace desktop {

// The Qt key sequence of a shortcut: Command is Ctrl, Control is Meta, Option is Alt.
// A key Qt cannot name gives an empty sequence.
QKeySequence keySequence(const ui::KeyboardShortcut& shortcut);

} // namespace desktop
