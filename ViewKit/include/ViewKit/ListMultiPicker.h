#pragma once

#include "ViewKit/ForEachMultiPicker.h"
#include "ViewKit/ListPickerSection.h"
#include "ViewKit/MainActor.h"

#include "ui/List.h"
#include "ui/Section.h"

#include <vector>

namespace ViewKit {

// Sections as one list sharing a choice of many. Sections are told apart by their place.
template <class Item> struct ListMultiPicker {
    std::vector<ListPickerSection<Item>> sections;
    ui::Binding<std::vector<Item>> selection;
    PickerRowBuilder<Item> listItem;

    ListMultiPicker(std::vector<ListPickerSection<Item>> sections, ui::Binding<std::vector<Item>> selection,
                    PickerRowBuilder<Item> listItem)
        : sections(std::move(sections))
        , selection(std::move(selection))
        , listItem(std::move(listItem)) {}
    // One section without a title.
    ListMultiPicker(std::vector<Item> items, ui::Binding<std::vector<Item>> selection,
                    PickerRowBuilder<Item> listItem)
        : ListMultiPicker(detail::untitledSection(std::move(items)), std::move(selection),
                          std::move(listItem)) {}

    ui::View body(ui::ViewContext& ctx) const {
        detail::requireMainActor("ListMultiPicker");
        auto& kept = detail::keptPickerItems<Item>(ctx);
        kept.resize(sections.size());
        const ForEachMultiPicker<Item> picker{{}, selection, listItem};
        std::vector<ui::View> content;
        for (std::size_t i = 0; i < sections.size(); ++i) {
            content.push_back(ui::Section(picker.rows(detail::pickerItems(kept[i], sections[i].items)),
                                          sections[i].header(), std::nullopt));
        }
        return ui::List(std::move(content));
    }
};

} // namespace ViewKit
