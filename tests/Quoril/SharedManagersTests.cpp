#include "App/CommandManager.h"
#include "App/ItemSizeElement.h"
#include "App/ModifierKeyManager.h"
#include "App/SelectionManager.h"
#include "Views/Utilities.h"

#include "reactive/AnyPublisher.h"
#include "reactive/CurrentValueSubject.h"
#include "reactive/Sink.h"

#include <gtest/gtest.h>

using namespace quoril;

namespace {

TEST(SharedManagersTest, SharedInstancesAreMadeOnceAndStartEmpty) {
    EXPECT_EQ(ModifierKeyManager::shared(), ModifierKeyManager::shared());
    EXPECT_EQ(SelectionManager::shared(), SelectionManager::shared());
    EXPECT_FALSE(ModifierKeyManager::shared()->shiftKeyPressed());
    EXPECT_FALSE(ModifierKeyManager::shared()->optionKeyPressed());
    EXPECT_EQ(SelectionManager::shared()->selectedCollection(), nullptr);
}

TEST(ModifierKeyManagerTest, FollowsShiftAndOptionFromTheFirstStateOn) {
    auto manager = std::make_shared<ModifierKeyManager>();
    reactive::CurrentValueSubject<ModifierKeys> keys(
        ModifierKeys{ModifierKeys::shift | ModifierKeys::command});
    int writes = 0;
    const auto track = [&] {
        reactive::withObservationTracking([&] { (void)manager->shiftKeyPressed(); }, [&] { ++writes; });
    };
    track();
    auto following = manager->follow(keys.eraseToAnyPublisher());
    EXPECT_EQ(writes, 1) << "the initial state is written";
    EXPECT_TRUE(manager->shiftKeyPressed());
    EXPECT_FALSE(manager->optionKeyPressed());

    track();
    keys.send(ModifierKeys{ModifierKeys::shift}); // only Command changed
    EXPECT_EQ(writes, 1);
    keys.send(ModifierKeys{ModifierKeys::shift | ModifierKeys::option});
    EXPECT_EQ(writes, 2) << "a write notifies even when Shift stays the same";
    EXPECT_TRUE(manager->optionKeyPressed());

    following.cancel();
    keys.send(ModifierKeys{});
    EXPECT_TRUE(manager->shiftKeyPressed());
}

TEST(SelectionManagerTest, WritingTheSelectionNotifiesItsReaders) {
    SelectionManager manager;
    int changes = 0;
    reactive::withObservationTracking([&] { (void)manager.selectedCollection(); }, [&] { ++changes; });
    auto collection = std::make_shared<ItemCollection>("c");
    manager.setSelectedCollection(collection);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(manager.selectedCollection(), collection);
}

TEST(CommandManagerTest, ChannelsDeliverToCurrentSubscribersOnly) {
    CommandManager commands;
    commands.newItem.send(); // nobody listens yet
    int newItems = 0;
    std::vector<bool> disabled;
    auto a = commands.newItem.sink([&](reactive::Void) { ++newItems; });
    auto b = commands.newItemMenuItemDisabled.sink([&](bool value) { disabled.push_back(value); });
    commands.newItem.send();
    commands.newItemMenuItemDisabled.send(true);
    commands.newItemMenuItemDisabled.send(false);
    commands.burnCompletedItems.send();
    EXPECT_EQ(newItems, 1);
    EXPECT_EQ(disabled, (std::vector<bool>{true, false}));
}

TEST(UtilitiesTest, TextsAreTheirEnglishKeysWithoutATranslation) {
    EXPECT_EQ(Utilities::newItemTitle(), "New Goal");
    EXPECT_EQ(&Utilities::newItemTitle(), &Utilities::newItemTitle());
    EXPECT_EQ(Utilities::burnCompletedItemsTitle(), "Burn Accomplished Goals");
    EXPECT_EQ(Utilities::spacing, 16.0);
}

TEST(ItemSizeElementTest, EqualWhenIndexAndBothSizesAre) {
    const ItemSizeElement a{2, {10, 20}};
    EXPECT_EQ(a, (ItemSizeElement{2, {10, 20}}));
    EXPECT_NE(a, (ItemSizeElement{3, {10, 20}}));
    EXPECT_NE(a, (ItemSizeElement{2, {10, 21}}));
}

} // namespace
