#include "ViewKit/ErrorAlerter.h"

#include "ui/Text.h"

#include <utility>

namespace ViewKit {

namespace {

ui::Alert errorAlertOf(std::string title, std::optional<std::string> message, std::string buttonText) {
    std::optional<ui::Text> messageText;
    if (message) messageText = ui::Text::verbatim(std::move(*message));
    return ui::Alert(ui::Text::verbatim(std::move(title)), std::move(messageText),
                     ui::Alert::Button::default_(ui::Text::verbatim(std::move(buttonText))));
}

} // namespace

ui::Alert ErrorAlertConvertible::errorAlert() const {
    return errorAlertOf(errorTitle(), errorMessage(), errorButtonText());
}

void showErrorAlert(AlertContext& context, const std::exception& error, std::string okButtonText) {
    detail::requireMainActor("showErrorAlert");
    if (const auto* convertible = dynamic_cast<const ErrorAlertConvertible*>(&error)) {
        context.present([title = convertible->errorTitle(), message = convertible->errorMessage(),
                         button = convertible->errorButtonText()] { return errorAlertOf(title, message, button); });
        return;
    }
    context.present([title = std::string(error.what()), button = std::move(okButtonText)] {
        return errorAlertOf(title, std::nullopt, button);
    });
}

void ErrorAlerter::tryWithErrorAlert(std::function<foundation::Task<>()> operation) const {
    detail::requireMainActor("ErrorAlerter::tryWithErrorAlert");
    foundation::Task<>([context = alert(), operation = std::move(operation)]() -> foundation::Task<> {
        try {
            co_await operation();
        } catch (const std::exception& error) {
            if (context) showErrorAlert(*context, error);
        }
    });
}

} // namespace ViewKit
