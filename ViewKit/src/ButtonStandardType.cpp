#include "ViewKit/ButtonStandardType.h"

#include "ViewKit/ResourceBundleAccessor.h"

#include "ui/Label.h"
#include "ui/Text.h"

#include <cstddef>
#include <string_view>

namespace ViewKit {

namespace {

struct Entry {
    std::string_view rawValue;
    std::string_view titleKey;
    std::string_view symbol;
};

// In declaration order.
constexpr std::array<Entry, 17> entries{{
    {"add", "Button.Add", "plus"},
    {"addFavorite", "Button.AddFavorite", "star.circle"},
    {"addToFavorites", "Button.AddToFavorites", "star.circle"},
    {"cancel", "Button.Cancel", "xmark"},
    {"call", "Button.Call", "phone"},
    {"copy", "Button.Copy", "doc.on.doc"},
    {"delete", "Button.Delete", "trash"},
    {"deselect", "Button.Deselect", "checkmark.circle.fill"},
    {"done", "Button.Done", "checkmark"},
    {"edit", "Button.Edit", "pencil"},
    {"email", "Button.Email", "envelope"},
    {"ok", "Button.OK", "checkmark"},
    {"paste", "Button.Paste", "clipboard"},
    {"removeFavorite", "Button.RemoveFavorite", "star.circle.fill"},
    {"removeFromFavorites", "Button.RemoveFromFavorites", "star.circle.fill"},
    {"select", "Button.Select", "checkmark.circle"},
    {"share", "Button.Share", "square.and.arrow.up"},
}};

const Entry& entry(ButtonStandardType type) {
    return entries[static_cast<std::size_t>(type)];
}

} // namespace

const std::array<ButtonStandardType, 17>& allButtonStandardTypes() {
    static const auto all = [] {
        std::array<ButtonStandardType, 17> cases{};
        for (std::size_t i = 0; i < cases.size(); ++i) cases[i] = static_cast<ButtonStandardType>(i);
        return cases;
    }();
    return all;
}

ui::LocalizedStringKey title(ButtonStandardType type) {
    return ui::LocalizedStringKey(std::string(entry(type).titleKey));
}

std::optional<std::string> imageName(ButtonStandardType type) {
    return std::string(entry(type).symbol);
}

ui::Image image(ButtonStandardType type) {
    return ui::Image::systemName(*imageName(type));
}

std::optional<ui::ButtonRole> role(ButtonStandardType type) {
    switch (type) {
    case ButtonStandardType::cancel:
        return ui::ButtonRole::cancel;
    case ButtonStandardType::delete_:
        return ui::ButtonRole::destructive;
    default:
        return std::nullopt;
    }
}

std::string id(ButtonStandardType type) {
    return foundation::rawValue(type);
}

ui::Button standardButton(ButtonStandardType type, std::optional<ui::LocalizedStringKey> customTitle,
                          std::optional<ui::Image> customIcon, std::shared_ptr<const foundation::Bundle> bundle,
                          ui::Button::Action action) {
    ui::Text text = customTitle ? ui::Text(std::move(*customTitle), {}, std::move(bundle))
                                : ui::Text(title(type), {}, moduleBundle());
    ui::View icon = customIcon ? ui::View(std::move(*customIcon)) : ui::View(image(type));
    return ui::Button(role(type), std::move(action), ui::Label(std::move(text), std::move(icon)));
}

ui::Button labelledButton(ui::LocalizedStringKey title, ui::Image image,
                          std::shared_ptr<const foundation::Bundle> bundle, ui::Button::Action action) {
    return ui::Button(std::nullopt, std::move(action),
                      ui::Label(ui::Text(std::move(title), {}, std::move(bundle)), std::move(image)));
}

} // namespace ViewKit

std::string foundation::RawRepresentation<ViewKit::ButtonStandardType>::rawValue(ViewKit::ButtonStandardType type) {
    return std::string(ViewKit::entry(type).rawValue);
}

std::optional<ViewKit::ButtonStandardType>
foundation::RawRepresentation<ViewKit::ButtonStandardType>::fromRawValue(const std::string& raw) {
    for (const auto type : ViewKit::allButtonStandardTypes())
        if (ViewKit::entry(type).rawValue == raw) return type;
    return std::nullopt;
}
