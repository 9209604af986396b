#pragma once

#include "foundation/RawRepresentable.h"
#include "ui/Button.h"
#include "ui/ButtonRole.h"
#include "ui/Image.h"
#include "ui/LocalizedStringKey.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace foundation {
class Bundle;
}

namespace ViewKit {

// The common buttons, each with a title from the toolkit's string table, a system symbol and,
// for cancel and delete, a role. Raw values are the case names ("ok" in lower case).
enum class ButtonStandardType {
    add,
    addFavorite,
    addToFavorites,
    cancel,
    call,
    copy,
    delete_,
    deselect,
    done,
    edit,
    email,
    ok,
    paste,
    removeFavorite,
    removeFromFavorites,
    select,
    share,
};

// Every case, in declaration order.
const std::array<ButtonStandardType, 17>& allButtonStandardTypes();

// The title key ("Button.Add"), looked up in the toolkit's bundle.
ui::LocalizedStringKey title(ButtonStandardType type);
// The system symbol's name; every case has one.
std::optional<std::string> imageName(ButtonStandardType type);
ui::Image image(ButtonStandardType type);
// Cancel for cancel, destructive for delete, none for the rest.
std::optional<ui::ButtonRole> role(ButtonStandardType type);
// Its identifier: the raw value.
std::string id(ButtonStandardType type);

// A button of the standard type: a label of its title (or `customTitle`, looked up in `bundle`,
// the main bundle when null — never in the toolkit's) and its icon (or `customIcon`), with the
// type's role.
ui::Button standardButton(ButtonStandardType type, std::optional<ui::LocalizedStringKey> customTitle,
                          std::optional<ui::Image> customIcon, std::shared_ptr<const foundation::Bundle> bundle,
                          ui::Button::Action action);
inline ui::Button standardButton(ButtonStandardType type, ui::Button::Action action) {
    return standardButton(type, std::nullopt, std::nullopt, nullptr, std::move(action));
}
// A button labelled with the text `title` (looked up in `bundle`, the main bundle when null) and
// `image`, without a role.
ui::Button labelledButton(ui::LocalizedStringKey title, ui::Image image,
                          std::shared_ptr<const foundation::Bundle> bundle, ui::Button::Action action);

} // namespace ViewKit

template <> struct foundation::RawRepresentation<ViewKit::ButtonStandardType> {
    using RawValue = std::string;
    static std::string rawValue(ViewKit::ButtonStandardType type);
    // The case whose raw value is exactly `raw` (case-sensitive).
    static std::optional<ViewKit::ButtonStandardType> fromRawValue(const std::string& raw);
};
