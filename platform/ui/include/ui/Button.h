#pragma once

#include "ui/ButtonRole.h"
#include "ui/ButtonStyle.h"
#include "ui/LocalizedStringKey.h"
#include "ui/View.h"

#include <functional>
#include <optional>
#include <string>

namespace ui {

// A control that runs its action when clicked (pressed and released inside it), or when its
// keyboard shortcut (View::keyboardShortcut) is pressed. A disabled button does neither. The
// environment's button style draws it; inside a menu it becomes a menu entry.
class Button : public View {
public:
    using Action = std::function<void()>;

    Button(Text title, Action action);
    Button(Text title, std::optional<ButtonRole> role, Action action);
    Button(LocalizedStringKey title, Action action)
        : Button(Text(std::move(title)), std::move(action)) {}
    Button(const char* title, Action action)
        : Button(Text(title), std::move(action)) {}
    Button(const char* title, std::optional<ButtonRole> role, Action action)
        : Button(Text(title), role, std::move(action)) {}
    // A Label of the title and the system image.
    Button(Text title, std::string systemImage, Action action);
    Button(Action action, View label);
    Button(std::optional<ButtonRole> role, Action action, View label);
};

namespace detail {

// What a button description holds, for the views that turn buttons into something else
// (menus).
struct ButtonModel {
    View label;
    std::optional<ButtonRole> role;
    std::function<void()> action;
};
const ButtonModel* buttonModel(const View& view);

} // namespace detail

} // namespace ui
