#pragma once

#include "ViewKit/MainActor.h"
#include "ViewKit/PickerItemID.h"

#include "ui/Binding.h"
#include "ui/Button.h"
#include "ui/EnvironmentKeys.h"
#include "ui/ForEach.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <functional>
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
        return rows(ctx.environment<ui::DismissKey>());
    }

    // The rows as a ForEach, which a List lays out one by one.
    ui::ForEach rows(ui::DismissAction dismiss) const {
        const auto selectedID = pickerItemID(selection.get());
        return ui::ForEach(
            items, [](const Item& item) { return pickerItemID(item); },
            [selection = selection, animated = animatedSelection, dismissAfterPick = dismissAfterPick,
             listItem = listItem, dismiss, selectedID](const Item& item) {
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
                    listItem(item, pickerItemID(item) == selectedID));
            });
    }
};

} // namespace ViewKit
