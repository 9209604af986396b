#include "App/SharedModelContainer.h"
#include "Model/CollectionColor.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "TemporaryFolder.h"

#include "store/ModelContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sqlite3.h>

using namespace quoril;

namespace {

std::shared_ptr<Item> goal(std::string title, bool inProgress, bool completed,
                           std::optional<std::int64_t> orderIndex = std::nullopt) {
    return std::make_shared<Item>(foundation::Date(0), std::move(title), inProgress, completed, std::nullopt,
                                  orderIndex);
}

std::vector<std::string> titles(const std::vector<std::shared_ptr<Item>>& items) {
    std::vector<std::string> result;
    for (const auto& item : items)
        result.push_back(item->title());
    return result;
}

TEST(CollectionColorTest, RawValuesAreTheExactNamesInOrder) {
    std::vector<std::string> names;
    for (auto color : allCollectionColors)
        names.emplace_back(rawValue(color));
    EXPECT_EQ(names, (std::vector<std::string>{"red", "orange", "yellow", "green", "blue", "purple", "black",
                                               "white"}));
    EXPECT_EQ(collectionColorFromRawValue("purple"), CollectionColor::purple);
    EXPECT_EQ(collectionColorFromRawValue("Purple"), std::nullopt);
    EXPECT_EQ(collectionColorFromRawValue(""), std::nullopt);
}

TEST(DisplayOrderTest, CompletedThenInProgressThenTheRest) {
    const auto done = goal("done", true, false);
    done->setCompleted(true);
    const auto doneNotInProgress = goal("done only", false, true); // breaks the invariant
    const auto busy = goal("busy", true, false);
    const auto idle = goal("idle", false, false);

    EXPECT_TRUE(Item::displayOrder(*done, *busy));
    EXPECT_TRUE(Item::displayOrder(*doneNotInProgress, *busy)) << "completed wins whatever in progress says";
    EXPECT_FALSE(Item::displayOrder(*busy, *done));
    EXPECT_FALSE(Item::displayOrder(*done, *done));
    EXPECT_TRUE(Item::displayOrder(*busy, *idle));
    EXPECT_FALSE(Item::displayOrder(*idle, *busy));
    EXPECT_FALSE(Item::displayOrder(*idle, *idle));
    EXPECT_FALSE(Item::displayOrder(*busy, *busy));
}

TEST(DisplayOrderTest, TheSortIsStableWithinEachGroup) {
    const std::vector<std::shared_ptr<Item>> query{goal("idle 1", false, false), goal("busy 1", true, false),
                                                   goal("done 1", true, true),   goal("idle 2", false, false),
                                                   goal("done 2", true, true),   goal("busy 2", true, false)};
    EXPECT_EQ(titles(Item::sortedForDisplay(query)),
              (std::vector<std::string>{"done 1", "done 2", "busy 1", "busy 2", "idle 1", "idle 2"}));
}

TEST(DisplayOrderTest, TheSortMatchesSortingByTheComparisonForEveryMixOfFlags) {
    // Stored flags may disagree (completed but not in progress, as an older file may hold).
    std::vector<std::shared_ptr<Item>> query;
    for (int i = 0; i < 64; ++i)
        query.push_back(goal("g" + std::to_string(i), (i * 7) % 3 == 0, (i * 5) % 4 == 1));
    auto expected = query;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return Item::displayOrder(*a, *b); });
    EXPECT_EQ(titles(Item::sortedForDisplay(query)), titles(expected));
}

TEST(DisplayOrderTest, RenumberingWritesDensePositions) {
    Item::renumberOrderIndices({});
    const std::vector<std::shared_ptr<Item>> items{goal("a", false, false, 5), goal("b", false, false),
                                                   goal("c", false, false, 2)};
    Item::renumberOrderIndices(items);
    EXPECT_EQ(items[0]->orderIndex(), 0);
    EXPECT_EQ(items[1]->orderIndex(), 1);
    EXPECT_EQ(items[2]->orderIndex(), 2);
}

TEST(GoalModelTest, NewModelsGetFreshIdentifiersAndTheirDefaults) {
    const auto a = goal("a", false, false);
    const auto b = goal("a", false, false);
    EXPECT_NE(a->id(), b->id());
    EXPECT_NE(*a, *b) << "equal fields make no equal goals";
    ItemCollection collection("c");
    EXPECT_EQ(collection.color(), CollectionColor::red);
    EXPECT_TRUE(collection.items().empty());
    EXPECT_NE(collection.id(), ItemCollection("c").id());

    const auto& entity = Item::entity();
    std::vector<std::string> withDefaults;
    for (const auto* e : {&Item::entity(), &ItemCollection::entity()})
        for (const auto& attribute : e->attributes)
            if (attribute.defaultValue) withDefaults.push_back(e->name + "." + attribute.name);
    EXPECT_EQ(withDefaults,
              (std::vector<std::string>{"Item.id", "ItemCollection.id", "ItemCollection.color"}));
    EXPECT_EQ(entity.relationship("collection")->deleteRule, store::DeleteRule::nullify);
    EXPECT_EQ(ItemCollection::entity().relationship("items")->deleteRule, store::DeleteRule::cascade);
    EXPECT_EQ(quorilSchema().entities().front()->name, "ItemCollection");
}

TEST(GoalModelTest, GoalsAndCollectionsKeepEveryFieldInTheStore) {
    testing_support::TemporaryFolder folder;
    store::ModelConfiguration configuration;
    configuration.url = folder.path() / "goals.store";
    foundation::UUID collectionID, goalID;
    {
        store::ModelContainer container(quorilSchema(), configuration);
        auto collection = std::make_shared<ItemCollection>("Work");
        collection->setColor(CollectionColor::blue);
        collectionID = collection->id();
        auto item = std::make_shared<Item>(foundation::Date(12.5), "Write", true, true, "a note", 4);
        item->setCollection(collection);
        goalID = item->id();
        container.mainContext()->insert(item);
        container.mainContext()->save();
    }
    store::ModelContainer container(quorilSchema(), configuration);
    auto items = container.mainContext()->fetch<Item>();
    ASSERT_EQ(items.size(), 1u);
    const auto& item = *items[0];
    EXPECT_EQ(item.id(), goalID);
    EXPECT_EQ(item.timestamp(), foundation::Date(12.5));
    EXPECT_EQ(item.title(), "Write");
    EXPECT_TRUE(item.inProgress());
    EXPECT_TRUE(item.completed());
    EXPECT_EQ(item.note(), "a note");
    EXPECT_EQ(item.orderIndex(), 4);
    ASSERT_TRUE(item.collection());
    EXPECT_EQ(item.collection()->id(), collectionID);
    EXPECT_EQ(item.collection()->color(), CollectionColor::blue);

    // Deleting the collection takes its goals along.
    container.mainContext()->deleteModel(item.collection());
    container.mainContext()->save();
    EXPECT_EQ(container.mainContext()->fetchCount<Item>(), 0u);
}

TEST(GoalModelTest, AContainerOfGoalsAloneDeletesCompletedGoalsOfEveryCollection) {
    testing_support::TemporaryFolder folder;
    store::ModelConfiguration configuration;
    configuration.url = folder.path() / "goals.store";
    store::ModelContainer shared(quorilSchema(), configuration);
    const auto& context = shared.mainContext();
    for (const char* title : {"one", "two"}) {
        auto collection = std::make_shared<ItemCollection>(title);
        auto done = goal(std::string(title) + " done", true, true);
        done->setCollection(collection);
        auto open = goal(std::string(title) + " open", true, false);
        open->setCollection(collection);
        context->insert(done);
        context->insert(open);
    }
    context->autosaveNow();
    {
        store::ModelContainer goalsOnly(store::Schema::of<Item>(), configuration);
        goalsOnly.mainContext()->deleteModels(store::Predicate<Item>::equals("completed", true));
        goalsOnly.mainContext()->save();
    }
    EXPECT_EQ(titles(context->fetch<Item>()), (std::vector<std::string>{"one open", "two open"}));
    EXPECT_EQ(context->fetchCount<ItemCollection>(), 2u);
}

TEST(GoalModelTest, UnreadableStoredValuesReadAsTheirDefaultsAndStayInTheFile) {
    testing_support::TemporaryFolder folder;
    store::ModelConfiguration configuration;
    configuration.url = folder.path() / "goals.store";
    {
        store::ModelContainer container(quorilSchema(), configuration);
        container.mainContext()->insert(std::make_shared<ItemCollection>("c"));
        container.mainContext()->save();
    }
    sqlite3* db = nullptr;
    sqlite3_open(configuration.url->c_str(), &db);
    sqlite3_exec(db, "UPDATE ItemCollection SET color = 'magenta', id = x'00'", nullptr, nullptr, nullptr);
    {
        store::ModelContainer container(quorilSchema(), configuration);
        auto collections = container.mainContext()->fetch<ItemCollection>();
        ASSERT_EQ(collections.size(), 1u);
        EXPECT_EQ(collections[0]->color(), CollectionColor::red);
        EXPECT_NE(collections[0]->id(), foundation::UUID(foundation::UUID::Bytes{})) << "a fresh identifier";
        container.mainContext()->insert(std::make_shared<ItemCollection>("other"));
        container.mainContext()->save();
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT color FROM ItemCollection WHERE title = 'c'", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "magenta");
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

} // namespace
