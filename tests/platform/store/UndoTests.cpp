#include "TestModels.h"

#include "foundation/UndoManager.h"

#include <gtest/gtest.h>

using namespace store_testing;

namespace {

class StoreUndoTest : public testing::Test {
protected:
    StoreUndoTest()
        : container(testSchema(), inMemory())
        , context(container.mainContext()) {
        context->setAutosaveEnabled(false);
        undo->setGroupsByEvent(false);
        context->setUndoManager(undo);
    }

    store::ModelContainer container;
    std::shared_ptr<store::ModelContext> context;
    std::shared_ptr<foundation::UndoManager> undo = std::make_shared<foundation::UndoManager>();
};

TEST_F(StoreUndoTest, InsertDeleteAndWriteAreUndoneAndRedone) {
    auto note = std::make_shared<Note>("a");
    context->insert(note);
    undo->undo();
    EXPECT_TRUE(context->fetch<Note>().empty());
    undo->redo();
    EXPECT_EQ(context->fetch<Note>(), std::vector<std::shared_ptr<Note>>{note});
    context->save();

    note->setTitle("b");
    undo->undo();
    EXPECT_EQ(note->title(), "a");
    undo->redo();
    EXPECT_EQ(note->title(), "b");

    context->deleteModel(note);
    context->save(); // its row is gone; undo brings it back as it was
    undo->undo();
    EXPECT_EQ(titles(context->fetch<Note>()), std::vector<std::string>{"b"});
    context->save();
    EXPECT_EQ(context->fetchCount<Note>(), 1u);
}

TEST_F(StoreUndoTest, UndoingADeletedFolderBringsBackItsNotes) {
    auto folder = std::make_shared<Folder>("f");
    auto note = std::make_shared<Note>("n");
    note->setFolder(folder);
    context->insert(note);
    context->save();
    undo->removeAllActions();

    undo->beginUndoGrouping();
    context->deleteModel(folder);
    undo->endUndoGrouping();
    EXPECT_TRUE(context->fetch<Note>().empty());
    undo->undo();
    EXPECT_EQ(context->fetch<Note>(), std::vector<std::shared_ptr<Note>>{note});
    EXPECT_EQ(folder->notes(), std::vector<std::shared_ptr<Note>>{note});
    context->save();
    EXPECT_EQ(context->fetchCount<Folder>(), 1u);
}

TEST_F(StoreUndoTest, UndoingAChangeToAGoneModelDoesNothing) {
    auto note = std::make_shared<Note>("a");
    context->insert(note);
    context->save();
    undo->removeAllActions();
    note->setTitle("b");

    // Gone without an undo record of its own, as a delete by another container is.
    context->setUndoManager(nullptr);
    context->deleteModel(note);
    context->setUndoManager(undo);
    undo->undo();
    EXPECT_EQ(note->title(), "b");
    EXPECT_TRUE(context->fetch<Note>().empty());
}

TEST_F(StoreUndoTest, ANoteWhoseFolderIsGoneStaysDeleted) {
    auto folder = std::make_shared<Folder>("f");
    auto note = std::make_shared<Note>("n");
    note->setFolder(folder);
    context->insert(note);
    context->save();
    context->deleteModel(note);
    context->save();
    context->setUndoManager(nullptr);
    context->deleteModel(folder);
    context->setUndoManager(undo);
    context->save();

    undo->undo();
    EXPECT_TRUE(note->isDeleted());
    EXPECT_NO_THROW(context->save());
    EXPECT_EQ(context->fetchCount<Note>(), 0u);
}

TEST_F(StoreUndoTest, RemoveAllActionsEmptiesBothStacks) {
    auto note = std::make_shared<Note>("a");
    context->insert(note);
    note->setTitle("b");
    undo->undo();
    ASSERT_TRUE(undo->canUndo());
    ASSERT_TRUE(undo->canRedo());
    undo->removeAllActions();
    EXPECT_FALSE(undo->canUndo());
    EXPECT_FALSE(undo->canRedo());
}

} // namespace
