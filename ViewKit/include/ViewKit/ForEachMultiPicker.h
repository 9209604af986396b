#pragma once

#include "ViewKit/ForEachPicker.h"
#include "ViewKit/MainActor.h"
#include "ViewKit/PickerItemID.h"
#include "ViewKit/PickerRows.h"

#include "ui/Binding.h"
#include "ui/Button.h"
#include "ui/ViewContext.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace ViewKit {

// Bare rows for a choice of many: a tap on a selected row removes every element with its id,
// a tap on another appends its item, so the array keeps tap order.
template <class Item> struct ForEachMultiPicker {
    std::vector<Item> items;
    ui::Binding<std::vector<Item>> selection;
    PickerRowBuilder<Item> listItem;

    ui::View body(ui::ViewContext& ctx) const {
        detail::requireMainActor("ForEachMultiPicker");
        auto& kept = detail::keptPickerItems<Item>(ctx);
        kept.resize(1);
        return rows(detail::pickerItems(kept[0], items));
    }

    // The rows of `data` (this picker's items with their ids), which a List lays out one by one.
    ui::View rows(std::shared_ptr<const detail::PickerItems<Item>> data) const {
        const std::vector<Item> chosen = selection.get();
        auto row = [selection = selection, listItem = listItem, chosen](const Item& item,
                                                                        const foundation::AnyHashable&) {
            const bool selected = std::any_of(chosen.begin(), chosen.end(), [&](const Item& c) {
                return pickerItemID(c) == pickerItemID(item);
            });
            return ui::Button(
                [selection, item] {
                    std::vector<Item> now = selection.get();
                    const auto before = now.size();
                    std::erase_if(now, [&](const Item& c) { return pickerItemID(c) == pickerItemID(item); });
                    if (now.size() == before) now.push_back(item);
                    selection.set(std::move(now));
                },
                listItem(item, selected));
        };
        return detail::pickerRows(std::move(data), std::move(row));
    }
};

} // namespace ViewKit
