#pragma once

#include "Prefs/Key.h"
#include "Prefs/Observable.h"
#include "Prefs/ViewStorage.h"

#include "foundation/Fatal.h"

#include "ui/Binding.h"
#include "ui/Label.h"
#include "ui/Text.h"
#include "ui/Toggle.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace Prefs {

// A switch bound to a Boolean key: turning it writes the key, and it follows every other write
// to the key. `onChange` runs on every change of the shown value, the user's or anyone else's.
//
// Each toggle value watches its key through an observable of its own, made by its constructor
// and shared by its copies.
template <class Label> class Toggle {
public:
    using ChangeHandler = std::function<void(bool)>;

    Toggle(std::shared_ptr<Key<bool>> key, std::function<Label()> label)
        : label_(std::move(label))
        , observable_(std::make_shared<Observable<bool>>(std::move(key))) {
        if (!label_) foundation::fatal("Prefs.Toggle: no label for \"" + observable_->key()->name() + "\"");
    }

    // The title is shown as it is, never looked up as a localisation key.
    Toggle(std::string title, std::shared_ptr<Key<bool>> key) requires std::same_as<Label, ui::Text>
        : Toggle(std::move(key), [title = std::move(title)] { return ui::Text::verbatim(title); }) {}

    // The title, shown as it is, after the named system symbol.
    Toggle(std::string title, std::string systemImage,
           std::shared_ptr<Key<bool>> key) requires std::same_as<Label, ui::Label>
        : Toggle(std::move(key), [title = std::move(title), systemImage = std::move(systemImage)] {
            return ui::Label(ui::Text::verbatim(title), systemImage);
        }) {}

    ui::View body(ui::ViewContext& ctx) const {
        const auto observable = ctx.observedObject(observable_);
        const ui::Binding<bool> isOn([observable] { return observable->value(); },
                                     [observable](bool value) { observable->setValue(value); });
        // The handler is looked up when the change is reported, so a later onChange counts.
        return ui::Toggle(isOn, ui::View(label_()))
            .onChange(observable->value(), [storage = onChange_.installed(ctx, "onChange")](bool value) {
                if (const auto& handler = storage.wrappedValue()) (*handler)(value);
            });
    }

    // Stores `action` in the handler storage this toggle shares with its copies, and returns a
    // copy.
    Toggle onChange(ChangeHandler action) const {
        onChange_.setWrappedValue(std::optional<ChangeHandler>(std::move(action)));
        return *this;
    }

    const std::shared_ptr<Observable<bool>>& observable() const { return observable_; }

private:
    ViewStorage<std::optional<ChangeHandler>> onChange_{[] { return std::optional<ChangeHandler>(); }};
    std::function<Label()> label_;
    std::shared_ptr<Observable<bool>> observable_;
};

template <std::convertible_to<std::string> Title>
Toggle(Title, std::shared_ptr<Key<bool>>) -> Toggle<ui::Text>;
template <std::convertible_to<std::string> Title, std::convertible_to<std::string> Image>
Toggle(Title, Image, std::shared_ptr<Key<bool>>) -> Toggle<ui::Label>;
template <std::invocable F>
Toggle(std::shared_ptr<Key<bool>>, F) -> Toggle<std::remove_cvref_t<std::invoke_result_t<F&>>>;

} // namespace Prefs
