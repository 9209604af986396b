#pragma once

#include "ViewKit/ForEachPicker.h"
#include "ViewKit/MainActor.h"
#include "ViewKit/PickerItemID.h"

#include "ui/Binding.h"
#include "ui/Button.h"
#include "ui/ForEach.h"
#include "ui/ViewContext.h"

#include <algorithm>
#include <vector>

namespace ViewKit {

// Bare rows for a choice of many: a tap on a selected row removes every element with its id,
// a tap on another appends its item, so the array keeps tap order.
template <class Item> struct ForEachMultiPicker {
    std::vector<Item> items;
    ui::Binding<std::vector<Item>> selection;
    PickerRowBuilder<Item> listItem;

    ui::View body(ui::ViewContext&) const {
        detail::requireMainActor("ForEachMultiPicker");
        return rows();
    }

    // The rows as a ForEach, which a List lays out one by one.
    ui::ForEach rows() const {
        const std::vector<Item> chosen = selection.get();
        return ui::ForEach(
            items, [](const Item& item) { return pickerItemID(item); },
            [selection = selection, listItem = listItem, chosen](const Item& item) {
                const bool selected = std::any_of(chosen.begin(), chosen.end(), [&](const Item& c) {
                    return pickerItemID(c) == pickerItemID(item);
                });
                return ui::Button(
                    [selection, item] {
                        std::vector<Item> now = selection.get();
                        const auto before = now.size();
                        std::erase_if(now,
                                      [&](const Item& c) { return pickerItemID(c) == pickerItemID(item); });
                        if (now.size() == before) now.push_back(item);
                        selection.set(std::move(now));
                    },
                    listItem(item, selected));
            });
    }
};

} // namespace ViewKit
