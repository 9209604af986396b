#pragma once

#include "App/CommandManager.h"
#include "App/ItemSizeElement.h"
#include "App/ModifierKeyManager.h"
#include "Views/DisplayOrderCache.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "foundation/IndexSet.h"
#include "foundation/UUID.h"
#include "graphics/CGFloat.h"
#include "store/ModelContext.h"
#include "store/ui/Query.h"
#include "ui/Animation.h"
#include "ui/EventModifiers.h"
#include "ui/FocusState.h"
#include "ui/State.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace quoril {

// What the goal list does, over handles to its states, query and environment, so that the
// closures of its views and handlers stay valid as long as the list. Main thread only.
struct GoalListActions {
    std::shared_ptr<store::ModelContext> modelContext;
    std::shared_ptr<CommandManager> commandManager;
    std::shared_ptr<ModifierKeyManager> modifierKeyManager;
    std::shared_ptr<ItemCollection> selectedCollection;
    store::Query<Item> items;
    ui::FocusState<std::optional<foundation::UUID>> focusedItem;
    ui::State<bool> addingItem;
    // The rows' last reported sizes. Only the burn reads them, so keeping them re-evaluates
    // nothing (rows come and go as the list scrolls).
    std::shared_ptr<std::vector<ItemSizeElement>> itemSizes;
    ui::State<graphics::CGFloat> emptySpaceHeight;
    ui::State<std::optional<foundation::UUID>> scrollPosition;
    std::shared_ptr<DisplayOrderCache> displayOrderCache;

    // The list's handles, made in its view's context: its query of the collection's goals, its
    // states and what its environment brings.
    static GoalListActions make(ui::ViewContext& ctx, std::shared_ptr<ItemCollection> selectedCollection);

    // The spring of the list's changes.
    static ui::Animation listAnimation();

    // The query's result, stably sorted with Item::displayOrder: what the list shows.
    std::vector<std::shared_ptr<Item>> displayOrder() const { return shownGoals(); }
    // The same, kept by the list between evaluations: valid until the next call.
    const std::vector<std::shared_ptr<Item>>& shownGoals() const;
    // The same, to keep.
    std::shared_ptr<const std::vector<std::shared_ptr<Item>>> sharedShownGoals() const;

    void newItemReceived() const;
    void addingItemChanged(bool adding) const;
    void addItem() const;
    void emptyAreaTapped() const;
    void rowSizesChanged(const std::vector<ItemSizeElement>& sizes) const;
    void moveItems(const foundation::IndexSet& source, std::size_t destination) const;
    void deleteItems(const foundation::IndexSet& offsets) const;
    void rowDeleteAction(const std::shared_ptr<Item>& item) const;
    void completedEmptyChanged(bool noneCompleted) const;
    void modifierKeysChanged(ui::EventModifiers pressed) const;
};

} // namespace quoril
