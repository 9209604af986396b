#include "GoalListFixture.h"

#include "App/AutoBurn.h"
#include "Views/GoalListActions.h"
#include "Views/ItemToggleStyle.h"

#include "foundation/RunLoop.h"
#include "reactive/ObservationRegistrar.h"
#include "ui/ToggleStyle.h"

using namespace goaltest;

namespace {

// The list's own operations, made over the same store as a list would make them.
struct ActionsProbe {
    std::shared_ptr<ItemCollection> collection;
    std::shared_ptr<std::optional<quoril::GoalListActions>> out;
    ui::View body(ui::ViewContext& ctx) const {
        *out = quoril::GoalListActions::make(ctx, collection);
        return ui::View(ui::Color::clear);
    }
};

class GoalOrderTest : public GoalListTest {
protected:
    void tapCompleted(const std::shared_ptr<Item>& item) {
        host->tap(togglesOf(item).at(0));
        settle();
    }
    void tapInProgress(const std::shared_ptr<Item>& item) {
        host->tap(togglesOf(item).at(1));
        settle();
    }
    bool anticipates(ui::Element* toggle) {
        return toggle->environment().get<ui::ToggleStyleKey>() == ui::AnyToggleStyle(quoril::ItemToggleStyle{true});
    }
    quoril::GoalListActions actions() {
        auto out = std::make_shared<std::optional<quoril::GoalListActions>>();
        probe = std::make_unique<ui::TestHost>(ui::View(ActionsProbe{collection, out})
                                                   .environmentObject(commands)
                                                   .environmentObject(modifiers) |
                                                   store::modelContainer(container),
                                               graphics::CGSize{10, 10});
        probe->update();
        return **out;
    }
    std::unique_ptr<ui::TestHost> probe;
};

} // namespace

TEST_F(GoalOrderTest, CompletingAGoalMovesItFirstAndNumbersEveryGoalWhereItShows) {
    auto a = addGoal("a", 0);
    auto b = addGoal("b", 1);
    auto c = addGoal("c", 2);
    show();
    tapCompleted(c);
    EXPECT_TRUE(c->completed());
    EXPECT_TRUE(c->inProgress()) << "completed goals are in progress";
    EXPECT_EQ(titles(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(c->orderIndex(), 0);
    EXPECT_EQ(a->orderIndex(), 1);
    EXPECT_EQ(b->orderIndex(), 2);
    EXPECT_EQ(itemOf(rows().front()), c);

    // Clearing "In Progress" clears "Completed"; clearing "Completed" leaves "In Progress".
    tapInProgress(c);
    EXPECT_FALSE(c->inProgress());
    EXPECT_FALSE(c->completed());
    tapCompleted(b);
    tapCompleted(b);
    EXPECT_FALSE(b->completed());
    EXPECT_TRUE(b->inProgress());
    EXPECT_EQ(titles(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(indices(), (std::vector<std::int64_t>{0, 1, 2}));
}

TEST_F(GoalOrderTest, HoveringPreviewsWhatAClickWouldSet) {
    auto goal = addGoal("goal", 0);
    show();
    auto toggles = togglesOf(goal);
    host->hover(centre(ui::TestHost::frame(toggles[0])));
    settle(0.5);
    toggles = togglesOf(goal);
    EXPECT_TRUE(anticipates(toggles[0]));
    EXPECT_TRUE(anticipates(toggles[1])) << "completing marks in progress too";
    host->hover(centre(ui::TestHost::frame(toggles[1])));
    settle(0.5);
    toggles = togglesOf(goal);
    EXPECT_FALSE(anticipates(toggles[0]));
    EXPECT_TRUE(anticipates(toggles[1]));
    host->pointerExit();
    settle(0.5);
    toggles = togglesOf(goal);
    EXPECT_FALSE(anticipates(toggles[0]) || anticipates(toggles[1]));
}

TEST_F(GoalOrderTest, DragsMoveWithinTheListAsShownAndKeepEachGoalInItsGroup) {
    auto done = addGoal("done", 5, true);
    auto first = addGoal("first", 0);
    auto second = addGoal("second", 1);
    show();
    ASSERT_EQ(titles(), (std::vector<std::string>{"done", "first", "second"}));
    // Shown second open goal above the first: positions as shown, not as stored.
    actions().moveItems(foundation::IndexSet(2), 1);
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"done", "second", "first"}));
    EXPECT_EQ(indices(), (std::vector<std::int64_t>{0, 1, 2}));

    // Out of its group: above the completed goal, it stays among the open ones.
    actions().moveItems(foundation::IndexSet(2), 0);
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"done", "first", "second"}));

    // Among goals in progress, every listed goal is numbered anew.
    first->setInProgress(true);
    second->setInProgress(true);
    auto third = addGoal("third", 9, false, true);
    settle();
    ASSERT_EQ(titles(), (std::vector<std::string>{"done", "first", "second", "third"}));
    actions().moveItems(foundation::IndexSet(3), 1);
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"done", "third", "first", "second"}));
    EXPECT_EQ(indices(), (std::vector<std::int64_t>{0, 1, 2, 3}));
}

TEST_F(GoalOrderTest, ARowDraggedByItsTitleMovesWithTheList) {
    addGoal("first", 0);
    auto second = addGoal("second", 1);
    show();
    auto* title = editorElementOf(second);
    const auto from = centre(ui::TestHost::frame(title));
    const auto to = ui::TestHost::frame(editorElementOf(listed().front())).origin;
    host->pointerDown(from);
    for (int i = 1; i <= 10; ++i)
        host->pointerMove(graphics::CGPoint{from.x, from.y + (to.y - from.y) * i / 10});
    host->pointerUp(graphics::CGPoint{from.x, to.y});
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"second", "first"}));
}

TEST_F(GoalOrderTest, DeletingByOffsetsTakesTheGoalsShownThere) {
    addGoal("a", 0);
    addGoal("b", 1);
    addGoal("c", 2);
    show();
    actions().deleteItems(foundation::IndexSet{0, 2});
    settle();
    EXPECT_EQ(titles(), std::vector<std::string>{"b"});

    addGoal("d", 3);
    addGoal("e", 4);
    settle();
    actions().deleteItems(foundation::IndexSet{1, 7});
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"b", "e"})) << "an offset past the end is let go";
}

TEST_F(GoalOrderTest, ARowsDeleteEndsAddingAndUndoBringsTheGoalBackInPlace) {
    addGoal("a", 0);
    auto b = addGoal("b", 1);
    addGoal("c", 2);
    show();
    host->tap(addButton());
    settle();
    ASSERT_TRUE(addingItem() || focused());
    ASSERT_TRUE(host->secondaryClick(centre(ui::TestHost::frame(editorElementOf(b)))));
    ASSERT_TRUE(host->chooseMenuItem("Delete"));
    settle();
    EXPECT_TRUE(b->isDeleted());
    EXPECT_FALSE(addingItem());
    EXPECT_EQ(newItemDisabled.back(), false);

    context()->undoManager()->undo();
    settle();
    EXPECT_EQ(titles()[1], "b");
    EXPECT_EQ(titles()[0], "a");
}

TEST_F(GoalOrderTest, AGoalBurntWhileItsTitleIsEditedTakesNoWriteWhenTheEditEnds) {
    auto goal = addGoal("goal", 0, true);
    show();
    clickTitle(goal);
    ASSERT_EQ(focused(), goal);
    type(editorOf(goal), "x");
    // What the automatic burn does to the main context: the goal is deleted under the editor.
    context()->deleteModel(goal);
    settle();
    EXPECT_TRUE(goal->isDeleted());
    EXPECT_FALSE(context()->hasChanges() && goal->title() != "goal");
    EXPECT_EQ(goal->title(), "goal");
    EXPECT_TRUE(titles().empty());
}

TEST_F(GoalOrderTest, TheBurnItemHearsOnlyWhenCompletedGoalsComeOrGo) {
    auto a = addGoal("a", 0);
    auto b = addGoal("b", 1);
    show();
    EXPECT_EQ(burnDisabled, std::vector<bool>{true});
    tapCompleted(a);
    EXPECT_EQ(burnDisabled, (std::vector<bool>{true, false}));
    tapCompleted(b);
    EXPECT_EQ(burnDisabled, (std::vector<bool>{true, false})) << "still some completed";
    tapCompleted(a);
    tapInProgress(b);
    EXPECT_EQ(burnDisabled, (std::vector<bool>{true, false, true}));
}

TEST_F(GoalOrderTest, ModifierKeysAreWrittenOnceWhenTheListFirstShows) {
    modifiers->setShiftKeyPressed(true);
    modifiers->setOptionKeyPressed(true);
    // Counts the turns in which either flag was written.
    struct Watch : std::enable_shared_from_this<Watch> {
        std::shared_ptr<quoril::ModifierKeyManager> keys;
        int writes = 0;
        void arm() {
            reactive::withObservationTracking(
                [&] {
                    keys->shiftKeyPressed();
                    keys->optionKeyPressed();
                },
                [weak = weak_from_this()] {
                    auto self = weak.lock();
                    if (!self) return;
                    ++self->writes;
                    foundation::RunLoop::main().perform([weak] {
                        if (auto again = weak.lock()) again->arm();
                    });
                });
        }
    };
    auto watch = std::make_shared<Watch>();
    watch->keys = modifiers;
    watch->arm();
    show();
    EXPECT_FALSE(modifiers->shiftKeyPressed());
    EXPECT_FALSE(modifiers->optionKeyPressed());
    EXPECT_EQ(watch->writes, 1);
    settle();
    EXPECT_EQ(watch->writes, 1) << "nothing more while the keys stay";
    host->setModifiers(ui::EventModifiers::shift);
    settle(0.1);
    EXPECT_TRUE(modifiers->shiftKeyPressed());
    EXPECT_EQ(watch->writes, 2);
}

TEST_F(GoalOrderTest, RowsLeftAloneByAnAdditionStillRenumberTheWholeListAfterIt) {
    auto a = addGoal("a", 0);
    auto b = addGoal("b", 1);
    show();
    const int evaluated = ui::TestHost::evaluationCount(rowOf(a));

    // A goal arriving from elsewhere (a second window, an import) is listed last; the rows
    // already shown are not described again for it.
    auto c = addGoal("c", 7);
    settle();
    ASSERT_EQ(titles(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(ui::TestHost::evaluationCount(rowOf(a)), evaluated);

    // Yet a flag set on such a row renumbers the list as it is now, the new goal included.
    tapInProgress(b);
    EXPECT_EQ(titles(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(b->orderIndex(), 0);
    EXPECT_EQ(a->orderIndex(), 1);
    EXPECT_EQ(c->orderIndex(), 2);
}

TEST_F(GoalOrderTest, RowsFollowFlagAndIndexWritesAfterEvaluationsThatChangedNeither) {
    auto a = addGoal("a", 0);
    auto b = addGoal("b", 1);
    auto c = addGoal("c", 2);
    show();
    auto shown = [&] {
        std::vector<std::shared_ptr<Item>> result;
        for (auto* row : rows())
            result.push_back(itemOf(row));
        return result;
    };
    // A title write re-evaluates the list with the same goals and flags.
    a->setTitle("a2");
    settle();
    ASSERT_EQ(shown(), (std::vector{a, b, c}));
    c->setInProgress(true);
    settle();
    EXPECT_EQ(shown(), (std::vector{c, a, b}));
    b->setOrderIndex(-1);
    settle();
    EXPECT_EQ(shown(), (std::vector{c, b, a}));
}
