#pragma once

#include "Model/Item.h"
#include "Views/GoalListActions.h"

#include "foundation/UUID.h"
#include "ui/ScrollView.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quoril {

// What every row of one goal list shares: kept by the list and brought up to date at each of
// its updates, so that a row whose own inputs are unchanged need not be described again.
struct ItemRowShared {
    // The listed goals in display order, the same vector for every row.
    std::shared_ptr<std::vector<std::shared_ptr<Item>>> order =
        std::make_shared<std::vector<std::shared_ptr<Item>>>();
    std::optional<GoalListActions> actions;
    ui::ScrollViewProxy proxy;
    ui::NamespaceID topView;
    ui::NamespaceID bottomView;
};

// One listed goal: its ItemView with what the list adds (its size report, its scrolling on
// a new goal and at a burn). Equal rows are not evaluated again, so a change of the list costs
// the rows whose own inputs changed, not all rows in sight.
struct ItemRow {
    std::shared_ptr<const ItemRowShared> shared;
    std::shared_ptr<Item> item;
    std::int64_t index = 0; // the position in the display order
    std::optional<foundation::UUID> focusedItem;
    std::optional<foundation::UUID> scrollPosition;
    bool burning = false;

    bool operator==(const ItemRow&) const = default;
    ui::View body(ui::ViewContext& ctx) const;
};

// The anchor rows at the top and the bottom of the list, named by namespaces of the view.
std::string anchorID(ui::NamespaceID ns);

} // namespace quoril
