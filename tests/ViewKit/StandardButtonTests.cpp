#include "SchemeRendering.h"
#include "ScopedEnvironment.h"

#include "ViewKit/ButtonStandardType.h"

#include "foundation/Bundle.h"
#include "ui/Label.h"
#include "ui/Stack.h"
#include "ui/SymbolImage.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ViewKit::ButtonStandardType;

std::optional<ui::ButtonRole> roleOf(const ui::Button& button) {
    const auto* model = ui::detail::buttonModel(button);
    return model ? model->role : std::nullopt;
}

// The title a button's label shows, looked up as the label would.
std::string shownTitle(const ui::Button& button) {
    const auto* model = ui::detail::buttonModel(button);
    const auto* label = model ? ui::detail::labelModel(model->label) : nullptr;
    return label ? label->title.string({}) : std::string("?");
}

} // namespace

TEST(StandardButtonTest, SeventeenCasesInOrderWithCaseSensitiveRawValues) {
    const auto& all = ViewKit::allButtonStandardTypes();
    ASSERT_EQ(all.size(), 17u);
    EXPECT_EQ(all.front(), ButtonStandardType::add);
    EXPECT_EQ(all.back(), ButtonStandardType::share);
    std::vector<std::string> raw;
    for (const auto type : all) raw.push_back(foundation::rawValue(type));
    EXPECT_EQ(raw, (std::vector<std::string>{"add", "addFavorite", "addToFavorites", "cancel", "call", "copy", "delete",
                                             "deselect", "done", "edit", "email", "ok", "paste", "removeFavorite",
                                             "removeFromFavorites", "select", "share"}));
    using Raw = foundation::RawRepresentation<ButtonStandardType>;
    EXPECT_FALSE(Raw::fromRawValue("OK"));
    EXPECT_FALSE(Raw::fromRawValue("delete_"));
    EXPECT_EQ(Raw::fromRawValue("removeFromFavorites"), all[14]);
    EXPECT_EQ(ViewKit::id(ButtonStandardType::ok), "ok");
    EXPECT_EQ(ViewKit::title(ButtonStandardType::ok).key(), "Button.OK");

    for (const auto type : all) {
        ASSERT_TRUE(ViewKit::imageName(type));
        EXPECT_FALSE(ui::SymbolImage(*ViewKit::imageName(type)).isEmpty()) << *ViewKit::imageName(type);
    }
    EXPECT_EQ(ViewKit::imageName(ButtonStandardType::select), "checkmark.circle");
    EXPECT_EQ(ViewKit::imageName(ButtonStandardType::deselect), "checkmark.circle.fill");
}

TEST(StandardButtonTest, OnlyCancelAndDeleteHaveRolesAndKeepThemWithACustomTitleAndIcon) {
    for (const auto type : ViewKit::allButtonStandardTypes()) {
        const auto expected = type == ButtonStandardType::cancel    ? std::optional(ui::ButtonRole::cancel)
                              : type == ButtonStandardType::delete_ ? std::optional(ui::ButtonRole::destructive)
                                                                    : std::nullopt;
        EXPECT_EQ(ViewKit::role(type), expected) << foundation::rawValue(type);
        EXPECT_EQ(roleOf(ViewKit::standardButton(type, {})), expected) << foundation::rawValue(type);
    }
    const auto custom = [](ButtonStandardType type) {
        return ViewKit::standardButton(type, ui::LocalizedStringKey("Throw Away"), ui::Image::systemName("flame"),
                                       nullptr, {});
    };
    EXPECT_EQ(roleOf(custom(ButtonStandardType::delete_)), ui::ButtonRole::destructive);
    EXPECT_EQ(roleOf(custom(ButtonStandardType::cancel)), ui::ButtonRole::cancel);
    EXPECT_EQ(roleOf(ViewKit::labelledButton("Throw Away", ui::Image::systemName("flame"), nullptr, {})), std::nullopt);
}

TEST(StandardButtonTest, StandardTitlesComeFromTheToolkitAndCustomOnesFromTheCallersBundle) {
    testing_support::ScopedEnvironment all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr);
    {
        testing_support::ScopedEnvironment language("LANGUAGE", "en");
        EXPECT_EQ(shownTitle(ViewKit::standardButton(ButtonStandardType::add, {})), "Add");
        EXPECT_EQ(shownTitle(ViewKit::standardButton(ButtonStandardType::removeFromFavorites, {})),
                  "Remove from Favorites");
    }
    testing_support::ScopedEnvironment language("LANGUAGE", "de");
    EXPECT_EQ(shownTitle(ViewKit::standardButton(ButtonStandardType::add, {})), "Hinzufügen");
    EXPECT_EQ(shownTitle(ViewKit::standardButton(ButtonStandardType::delete_, {})), "Löschen");
    // The toolkit's own key as a custom title: looked up in the program's table only.
    const auto own = ViewKit::standardButton(ButtonStandardType::delete_, ui::LocalizedStringKey("Button.Delete"),
                                             std::nullopt, nullptr, {});
    EXPECT_EQ(shownTitle(own), "Wegwerfen");
    // A key the program's table lacks stays the key, even where the toolkit has one.
    const auto elsewhere = ViewKit::standardButton(
        ButtonStandardType::add, ui::LocalizedStringKey("Button.Add"), std::nullopt,
        foundation::Bundle::withPath(std::filesystem::temp_directory_path()), {});
    EXPECT_EQ(shownTitle(elsewhere), "Button.Add");
    EXPECT_EQ(shownTitle(ViewKit::labelledButton("Throw Away", ui::Image::systemName("flame"), nullptr, {})),
              "Wegwerfen");
}

TEST(StandardButtonTest, RendersEveryStandardButton) {
    std::vector<ui::View> rows;
    for (const auto type : ViewKit::allButtonStandardTypes())
        rows.push_back(ui::View(ViewKit::standardButton(type, {})));
    const ui::View list = ui::VStack(ui::HorizontalAlignment::leading, 6, rows).padding(12);
    viewkit_testing::renderBothSchemes(list, {260, 560}, "viewkit-standard-buttons");
}
