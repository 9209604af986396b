#pragma once

#include "foundation/ScenePhase.h"
#include "ui/ColorScheme.h"
#include "ui/ContentSizeCategory.h"
#include "ui/EnvironmentActions.h"
#include "ui/EnvironmentValues.h"
#include "ui/LayoutDirection.h"

#include <QLocale>

#include <functional>
#include <memory>
#include <optional>

namespace foundation {
class UndoManager;
}

namespace ui {

enum class ControlSize { mini, small, regular, large, extraLarge };

// The scene phase is the program's, not the view layer's: headless code reacts to it too.
using ScenePhase = foundation::ScenePhase;

// The built-in keys of the environment.
struct ColorSchemeKey {
    using Value = ColorScheme;
    static Value defaultValue() { return ColorScheme::light; }
};
struct LayoutDirectionKey {
    using Value = LayoutDirection;
    static Value defaultValue() { return LayoutDirection::leftToRight; }
};
struct IsEnabledKey {
    using Value = bool;
    static Value defaultValue() { return true; }
};
struct ControlSizeKey {
    using Value = ControlSize;
    static Value defaultValue() { return ControlSize::regular; }
};
// Whether controls leave out their own labels (View::labelsHidden).
struct LabelsHiddenKey {
    using Value = bool;
    static Value defaultValue() { return false; }
};
struct LocaleKey {
    using Value = QLocale;
    static Value defaultValue() { return QLocale::system(); }
};
struct ScenePhaseKey {
    using Value = ScenePhase;
    static Value defaultValue() { return ScenePhase::active; }
};
struct UndoManagerKey {
    using Value = std::shared_ptr<foundation::UndoManager>;
    static Value defaultValue() { return nullptr; }
};
// How many modal presentations (alerts, sheets, covers) the view lies in. While any is shown,
// keyboard shortcuts reach only the views of the topmost level.
struct ModalLevelKey {
    using Value = int;
    static Value defaultValue() { return 0; }
};
struct DismissKey {
    using Value = DismissAction;
    static Value defaultValue() { return {}; }
};
struct OpenURLKey {
    using Value = OpenURLAction;
    static Value defaultValue() { return {}; }
};
struct SizeCategoryKey {
    using Value = ContentSizeCategory;
    static Value defaultValue() { return ContentSizeCategory::large; }
};

// The colour scheme a view asks its window for; the first one set in tree order wins.
struct PreferredColorSchemeKey {
    using Value = std::optional<ColorScheme>;
    static Value defaultValue() { return std::nullopt; }
    static void reduce(Value& value, const std::function<Value()>& next) {
        if (!value) value = next();
    }
};

} // namespace ui
