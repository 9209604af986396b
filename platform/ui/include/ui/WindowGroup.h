#pragma once

#include "ui/Scene.h"

#include <string>

namespace ui {

// A scene of windows that each show `content`; the first window opens when the program starts.
class WindowGroup : public Scene {
public:
    explicit WindowGroup(View content);
    WindowGroup(std::string title, View content);
};

} // namespace ui
