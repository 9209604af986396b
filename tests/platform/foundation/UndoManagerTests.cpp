#include "foundation/Clock.h"
#include "foundation/Object.h"
#include "foundation/RunLoop.h"
#include "foundation/UndoManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace foundation;

namespace {

// A value whose every change registers its inverse, the usual undo pattern.
struct Counter : Object {
    explicit Counter(UndoManager& undo)
        : undo(undo) {}
    void set(int newValue) {
        const int old = value;
        value = newValue;
        undo.registerUndo(weakSelf<Counter>(), [old](Counter& self) { self.set(old); });
    }
    UndoManager& undo;
    int value = 0;
};

struct UndoManagerTest : ::testing::Test {
    ScopedManualClock clock{Date(1000)};
    UndoManager undo;
    UndoManagerTest() { undo.setGroupsByEvent(false); }
    void TearDown() override { RunLoop::main().runUntilIdle(); }
};

} // namespace

TEST_F(UndoManagerTest, UndoAndRedoRoundTripAValue) {
    auto counter = std::make_shared<Counter>(undo);
    counter->set(1);
    counter->set(2);
    EXPECT_TRUE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());

    bool undoingSeen = false;
    undo.registerUndo(counter, [&](const std::shared_ptr<Counter>&) { undoingSeen = undo.isUndoing(); });
    undo.undo();
    EXPECT_TRUE(undoingSeen);
    undo.undo();
    EXPECT_EQ(counter->value, 1);
    undo.undo();
    EXPECT_EQ(counter->value, 0);
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(undo.canRedo());

    undo.redo();
    EXPECT_EQ(counter->value, 1);
    undo.redo();
    EXPECT_EQ(counter->value, 2);
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(counter->value, 1);

    counter->set(5); // a new change forgets what could be redone
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(counter->value, 1);
}

TEST_F(UndoManagerTest, AGroupUndoesAndRedoesSeveralChangesAtOnce) {
    auto a = std::make_shared<Counter>(undo);
    auto b = std::make_shared<Counter>(undo);
    a->set(1);
    undo.beginUndoGrouping();
    a->set(2);
    undo.beginUndoGrouping(); // nested groups merge into the outer one
    b->set(3);
    undo.endUndoGrouping();
    undo.setActionName("Change Both");
    undo.endUndoGrouping();
    EXPECT_EQ(undo.undoActionName(), "Change Both");

    undo.undo();
    EXPECT_EQ(a->value, 1);
    EXPECT_EQ(b->value, 0);
    EXPECT_EQ(undo.redoActionName(), "Change Both");
    undo.redo();
    EXPECT_EQ(a->value, 2);
    EXPECT_EQ(b->value, 3);
    undo.undo();
    undo.undo();
    EXPECT_EQ(a->value, 0);
    EXPECT_EQ(b->value, 0);
}

TEST_F(UndoManagerTest, ByEventTheChangesOfOneRunLoopTurnGoTogether) {
    undo.setGroupsByEvent(true);
    auto counter = std::make_shared<Counter>(undo);
    auto& loop = RunLoop::main();
    loop.perform([&] {
        loop.perform([&] { counter->set(3); }); // runs at the next turn
        counter->set(1);
    });
    loop.perform([&] { counter->set(2); });
    loop.runDue();
    EXPECT_EQ(undo.groupingLevel(), 1);
    loop.runUntilIdle();
    EXPECT_EQ(undo.groupingLevel(), 0);
    EXPECT_EQ(counter->value, 3);

    undo.undo();
    EXPECT_EQ(counter->value, 2);
    undo.undo();
    EXPECT_EQ(counter->value, 0);

    // Undo closes the group of the running turn first.
    counter->set(7);
    counter->set(8);
    undo.undo();
    EXPECT_EQ(counter->value, 0);
}

TEST_F(UndoManagerTest, RemoveAllActionsEmptiesBothStacksOrDropsOneTarget) {
    auto a = std::make_shared<Counter>(undo);
    auto b = std::make_shared<Counter>(undo);
    undo.beginUndoGrouping();
    a->set(1);
    b->set(1);
    undo.endUndoGrouping();
    b->set(2);
    undo.removeAllActions(b);
    undo.undo();
    EXPECT_EQ(a->value, 0);
    EXPECT_EQ(b->value, 2);

    a->set(5);
    a->set(6);
    undo.undo();
    ASSERT_TRUE(undo.canUndo());
    ASSERT_TRUE(undo.canRedo());
    undo.removeAllActions();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(a->value, 5);
}

TEST_F(UndoManagerTest, ActionsOfGoneTargetsAreSkipped) {
    auto kept = std::make_shared<Counter>(undo);
    auto gone = std::make_shared<Counter>(undo);
    undo.beginUndoGrouping();
    kept->set(1);
    gone->set(1);
    undo.endUndoGrouping();
    gone->set(2);
    gone.reset();

    EXPECT_TRUE(undo.canUndo());
    undo.undo(); // passes over the group that only the gone target had
    EXPECT_EQ(kept->value, 0);
    EXPECT_FALSE(undo.canUndo());
    EXPECT_TRUE(undo.canRedo());
}

TEST_F(UndoManagerTest, HandlersAreReleasedOnlyOnceTheStacksAreConsistent) {
    // A handler's capture whose destructor asks the manager about its stacks.
    struct Probe {
        UndoManager& undo;
        std::vector<bool>& seen;
        ~Probe() { seen.push_back(undo.canRedo()); }
    };
    std::vector<bool> seen;
    auto counter = std::make_shared<Counter>(undo);
    {
        auto probe = std::make_shared<Probe>(undo, seen);
        undo.registerUndo(counter, [probe](Counter& c) {
            c.undo.registerUndo(c.weakSelf<Counter>(), [probe](Counter&) {});
        });
    }
    undo.undo(); // the probe now lives only in the redo stack
    ASSERT_TRUE(undo.canRedo());
    counter->set(3); // forgets the redo stack, and the probe with it
    EXPECT_EQ(seen, std::vector<bool>{false});

    undo.setLevelsOfUndo(1);
    {
        auto probe = std::make_shared<Probe>(undo, seen);
        undo.registerUndo(counter, [probe](Counter&) {});
    }
    counter->set(4); // trims the oldest group, and the probe with it
    EXPECT_EQ(seen.size(), 2u);
}
