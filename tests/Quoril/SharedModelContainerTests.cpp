#include "App/SelectionManager.h"
#include "App/SharedModelContainer.h"
#include "Model/ItemCollection.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include "store/ModelContext.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <iterator>

using namespace quoril;

namespace {

class SharedModelContainerTest : public testing::Test {
protected:
    SharedModelContainerTest() { SelectionManager::shared()->setSelectedCollection(nullptr); }

    std::string bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    testing_support::TemporaryFolder data;
    testing_support::ScopedEnvironment xdg{"XDG_DATA_HOME", data.path().c_str()};
};

TEST_F(SharedModelContainerTest, AnEmptyStoreGetsTheDefaultCollectionSavedAndSelected) {
    auto container = makeSharedModelContainer();
    ASSERT_TRUE(container);
    const auto& context = container->mainContext();
    ASSERT_TRUE(context->undoManager());
    EXPECT_FALSE(context->undoManager()->canUndo()) << "undo would delete the collection";
    EXPECT_FALSE(context->hasChanges());
    auto collections = context->fetch<ItemCollection>();
    ASSERT_EQ(collections.size(), 1u);
    EXPECT_EQ(collections[0], ItemCollection::defaultCollection());
    EXPECT_EQ(collections[0]->title(), "Quoril");
    EXPECT_EQ(SelectionManager::shared()->selectedCollection(), collections[0]);
    EXPECT_TRUE(std::filesystem::exists(store::ModelConfiguration::defaultURL()));
}

TEST_F(SharedModelContainerTest, StoredCollectionsAreKeptAndTheFirstIsSelected) {
    {
        store::ModelContainer earlier(quorilSchema());
        earlier.mainContext()->insert(std::make_shared<ItemCollection>("first"));
        earlier.mainContext()->insert(std::make_shared<ItemCollection>("second"));
        earlier.mainContext()->save();
    }
    auto container = makeSharedModelContainer();
    EXPECT_EQ(container->mainContext()->fetchCount<ItemCollection>(), 2u);
    ASSERT_TRUE(SelectionManager::shared()->selectedCollection());
    EXPECT_EQ(SelectionManager::shared()->selectedCollection()->title(), "first");
}

TEST_F(SharedModelContainerTest, AStoreThatCannotBeOpenedStopsTheProgram) {
    std::filesystem::create_directories(store::ModelConfiguration::defaultURL()); // a folder in its place
    EXPECT_DEATH(makeSharedModelContainer(), "^Fatal error: Could not create ModelContainer: .+");
}

TEST_F(SharedModelContainerTest, ANewerStoreStopsTheProgramAndIsLeftUnchanged) {
    const auto file = store::ModelConfiguration::defaultURL();
    { store::ModelContainer earlier(quorilSchema()); }
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 7", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const std::string before = bytes(file);
    EXPECT_DEATH(
        makeSharedModelContainer(),
        "^Fatal error: Could not create ModelContainer: The store at .*default.store has format version 7; "
        "this program knows up to 1");
    EXPECT_EQ(bytes(file), before);
}

} // namespace
