#pragma once

#include "ui/Scene.h"

namespace ui {

// The settings scene: one window, opened from the application menu's "Settings…" (Ctrl+,).
class Settings : public Scene {
public:
    explicit Settings(View content);
};

} // namespace ui
