#pragma once

#include "ViewKit/ForEachPicker.h"
#include "ViewKit/ListPickerSection.h"
#include "ViewKit/MainActor.h"

#include "ui/List.h"
#include "ui/Section.h"

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
        : ListPicker({ListPickerSection<Item>("", std::move(items))}, std::move(selection), animatedSelection,
                     dismissAfterPick, std::move(listItem)) {}

    ui::View body(ui::ViewContext& ctx) const {
        detail::requireMainActor("ListPicker");
        const auto dismiss = ctx.environment<ui::DismissKey>();
        std::vector<ui::View> content;
        for (const auto& section : sections) {
            const ForEachPicker<Item> picker{section.items, selection, animatedSelection, dismissAfterPick,
                                             listItem};
            content.push_back(ui::Section(picker.rows(dismiss), section.header(), std::nullopt));
        }
        return ui::List(std::move(content));
    }
};

} // namespace ViewKit
