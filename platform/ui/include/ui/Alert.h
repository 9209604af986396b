#pragma once

#include "ui/ButtonRole.h"
#include "ui/Text.h"
#include "ui/View.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// What an alert shows: a title, an optional message and its buttons. Choosing a button closes
// the alert and then runs the button's action.
struct Alert {
    class Button {
    public:
        using Action = std::function<void()>;

        // The button Return chooses.
        static Button default_(Text label, Action action = {}) {
            return Button(View(std::move(label)), {}, true, std::move(action));
        }
        // The button Escape chooses; labelled "Cancel" when no label is given.
        static Button cancel(Action action = {}) { return cancel(Text("Cancel"), std::move(action)); }
        static Button cancel(Text label, Action action = {}) {
            return Button(View(std::move(label)), ButtonRole::cancel, false, std::move(action));
        }
        static Button destructive(Text label, Action action = {}) {
            return Button(View(std::move(label)), ButtonRole::destructive, false, std::move(action));
        }
        // A plain button (neither default, cancel nor destructive).
        Button(View label, std::optional<ButtonRole> role, bool isDefault, Action action)
            : label(std::move(label))
            , role(role)
            , isDefault(isDefault)
            , action(std::move(action)) {}

        // The label's text, for finding the button; empty when the label shows none.
        std::string title() const;

        View label;
        std::optional<ButtonRole> role;
        bool isDefault = false;
        Action action;
    };

    // Without buttons the alert shows a single default "OK" button.
    explicit Alert(Text title, std::optional<Text> message = std::nullopt,
                   std::optional<Button> dismissButton = std::nullopt);
    Alert(Text title, std::optional<Text> message, Button primaryButton, Button secondaryButton);
    Alert(Text title, std::optional<Text> message, std::vector<Button> buttons);

    Text title;
    // A text, or any view the presenter gave as the message.
    std::optional<View> message;
    // In the order shown, never empty.
    std::vector<Button> buttons;

    // The button Return chooses (the default one) and the one Escape chooses (the cancel one,
    // or the only button); -1 when there is none.
    int defaultIndex() const;
    int cancelIndex() const;
};

} // namespace ui
