#include "Views/GoalListActions.h"

#include "App/ModifierKeys.h"

#include "foundation/CollectionMove.h"
#include "store/Predicate.h"
#include "store/ui/ModelContextKey.h"
#include "foundation/Date.h"
#include "ui/Animation.h"
#include "ui/Transaction.h"

#include <algorithm>

namespace quoril {

namespace {

// The goals of the collection (of none, without one), by order index, then creation time.
store::FetchDescriptor<Item> itemsDescriptor(const std::shared_ptr<ItemCollection>& collection) {
    std::optional<store::PersistentIdentifier> identifier;
    if (collection) identifier = collection->persistentModelID();
    return {store::Predicate<Item>::relationshipEquals("collection", identifier), {{"orderIndex"}, {"timestamp"}}};
}

} // namespace

ui::Animation GoalListActions::listAnimation() {
    return ui::Animation::spring(0.5, 0.85, 0);
}

GoalListActions GoalListActions::make(ui::ViewContext& ctx, std::shared_ptr<ItemCollection> selectedCollection) {
    auto descriptor = itemsDescriptor(selectedCollection);
    return GoalListActions{
        .modelContext = ctx.environment<store::ModelContextKey>(),
        .commandManager = ctx.environmentObject<CommandManager>(),
        .modifierKeyManager = ctx.environmentObject<ModifierKeyManager>(),
        .selectedCollection = std::move(selectedCollection),
        .items = store::query(ctx, "items", std::move(descriptor), listAnimation()),
        .focusedItem = ctx.focusState<std::optional<foundation::UUID>>("focusedItem"),
        .addingItem = ctx.state<bool>("addingItem", false),
        .itemSizes = ctx.element().slot<std::vector<ItemSizeElement>>(
            "itemSizes", [] { return std::make_shared<std::vector<ItemSizeElement>>(); }),
        .emptySpaceHeight = ctx.state<graphics::CGFloat>("emptySpaceHeight", 0),
        .scrollPosition = ctx.state<std::optional<foundation::UUID>>("scrollPosition", std::nullopt),
        .displayOrderCache = ctx.element().slot<DisplayOrderCache>(
            "displayOrder", [] { return std::make_shared<DisplayOrderCache>(); }),
    };
}

const std::vector<std::shared_ptr<Item>>& GoalListActions::shownGoals() const {
    return displayOrderCache->sorted(items.results());
}

std::shared_ptr<const std::vector<std::shared_ptr<Item>>> GoalListActions::sharedShownGoals() const {
    return displayOrderCache->sharedSorted(items.results());
}

void GoalListActions::newItemReceived() const {
    ui::withAnimation([&] { addingItem.set(true); });
}

void GoalListActions::addingItemChanged(bool adding) const {
    commandManager->newItemMenuItemDisabled.send(adding);
    if (adding) ui::withAnimation([&] { addItem(); });
}

void GoalListActions::addItem() const {
    if (!modelContext) return;
    auto item = std::make_shared<Item>(foundation::Date::now(), "", false, false);
    // Last in the list: past every listed index, as gaps left by deletions may exceed the count.
    std::int64_t next = std::int64_t(items.size());
    for (const auto& listed : items) {
        if (const auto index = listed->orderIndex()) next = std::max(next, *index + 1);
    }
    item->setOrderIndex(next);
    item->setCollection(selectedCollection);
    modelContext->insert(item);
    scrollPosition.set(item->id());
    focusedItem.set(item->id());
}

void GoalListActions::emptyAreaTapped() const {
    ui::withAnimation(ui::Animation::spring(0.1, 0.85, 0), [&] {
        if (focusedItem.value()) {
            focusedItem.set(std::nullopt);
            addingItem.set(false);
        } else {
            addingItem.set(true);
        }
    });
}

void GoalListActions::rowSizesChanged(const std::vector<ItemSizeElement>& sizes) const {
    *itemSizes = sizes;
    graphics::CGFloat total = 0;
    for (const auto& element : sizes)
        total += element.size.height;
    emptySpaceHeight.set(total);
}

void GoalListActions::moveItems(const foundation::IndexSet& source, std::size_t destination) const {
    // The offsets are positions of the list as shown, so the move is made there.
    auto moved = displayOrder();
    foundation::moveElements(moved, source, destination);
    moved = Item::sortedForDisplay(std::move(moved));
    for (std::size_t i = 0; i < moved.size(); ++i)
        moved[i]->setOrderIndex(std::int64_t(i));
}

void GoalListActions::deleteItems(const foundation::IndexSet& offsets) const {
    if (!modelContext) return;
    // Every offset names a goal of the list as it was shown when the call began.
    const auto shown = displayOrder();
    for (const std::size_t offset : offsets) {
        if (offset >= shown.size()) continue;
        ui::withAnimation([&] { modelContext->deleteModel(shown[offset]); });
    }
}

void GoalListActions::rowDeleteAction(const std::shared_ptr<Item>& item) const {
    if (modelContext) ui::withAnimation([&] { modelContext->deleteModel(item); });
    ui::withAnimation([&] { addingItem.set(false); });
}

void GoalListActions::completedEmptyChanged(bool noneCompleted) const {
    commandManager->burnCompletedItemsMenuItemDisabled.send(noneCompleted);
}

void GoalListActions::modifierKeysChanged(ui::EventModifiers pressed) const {
    ModifierKeys keys;
    if (pressed.contains(ui::EventModifiers::shift)) keys.keys |= ModifierKeys::shift;
    if (pressed.contains(ui::EventModifiers::option)) keys.keys |= ModifierKeys::option;
    modifierKeyManager->modifierKeysChanged(keys);
}

} // namespace quoril
