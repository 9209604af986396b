#pragma once

#include "graphics/CGSize.h"
#include "ui/Preference.h"
#include "ui/Toolbar.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// Scenes are descriptions: an application's body is evaluated as a view of a graph of its own
// that shows nothing, so the application has state, environment (the application-wide scene
// phase) and change handlers like any view. Each scene hands its configuration up as a
// preference; the program's host (platform/desktop) opens and updates the windows.
namespace ui {

enum class SceneKind { windowGroup, settings };

// How the user may resize the scene's windows: automatic (the content's minimum for window
// groups, the content's size range for settings), within the content's sizes, or down to the
// content's minimum.
enum class WindowResizability { automatic, contentSize, contentMinSize };

struct SceneConfiguration {
    SceneKind kind = SceneKind::windowGroup;
    std::string title{};
    View content{};
    // Modifiers for the content of each window, outermost last.
    std::vector<std::function<View(View)>> contentModifiers{};
    std::optional<graphics::CGSize> defaultSize{};
    // Where on the screen a new window stands; the platform's choice when empty.
    std::optional<UnitPoint> defaultPosition{};
    WindowResizability resizability = WindowResizability::automatic;
    WindowToolbarStyle toolbarStyle = WindowToolbarStyle::automatic;

    View windowContent() const;

    // Content modifiers cannot be compared, so a configuration is always taken as new.
    friend bool operator==(const SceneConfiguration&, const SceneConfiguration&) { return false; }
};

// The scenes of the application, in tree order.
struct ScenesKey {
    using Value = std::vector<SceneConfiguration>;
    static Value defaultValue() { return {}; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        auto more = next();
        value.insert(value.end(), more.begin(), more.end());
    }
};

// One scene, or several (built from a list). Modifiers of windows apply to each scene of a
// list; commands and change handlers belong to the whole.
class Scene {
public:
    Scene(std::vector<Scene> scenes);
    Scene(std::initializer_list<Scene> scenes)
        : Scene(std::vector<Scene>(scenes)) {}

    // Menu commands: any Commands value (or view of command groups).
    Scene commands(View content) const;
    // Runs `action(old, new)` when `value` differs from the previous evaluation's, and with
    // `initial` also when the application starts.
    template <class T, class F> Scene onChange(T value, bool initial, F action) const {
        return wrapped([=](View view) { return view.onChange(value, initial, action); });
    }
    Scene defaultSize(CGFloat width, CGFloat height) const;
    Scene defaultPosition(UnitPoint position) const;
    Scene windowResizability(WindowResizability resizability) const;
    Scene windowToolbarStyle(WindowToolbarStyle style) const;
    // Applies `modify` to the content of the scene's windows (an environment value, ...).
    Scene transformContent(std::function<View(View)> modify) const;

    // The scene as a view of the application's graph.
    View view() const;

protected:
    explicit Scene(SceneConfiguration configuration);

private:
    Scene wrapped(std::function<View(View)> wrap) const;
    Scene configured(const std::function<void(SceneConfiguration&)>& change) const;

    std::optional<SceneConfiguration> configuration_;
    std::vector<Scene> children_;
    std::vector<View> commands_;
    std::vector<std::function<View(View)>> wrappers_;
};

} // namespace ui
