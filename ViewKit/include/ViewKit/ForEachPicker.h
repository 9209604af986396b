#pragma once

#include "ViewKit/MainActor.h"
#include "ViewKit/PickerItemID.h"
#include "ViewKit/PickerRows.h"

#include "ui/Binding.h"
#include "ui/Button.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace ViewKit {

// Builds a picker row from its item and whether it is selected.
template <class Item> using PickerRowBuilder = std::function<ui::View(const Item&, bool isSelected)>;

// Bare rows, one button per item, for a container of the caller's: a tap sets the selection to
// the row's item (again when it already is), animated when asked, then closes the enclosing
// presentation when asked. Rows are identified and compared by the items' ids.
template <class Item> struct ForEachPicker {
    std::vector<Item> items;
    ui::Binding<Item> selection;
    bool animatedSelection;
    bool dismissAfterPick;
    PickerRowBuilder<Item> listItem;

    ui::View body(ui::ViewContext& ctx) const {
        detail::requireMainActor("ForEachPicker");
        auto& kept = detail::keptPickerItems<Item>(ctx);
        kept.resize(1);
        return rows(detail::pickerItems(kept[0], items), selection, animatedSelection, dismissAfterPick,
                    listItem, ctx.environment<ui::DismissKey>());
    }

    // The rows of `data` (a picker's items with their ids), which a List lays out one by one.
    static ui::View rows(std::shared_ptr<const detail::PickerItems<Item>> data, ui::Binding<Item> selection,
                         bool animated, bool dismissAfterPick, PickerRowBuilder<Item> listItem,
                         ui::DismissAction dismiss) {
        const auto selectedID = ui::detail::toHashable(pickerItemID(selection.get()));
        auto row = [selection = std::move(selection), animated, dismissAfterPick,
                    listItem = std::move(listItem), dismiss = std::move(dismiss),
                    selectedID](const Item& item, const foundation::AnyHashable& id) {
            auto commit = [selection, item, dismissAfterPick, dismiss] {
                selection.set(item);
                if (dismissAfterPick) dismiss();
            };
            return ui::Button(
                [commit, animated] {
                    if (animated)
                        ui::withAnimation(commit);
                    else
                        commit();
                },
                listItem(item, id == selectedID));
        };
        return detail::pickerRows(std::move(data), std::move(row));
    }
};

} // namespace ViewKit
