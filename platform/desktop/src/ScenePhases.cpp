#include "desktop/ScenePhases.h"

#include <algorithm>

namespace desktop {

using foundation::ScenePhase;

ScenePhase scenePhase(const std::vector<WindowPresence>& windows) {
    bool shown = false;
    for (const auto& window : windows) {
        if (!window.visible || window.minimised) continue;
        if (window.focused) return ScenePhase::active;
        shown = true;
    }
    return shown ? ScenePhase::inactive : ScenePhase::background;
}

ScenePhase applicationPhase(const std::vector<ScenePhase>& scenes) {
    if (std::ranges::find(scenes, ScenePhase::active) != scenes.end()) return ScenePhase::active;
    if (std::ranges::all_of(scenes, [](ScenePhase p) { return p == ScenePhase::background; }))
        return ScenePhase::background;
    return ScenePhase::inactive;
}

} // namespace desktop
