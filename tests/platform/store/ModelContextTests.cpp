#include "TestModels.h"

#include "store/StoreError.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace store_testing;
using store::FetchDescriptor;
using store::Predicate;

namespace {

class ModelContextTest : public testing::Test {
protected:
    ModelContextTest()
        : container(testSchema(), inMemory())
        , context(container.mainContext()) {
        context->setAutosaveEnabled(false);
    }

    std::shared_ptr<Note> addNote(std::string title, std::optional<std::int64_t> rank = std::nullopt,
                                  double created = 0, std::shared_ptr<Folder> folder = nullptr) {
        auto note = std::make_shared<Note>(std::move(title), rank, created);
        note->setFolder(std::move(folder));
        context->insert(note);
        return note;
    }

    FetchDescriptor<Note> listOrder(std::optional<Predicate<Note>> predicate = std::nullopt) {
        return {predicate, {{"rank"}, {"created"}}};
    }

    store::ModelContainer container;
    std::shared_ptr<store::ModelContext> context;
};

TEST_F(ModelContextTest, OneObjectPerRowAndIdentifiersSurviveSaving) {
    auto note = addNote("a");
    const auto id = note->persistentModelID();
    EXPECT_FALSE(id.isTemporary());
    context->save();
    EXPECT_EQ(note->persistentModelID(), id);
    auto first = context->fetch<Note>();
    auto second = context->fetch<Note>();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0], note);
    EXPECT_EQ(second[0], note);

    Note loose("loose");
    Note other("other");
    EXPECT_TRUE(loose.persistentModelID().isTemporary());
    EXPECT_NE(loose.persistentModelID(), other.persistentModelID());
}

TEST_F(ModelContextTest, FetchesFilterAndSortSavedAndUnsavedModelsAlike) {
    auto folder = std::make_shared<Folder>("f");
    context->insert(folder);
    addNote("no rank, late", std::nullopt, 5, folder);
    addNote("rank 1", 1, 1, folder);
    addNote("rank 0, late", 0, 9, folder);
    addNote("rank 0, early", 0, 2, folder);
    addNote("loose", 0, 0);

    const auto inFolder = Predicate<Note>::relationshipEquals("folder", folder->persistentModelID());
    const std::vector<std::string> expected{"no rank, late", "rank 0, early", "rank 0, late", "rank 1"};
    EXPECT_EQ(titles(context->fetch(listOrder(inFolder))), expected) << "unsaved";
    context->save();
    EXPECT_EQ(titles(context->fetch(listOrder(inFolder))), expected) << "saved";

    // Absent equals absent: no folder finds the notes without one.
    EXPECT_EQ(titles(context->fetch(listOrder(Predicate<Note>::relationshipEquals("folder", std::nullopt)))),
              std::vector<std::string>{"loose"});

    // Unsaved edits move models in and out of a saved result.
    context->fetch<Note>()[1]->setDone(true); // "rank 1"
    addNote("new done", 0, 1, folder)->setDone(true);
    const auto doneInFolder = Predicate<Note>::equals("done", true) && inFolder;
    EXPECT_EQ(titles(context->fetch(listOrder(doneInFolder))),
              (std::vector<std::string>{"new done", "rank 1"}));
    EXPECT_EQ(context->fetchCount(FetchDescriptor<Note>{doneInFolder}), 2u);
    context->save();
    EXPECT_EQ(context->fetchCount(FetchDescriptor<Note>{doneInFolder}), 2u);
    EXPECT_EQ(context->fetchCount<Note>(), 6u);
}

TEST_F(ModelContextTest, AResultTakesInsertsInPlaceAsAFetchWouldAndAnyOtherChangeAsksForAFetch) {
    auto folder = std::make_shared<Folder>("f");
    context->insert(folder);
    for (int i = 0; i < 6; ++i)
        addNote("n" + std::to_string(i), i % 3, i, folder);
    const auto descriptor =
        listOrder(Predicate<Note>::relationshipEquals("folder", folder->persistentModelID()));
    auto result = context->fetch(descriptor);
    auto generation = context->contentsGeneration();
    const auto follows = [&] {
        auto followed = context->fetchAfterInserts(descriptor, result, generation);
        if (!followed) return false;
        EXPECT_EQ(titles(*followed), titles(context->fetch(descriptor)));
        result = std::move(*followed);
        generation = context->contentsGeneration();
        return true;
    };

    // New notes in the middle, at the end, out of the folder and of another kind.
    addNote("middle", 1, 2.5, folder);
    addNote("last", 9, 0, folder);
    addNote("loose", 0, 0);
    context->insert(std::make_shared<Folder>("other"));
    EXPECT_TRUE(follows());
    addNote("tie a", 1, 7, folder);
    addNote("tie b", 1, 7, folder);
    EXPECT_TRUE(follows());
    EXPECT_TRUE(follows()) << "nothing new";

    // A write, a delete or a save in between: fetched again.
    addNote("written", 0, 0, folder)->setRank(5);
    EXPECT_FALSE(follows());
    result = context->fetch(descriptor);
    generation = context->contentsGeneration();
    context->deleteModel(result.front());
    addNote("after delete", 0, 0, folder);
    EXPECT_FALSE(follows());
    result = context->fetch(descriptor);
    generation = context->contentsGeneration();
    context->save();
    addNote("after save", 0, 0, folder);
    EXPECT_FALSE(follows());

    // A result read from the file, with nothing unsaved, takes inserts as well.
    context->save();
    result = context->fetch(descriptor);
    generation = context->contentsGeneration();
    addNote("after a clean fetch", 1, 3, folder);
    EXPECT_TRUE(follows());
    addNote("and again", 0, 1, folder);
    EXPECT_TRUE(follows());

    // More inserts than it keeps track of.
    result = context->fetch(descriptor);
    generation = context->contentsGeneration();
    for (int i = 0; i < 40; ++i)
        addNote("many " + std::to_string(i), 2, i, folder);
    EXPECT_FALSE(follows());
}

TEST_F(ModelContextTest, WithoutSortModelsComeInTheOrderTheyWereInserted) {
    for (const char* title : {"c", "a", "b"})
        addNote(title);
    EXPECT_EQ(titles(context->fetch<Note>()), (std::vector<std::string>{"c", "a", "b"}));
    context->save();
    EXPECT_EQ(titles(context->fetch<Note>()), (std::vector<std::string>{"c", "a", "b"}));
}

TEST_F(ModelContextTest, UnknownNamesAndWrongValuesAreErrors) {
    addNote("a");
    EXPECT_THROW(context->fetch(FetchDescriptor<Note>{Predicate<Note>::equals("colour", true)}),
                 store::StoreError);
    EXPECT_THROW(context->fetch(FetchDescriptor<Note>{Predicate<Note>::equals("done", std::string("yes"))}),
                 store::StoreError);
    EXPECT_THROW(context->fetch(FetchDescriptor<Note>{std::nullopt, {{"nothing"}}}), store::StoreError);
    EXPECT_THROW(
        context->fetch(FetchDescriptor<Note>{Predicate<Note>::relationshipEquals("title", std::nullopt)}),
        store::StoreError);
    EXPECT_EQ(context->fetchCount<Note>(), 1u);
}

TEST_F(ModelContextTest, DeletingAFolderDeletesItsNotesAndDeletingANoteLeavesTheFolder) {
    auto kept = std::make_shared<Folder>("kept");
    auto gone = std::make_shared<Folder>("gone");
    context->insert(kept);
    context->insert(gone);
    auto a = addNote("a", 0, 0, kept);
    auto b = addNote("b", 0, 0, kept);
    addNote("c", 0, 0, gone);
    addNote("d", 0, 0, gone);
    context->save();

    context->deleteModel(a);
    context->deleteModel(a); // again: nothing more
    EXPECT_EQ(titles(kept->notes()), std::vector<std::string>{"b"});
    context->deleteModel(gone);
    EXPECT_TRUE(gone->isDeleted());
    EXPECT_EQ(titles(context->fetch<Note>()), std::vector<std::string>{"b"});
    context->save();
    EXPECT_EQ(titles(context->fetch<Note>()), std::vector<std::string>{"b"});
    EXPECT_EQ(titles(context->fetch<Folder>()), std::vector<std::string>{"kept"});
}

TEST_F(ModelContextTest, NotesJoinAndLeaveTheirFolderThroughTheirOwnSide) {
    auto first = std::make_shared<Folder>("first");
    auto second = std::make_shared<Folder>("second");
    auto note = std::make_shared<Note>("n");
    note->setFolder(first);
    context->insert(note); // brings its folder along
    EXPECT_EQ(first->modelContext(), context);
    EXPECT_EQ(first->notes().size(), 1u);
    note->setFolder(second);
    note->setFolder(first);
    note->setFolder(second);
    EXPECT_TRUE(first->notes().empty());
    ASSERT_EQ(second->notes().size(), 1u) << "moving back and forth leaves one entry";
    context->insert(second);
    context->save();
    EXPECT_EQ(second->notes()[0], note);
}

TEST_F(ModelContextTest, ReadersOfAFoldersNotesHearOfADeletedNote) {
    auto folder = std::make_shared<Folder>("f");
    auto note = addNote("a", std::nullopt, 0, folder);
    addNote("b", std::nullopt, 0, folder);
    context->save();
    int changes = 0;
    reactive::withObservationTracking([&] { (void)folder->notes(); }, [&] { ++changes; });
    context->deleteModel(note);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(folder->notes().size(), 1u);
}

TEST_F(ModelContextTest, WritesToADeletedModelDoNothing) {
    auto note = addNote("before");
    context->save();
    context->deleteModel(note);
    note->setTitle("after");
    note->setDone(true);
    EXPECT_EQ(note->title(), "before");
    EXPECT_FALSE(note->done());
    context->save();
    EXPECT_FALSE(context->hasChanges());
}

TEST_F(ModelContextTest, DeleteModelsDeletesEveryMatch) {
    addNote("a")->setDone(true);
    addNote("b");
    context->save();
    addNote("c")->setDone(true);
    context->deleteModels(Predicate<Note>::equals("done", true));
    EXPECT_EQ(titles(context->fetch<Note>()), std::vector<std::string>{"b"});
}

TEST_F(ModelContextTest, AModelOfAnotherContextIsRefused) {
    store::ModelContainer other(testSchema(), inMemory());
    auto note = std::make_shared<Note>("n");
    other.mainContext()->insert(note);
    EXPECT_THROW(context->insert(note), store::StoreError);
    EXPECT_FALSE(context->hasChanges());
}

TEST_F(ModelContextTest, EveryWriteNotifiesAndFetchesHearOfChanges) {
    auto note = addNote("a");
    int titleChanges = 0;
    reactive::withObservationTracking([&] { (void)note->title(); }, [&] { ++titleChanges; });
    note->setTitle("a"); // the same value
    EXPECT_EQ(titleChanges, 1);

    int doneChanges = 0;
    reactive::withObservationTracking([&] { (void)note->title(); }, [&] { ++doneChanges; });
    note->setDone(true); // another property
    EXPECT_EQ(doneChanges, 0);

    int resultChanges = 0;
    const auto track = [&] {
        reactive::withObservationTracking([&] { (void)context->fetch<Note>(); }, [&] { ++resultChanges; });
    };
    track();
    addNote("b");
    track();
    context->deleteModel(note);
    track();
    context->fetch<Note>()[0]->setRank(4);
    EXPECT_EQ(resultChanges, 3);
}

TEST_F(ModelContextTest, AContainerThatMayNotSaveKeepsItsChanges) {
    auto configuration = inMemory();
    configuration.allowsSave = false;
    store::ModelContainer readOnly(testSchema(), configuration);
    readOnly.mainContext()->insert(std::make_shared<Note>("n"));
    EXPECT_THROW(readOnly.mainContext()->save(), store::StoreError);
    EXPECT_TRUE(readOnly.mainContext()->hasChanges());
    EXPECT_FALSE(readOnly.mainContext()->autosaveNow());
    readOnly.mainContext()->setAutosaveEnabled(false);
}

} // namespace
