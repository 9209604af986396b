#pragma once

#include "Model/Item.h"

#include "foundation/UUID.h"
#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quoril {

// One row of the goal list: the goal's title editor, then its "Completed" and "In Progress"
// check controls. It tints itself while its title has the focus, offers "Delete" in its context
// menu, deletes its goal when the focus moves on while the stored title is empty, and keeps the
// two flags consistent, renumbering the listed goals whenever either changes.
struct ItemView {
    // The listed goals in display order, for renumbering (shared by all rows of the list).
    std::shared_ptr<const std::vector<std::shared_ptr<Item>>> items;
    std::shared_ptr<Item> item;
    ui::Binding<std::optional<foundation::UUID>> focusedItem;
    ui::Binding<bool> addingItem;
    std::function<void()> deleteAction;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace quoril
