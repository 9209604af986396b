#pragma once

#include "ViewKit/ForEachPicker.h"
#include "ViewKit/ListPickerSection.h"
#include "ViewKit/MainActor.h"

#include "ui/List.h"
#include "ui/Section.h"

#include <optional>
#include <vector>

namespace ViewKit {

// Sections as one list sharing a selection: exactly one item across them all is marked.
// Sections are told apart by their place in `sections`.
template <class Item> struct ListPicker {
    std::vector<ListPickerSection<Item>> sections;
    ui::Binding<Item> selection;
    bool animatedSelection;
    bool dismissAfterPick;
    PickerRowBuilder<Item> listItem;

    ListPicker(std::vector<ListPickerSection<Item>> sections, ui::Binding<Item> selection,
               bool animatedSelection, bool dismissAfterPick, PickerRowBuilder<Item> listItem)
        : sections(std::move(sections))
        , selection(std::move(selection))
        , animatedSelection(animatedSelection)
        , dismissAfterPick(dismissAfterPick)
        , listItem(std::move(listItem)) {}
    // One section without a title.
    ListPicker(std::vector<Item> items, ui::Binding<Item> selection, bool animatedSelection,
               bool dismissAfterPick, PickerRowBuilder<Item> listItem)
        : ListPicker(detail::untitledSection(std::move(items)), std::move(selection), animatedSelection,
                     dismissAfterPick, std::move(listItem)) {}

    ui::View body(ui::ViewContext& ctx) const {
        std::vector<SectionContent> content;
        content.reserve(sections.size());
        for (const auto& section : sections)
            content.push_back({&section.items, section.header()});
        return list(ctx, content, selection, animatedSelection, dismissAfterPick, listItem);
    }

    // A section's items (held by the caller for the call) and header.
    struct SectionContent {
        const std::vector<Item>* items;
        std::optional<ui::View> header;
    };
    // The list of a picker over `sections`, for views that hold their items in another form.
    static ui::View list(ui::ViewContext& ctx, const std::vector<SectionContent>& sections,
                         const ui::Binding<Item>& selection, bool animatedSelection, bool dismissAfterPick,
                         const PickerRowBuilder<Item>& listItem) {
        detail::requireMainActor("ListPicker");
        const auto dismiss = ctx.environment<ui::DismissKey>();
        auto& kept = detail::keptPickerItems<Item>(ctx);
        kept.resize(sections.size());
        std::vector<ui::View> content;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            auto rows = ForEachPicker<Item>::rows(detail::pickerItems(kept[i], *sections[i].items), selection,
                                                  animatedSelection, dismissAfterPick, listItem, dismiss);
            content.push_back(ui::Section(std::move(rows), sections[i].header, std::nullopt));
        }
        return ui::List(std::move(content));
    }
};

} // namespace ViewKit
