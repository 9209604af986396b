#pragma once

#include "ui/Visibility.h"

#include <functional>

namespace ui {

// Whether a view asks the system to show its persistent overlays over the window. The desktop
// shows none, so the wish is only handed up to the root, for hosts and tests to read: the
// first view in tree order that asks for anything but automatic wins.
struct PersistentSystemOverlaysKey {
    using Value = Visibility;
    static Value defaultValue() { return Visibility::automatic; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        if (value == Visibility::automatic) value = next();
    }
};

} // namespace ui
