#include "ui/Alert.h"

namespace ui {

std::string Alert::Button::title() const {
    if (!label.node()) return {};
    return label.node()->text().value_or(std::string());
}

Alert::Alert(Text title, std::optional<Text> message, std::optional<Button> dismissButton)
    : Alert(std::move(title), std::move(message),
            std::vector<Button>{dismissButton ? std::move(*dismissButton) : Button::default_(Text("OK"))}) {}

Alert::Alert(Text title, std::optional<Text> message, Button primaryButton, Button secondaryButton)
    : Alert(std::move(title), std::move(message), std::vector<Button>{std::move(primaryButton), std::move(secondaryButton)}) {}

Alert::Alert(Text title, std::optional<Text> message, std::vector<Button> buttons)
    : title(std::move(title))
    , buttons(std::move(buttons)) {
    if (message) this->message = View(std::move(*message));
    if (this->buttons.empty()) this->buttons.push_back(Button::default_(Text("OK")));
}

int Alert::defaultIndex() const {
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].isDefault) return int(i);
    // Without an explicit default, the first button that neither cancels nor destroys.
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (!buttons[i].role) return int(i);
    return -1;
}

int Alert::cancelIndex() const {
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].role == ButtonRole::cancel) return int(i);
    return buttons.size() == 1 ? 0 : -1;
}

} // namespace ui
