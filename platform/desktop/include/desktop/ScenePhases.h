#pragma once

#include "foundation/ScenePhase.h"

#include <vector>

namespace desktop {

// What the phase of a scene follows in one of its windows.
struct WindowPresence {
    bool visible = false;
    bool minimised = false;
    bool focused = false;
};

// Active while one of the windows has the focus, background when every window is closed
// (absent) or minimised, inactive otherwise.
foundation::ScenePhase scenePhase(const std::vector<WindowPresence>& windows);

// The program's phase: active while any scene is, background when all are (or there are
// none), inactive otherwise.
foundation::ScenePhase applicationPhase(const std::vector<foundation::ScenePhase>& scenes);

} // namespace desktop
