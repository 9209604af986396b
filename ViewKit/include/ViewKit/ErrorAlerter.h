#pragma once

#include "ViewKit/AlertContext.h"
#include "ViewKit/MainActor.h"

#include "foundation/Task.h"
#include "ui/Alert.h"

#include <concepts>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ViewKit {

// The button text of an error alert when the error brings none.
inline constexpr std::string_view defaultErrorButtonText = "OK";

// An error class that brings its own alert texts derives from this too; the alerter finds it
// with dynamic_cast.
class ErrorAlertConvertible {
public:
    virtual ~ErrorAlertConvertible() = default;
    virtual std::string errorTitle() const = 0;
    virtual std::string errorMessage() const = 0;
    virtual std::string errorButtonText() const = 0;

    // Title, message and one default button that does nothing, all shown verbatim.
    ui::Alert errorAlert() const;
};

// Shows errors as alerts through an AlertContext. Builds the alert when the bound view asks
// for it, from texts taken at the call: a convertible error's own three texts, else the error's
// description (what()) as the title, no message and `okButtonText` on the button.
void showErrorAlert(AlertContext& context, const std::exception& error,
                    std::string okButtonText = std::string(defaultErrorButtonText));

// A main-actor type that owns an AlertContext adopts this to show errors with one call.
class ErrorAlerter {
public:
    virtual ~ErrorAlerter() = default;
    // The context the alerts go through.
    virtual std::shared_ptr<AlertContext> alert() const = 0;

    // Shows the error after the current main-queue turn.
    void alert(const std::exception& error, std::string okButtonText = std::string(defaultErrorButtonText)) const {
        detail::requireMainActor("ErrorAlerter::alert");
        if (auto context = alert()) showErrorAlert(*context, error, std::move(okButtonText));
    }

    // Runs `operation`, handing it a completion to call with the error, or nothing on success.
    // Each error is shown (button "OK"); every result is then passed on to `completion`.
    // The error type is named: tryWithErrorAlert<SaveError>(operation, completion).
    template <std::derived_from<std::exception> E>
    void tryWithErrorAlert(const std::function<void(std::function<void(std::optional<E>)>)>& operation,
                           std::function<void(std::optional<E>)> completion) const {
        detail::requireMainActor("ErrorAlerter::tryWithErrorAlert");
        operation([context = alert(), completion = std::move(completion)](std::optional<E> error) {
            if (error && context) showErrorAlert(*context, *error);
            if (completion) completion(std::move(error));
        });
    }

    // Starts a main-actor task that awaits `operation`; an exception it throws is shown (button
    // "OK"). Returns at once. The task holds the alert context, not this adopter, so an adopter
    // gone before the operation ends is never touched and the alert still shows.
    void tryWithErrorAlert(std::function<foundation::Task<>()> operation) const;
};

} // namespace ViewKit
