#pragma once

#include "ViewKit/MainActor.h"
#include "ViewKit/ViewOperation.h"

#include "foundation/AnyHashable.h"
#include "foundation/IndexSet.h"
#include "foundation/NSItemProvider.h"
#include "foundation/UTType.h"
#include "foundation/UUID.h"
#include "reactive/ObservableObject.h"
#include "ui/Animation.h"
#include "ui/Binding.h"
#include "ui/DropDelegate.h"
#include "ui/ForEach.h"
#include "ui/Transaction.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <fmt/format.h>

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace ViewKit {

// Applies a move to the caller's data: the elements at the offsets go before the element at
// the destination offset of the data before the removal (the count means the end).
using ReorderMoveAction = std::function<void(const foundation::IndexSet&, int)>;

namespace detail {

// Whether the dragged row has moved during the drag under way. The element holding the rows
// keeps it, so it lives as long as the list; the rows re-evaluate when it changes.
class ReorderFlag final : public reactive::ObservableObject {
public:
    bool value() const { return value_; }
    void set(bool value);

private:
    bool value_ = false;
};

// The flag of the list whose row for the identifier `id` is being built in `ctx`.
std::shared_ptr<ReorderFlag> reorderFlag(ui::ViewContext& ctx, const foundation::AnyHashable& id);

// What a dragged row carries: its identifier as text.
template <class ID> std::string payloadText(const ID& id) {
    if constexpr (std::is_same_v<ID, foundation::UUID>)
        return id.uuidString();
    else if constexpr (std::is_convertible_v<ID, std::string_view>)
        return std::string(std::string_view(id));
    else if constexpr (std::integral<ID> && !std::is_same_v<ID, bool> && !std::is_same_v<ID, char>)
        return std::to_string(id);
    else
        return fmt::format("{}", id);
}

// The first index whose element has `id`, or -1.
template <class Item, class ID> int indexOfID(const std::vector<Item>& items, const ID& id) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == id) return int(i);
    }
    return -1;
}

} // namespace detail

// Sits on every row of a ReorderableForEach. A drag of this list entering the row moves the
// dragged item to the row's place at once, through `moveAction`; dropping on the row ends the
// drag. Rows are matched by their identifiers. Drags this list did not start (no `active`)
// are refused.
template <class Item> class ReorderableDragRelocateDelegate final : public ui::DropDelegate {
public:
    Item item;
    std::vector<Item> items; // the rows when the list was last built
    ui::Binding<std::optional<Item>> active;
    ui::Binding<bool> hasChangedLocation;
    ReorderMoveAction moveAction;

    ReorderableDragRelocateDelegate(Item item, std::vector<Item> items,
                                    ui::Binding<std::optional<Item>> active,
                                    ui::Binding<bool> hasChangedLocation, ReorderMoveAction moveAction)
        : item(std::move(item))
        , items(std::move(items))
        , active(std::move(active))
        , hasChangedLocation(std::move(hasChangedLocation))
        , moveAction(std::move(moveAction)) {}

    void dropEntered(const ui::DropInfo&) override {
        const auto dragged = active.get();
        if (!dragged || dragged->id == item.id) return;
        const int from = detail::indexOfID(items, dragged->id);
        const int to = detail::indexOfID(items, item.id);
        if (from < 0 || to < 0) return;
        hasChangedLocation.set(true);
        // The destination counts in the rows before the removal, hence one more going down.
        if (moveAction) moveAction(foundation::IndexSet(std::size_t(from)), to > from ? to + 1 : to);
    }
    std::optional<ui::DropProposal> dropUpdated(const ui::DropInfo&) override {
        return ui::DropProposal(active.get() ? ui::DropOperation::move : ui::DropOperation::forbidden);
    }
    bool performDrop(const ui::DropInfo&) override {
        if (!active.get()) return false;
        hasChangedLocation.set(false);
        active.set(std::nullopt);
        return true;
    }
};

// Goes on the container around the rows (reorderableForEachContainer), so that a drop between
// or beside the rows still ends the list's drag. Drags this list did not start are refused.
template <class Item> class ReorderableDropOutsideDelegate final : public ui::DropDelegate {
public:
    ui::Binding<std::optional<Item>> active;

    explicit ReorderableDropOutsideDelegate(ui::Binding<std::optional<Item>> active)
        : active(std::move(active)) {}

    std::optional<ui::DropProposal> dropUpdated(const ui::DropInfo&) override {
        return ui::DropProposal(active.get() ? ui::DropOperation::move : ui::DropOperation::forbidden);
    }
    bool performDrop(const ui::DropInfo&) override {
        if (!active.get()) return false;
        active.set(std::nullopt);
        return true;
    }
};

namespace detail {

template <class Item> struct ReorderableRows {
    std::vector<Item> items;
    ui::Binding<std::optional<Item>> active;
    std::function<ui::View(const Item&)> content;
    std::function<ui::View(const Item&)> preview; // empty: the row as it looked
    ReorderMoveAction moveAction;
};

// One row: the caller's content, half transparent once the dragged item has moved, a drop
// target that moves the dragged item here, and a drag source carrying the identifier.
template <class Item> struct ReorderableRow {
    std::shared_ptr<const ReorderableRows<Item>> rows;
    Item item;

    ui::View body(ui::ViewContext& ctx) const {
        requireMainActor("ReorderableForEach");
        const auto flag = ctx.observedObject(reorderFlag(ctx, ui::detail::toHashable(item.id)));
        const ui::Binding<bool> hasChangedLocation([flag] { return flag->value(); },
                                                   [flag](bool value) { flag->set(value); });
        const auto active = rows->active;
        const auto dragged = active.get();
        const bool moved = dragged && dragged->id == item.id && flag->value();
        ReorderMoveAction move = [action = rows->moveAction](const foundation::IndexSet& offsets,
                                                             int destination) {
            ui::withAnimation(ui::Animation::default_(), [&] {
                if (action) action(offsets, destination);
            });
        };
        auto delegate = std::make_shared<ReorderableDragRelocateDelegate<Item>>(
            item, rows->items, active, hasChangedLocation, std::move(move));
        auto provide = [item = item, active, hasChangedLocation] {
            hasChangedLocation.set(false);
            active.set(item);
            return foundation::NSItemProvider(payloadText(item.id));
        };
        // However the drag ends, the list is left idle.
        auto ended = [id = item.id, active, hasChangedLocation](bool) {
            hasChangedLocation.set(false);
            const auto now = active.get();
            if (now && now->id == id) active.set(std::nullopt);
        };
        const ui::View row =
            rows->content(item).opacity(moved ? 0.5 : 1.0).onDrop({foundation::UTType::text()}, delegate);
        if (rows->preview) return row.onDrag(std::move(provide), rows->preview(item), std::move(ended));
        return row.onDrag(std::move(provide), std::move(ended));
    }
};

} // namespace detail

// A ForEach whose rows the user reorders by dragging them: as the dragged row passes over
// another, the caller's move action runs (animated) and the rows rearrange under the pointer;
// the drop only ends the drag. The caller owns the items and the dragged item (`active`, set
// from the first move of a drag until it ends, however it ends). `Item` has a hashable `id`
// that keys the rows and identifies the dragged one, and `==`. Without a preview builder the
// drag shows the row as it looked when the drag began.
//
//     ui::List({ViewKit::ReorderableForEach<Goal>(goals, active, row, move)})
//         | ViewKit::reorderableForEachContainer(active)
template <class Item> class ReorderableForEach : public ui::View {
public:
    using Row = std::function<ui::View(const Item&)>;

    ReorderableForEach(std::vector<Item> items, ui::Binding<std::optional<Item>> active, Row content,
                       Row preview, ReorderMoveAction moveAction)
        : ui::View(make(std::make_shared<const detail::ReorderableRows<Item>>(
              detail::ReorderableRows<Item>{std::move(items), std::move(active), std::move(content),
                                            std::move(preview), std::move(moveAction)}))) {}
    ReorderableForEach(std::vector<Item> items, ui::Binding<std::optional<Item>> active, Row content,
                       ReorderMoveAction moveAction)
        : ReorderableForEach(std::move(items), std::move(active), std::move(content), Row(),
                             std::move(moveAction)) {}

private:
    static ui::View make(std::shared_ptr<const detail::ReorderableRows<Item>> rows) {
        return ui::ForEach(
            rows->items, [](const Item& item) { return item.id; },
            [rows](const Item& item) {
                return ui::View(detail::ReorderableRow<Item>{rows, item});
            });
    }
};

// Ends the drag of the ReorderableForEach inside when it is dropped on the view: apply it to
// the list, stack or scroll view that holds the rows, with the same `active` binding.
template <class Item> ViewOperation reorderableForEachContainer(ui::Binding<std::optional<Item>> active) {
    return ViewOperation([active = std::move(active)](const ui::View& view) {
        return view.onDrop({foundation::UTType::text()},
                           std::make_shared<ReorderableDropOutsideDelegate<Item>>(active));
    });
}

} // namespace ViewKit
