#include "GoalListFixture.h"

#include "Views/Utilities.h"

#include "ui/StyleContext.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextCursor>

using namespace goaltest;

TEST_F(GoalListTest, TheEmptyListsButtonAddsAFocusedGoalAndTheMenuHearsOfEachAddition) {
    show();
    EXPECT_TRUE(newItemDisabled.empty()) << "nothing is sent when the window first shows";
    EXPECT_EQ(burnDisabled, std::vector<bool>{true});
    EXPECT_TRUE(rows().empty());

    // The empty state's button (below the title area).
    ui::Element* button = nullptr;
    for (auto* e : host->findAll([](const ui::Element& e) { auto t = e.node().text(); return t && *t == "New Goal"; }))
        if (ui::TestHost::frame(e).midY() > toolbar) button = e;
    ASSERT_NE(button, nullptr);
    host->tap(button);
    settle();
    ASSERT_EQ(listed().size(), 1u);
    auto goal = listed().front();
    EXPECT_EQ(focusedItem(), goal->id());
    EXPECT_TRUE(editorOf(goal)->isFirstResponder());
    EXPECT_EQ(goal->orderIndex(), 0);
    EXPECT_EQ(goal->collection(), collection);
    EXPECT_EQ(newItemDisabled, std::vector<bool>{true});
    EXPECT_FALSE(isEnabled(addButton())) << "no second goal while one is being added";

    // Typing begins the edit: adding is over.
    typeIntoFocused("a");
    EXPECT_EQ(newItemDisabled, (std::vector<bool>{true, false}));
    EXPECT_TRUE(isEnabled(addButton()));
    EXPECT_EQ(goal->title(), "") << "stored when editing ends";
}

TEST_F(GoalListTest, ANewGoalGoesPastTheLargestIndexAndShowsLast) {
    addGoal("first", 0);
    addGoal("second", 3);
    show();
    host->tap(addButton());
    settle();
    auto goal = focused();
    ASSERT_NE(goal, nullptr);
    EXPECT_EQ(goal->orderIndex(), 4) << "the count (2) would place it before the goal at 3";
    EXPECT_EQ(listed().back(), goal);
    EXPECT_EQ(itemOf(rows().back()), goal);
}

TEST_F(GoalListTest, ReturnAddsWhenNoEditorHasTheFocusAndAClickBelowFirstOnlyEndsTheEdit) {
    addGoal("kept", 0);
    show();
    EXPECT_TRUE(host->keyPress(ui::KeyEquivalent::return_, ui::EventModifiers::none));
    settle();
    ASSERT_EQ(listed().size(), 2u);
    auto fresh = focused();
    ASSERT_NE(fresh, nullptr);

    // A goal has the focus: the click below clears it, which deletes the untitled goal.
    clickBelowGoals();
    EXPECT_EQ(focusedItem(), std::nullopt);
    EXPECT_EQ(titles(), std::vector<std::string>{"kept"});
    EXPECT_FALSE(addingItem());
    // Nothing has the focus: the next click adds.
    clickBelowGoals();
    EXPECT_EQ(listed().size(), 2u);
    EXPECT_NE(focused(), nullptr);
}

TEST_F(GoalListTest, TitlesTypedOneAfterAnotherKeepTheirOrder) {
    show();
    host->tap(addButton());
    settle();
    typeIntoFocused("a");
    keyIntoFocused(Qt::Key_Return);
    typeIntoFocused("b");
    keyIntoFocused(Qt::Key_Return);
    typeIntoFocused("c");
    clickBelowGoals();
    EXPECT_EQ(titles(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(focusedItem(), std::nullopt);
}

TEST_F(GoalListTest, EmptyTitlesGoAndEscapeKeepsAStoredOne) {
    auto kept = addGoal("kept", 0);
    auto emptied = addGoal("emptied", 1);
    show();

    // Return in an empty new editor ends it, and the goal goes.
    host->tap(addButton());
    settle();
    keyIntoFocused(Qt::Key_Return);
    EXPECT_EQ(titles(), (std::vector<std::string>{"kept", "emptied"}));

    // Escape after typing into a new goal: its stored title is still empty.
    host->tap(addButton());
    settle();
    typeIntoFocused("draft");
    keyIntoFocused(Qt::Key_Escape);
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"kept", "emptied"}));

    // Escape in a goal with a title ends the edit and keeps what the editor holds.
    clickTitle(kept);
    EXPECT_EQ(focused(), kept);
    type(editorOf(kept), "s");
    key(editorOf(kept), Qt::Key_Escape);
    settle();
    EXPECT_EQ(focusedItem(), std::nullopt);
    EXPECT_EQ(kept->title(), "kepts");

    // Emptying an existing title and leaving deletes the goal.
    clickTitle(emptied);
    EXPECT_EQ(focused(), emptied);
    for (int i = 0; i < 7; ++i)
        key(editorOf(emptied), Qt::Key_Backspace);
    clickBelowGoals();
    EXPECT_EQ(titles(), std::vector<std::string>{"kepts"});
    EXPECT_TRUE(emptied->isDeleted());
}

TEST_F(GoalListTest, TitlesShowByTheirFlagsAndTheRowGrowsWithItsText) {
    auto open = addGoal("open", 0);
    auto going = addGoal("going", 1, false, true);
    auto done = addGoal("done", 2, true);
    show();
    ui::StyleContext dark;
    dark.colorScheme = ui::ColorScheme::dark;
    EXPECT_EQ(editorOf(done)->textColor(), quoril::Utilities::accentColor());
    EXPECT_EQ(quoril::Utilities::accentColor(), ui::Color::red);
    EXPECT_EQ(editorOf(going)->textColor(), ui::Color::primary);
    EXPECT_EQ(editorOf(open)->textColor(), ui::Color::primary.opacity(0.7));
    EXPECT_EQ(editorOf(open)->colorScheme(), ui::ColorScheme::dark);

    // A new goal's editor shows the placeholder.
    host->tap(addButton());
    settle();
    const auto placeholder = editorOf(focused())->placeholderAttributedString();
    ASSERT_EQ(placeholder.size(), 1u);
    EXPECT_EQ(placeholder[0].text, "New Item");
    EXPECT_EQ(placeholder[0].foregroundColor, ui::Color::secondary.resolve(dark).toQColor());

    // A title too long for one line makes its row taller, and the empty area moves down as much.
    clickTitle(open);
    ASSERT_EQ(focused(), open);
    ASSERT_EQ(rows().size(), 3u) << "the untitled goal went with the focus";
    const double rowHeight = ui::TestHost::frame(rowOf(open)).height();
    const double emptyArea = emptySpaceHeight();
    const double lastRow = ui::TestHost::frame(rows().back()).maxY();
    type(editorOf(open), " and a title that is long enough to need a second line");
    settle();
    const double grown = ui::TestHost::frame(rowOf(open)).height() - rowHeight;
    EXPECT_GT(grown, 10);
    EXPECT_NEAR(emptySpaceHeight(), emptyArea + grown, 0.5);
    EXPECT_NEAR(ui::TestHost::frame(rows().back()).maxY(), lastRow + grown, 0.5);
}

TEST_F(GoalListTest, TitlesAreOnlyDrawnUntilOneIsClickedWhichEditsWhereTheClickLands) {
    auto goal = addGoal("Goal", 0);
    auto other = addGoal("Other", 1);
    show();
    EXPECT_EQ(editorOf(goal)->editor(), nullptr) << "no editor for a title nobody edits";
    EXPECT_EQ(editorOf(other)->editor(), nullptr);

    // A click between "Go" and "al", and a key at once.
    const auto frame = ui::TestHost::frame(editorElementOf(goal));
    const QFontMetricsF metrics(editorOf(goal)->font());
    host->tap({frame.minX() + metrics.horizontalAdvance("Go"), frame.midY()});
    settle(0.1);
    ASSERT_EQ(focused(), goal);
    ASSERT_NE(editorOf(goal)->editor(), nullptr);
    EXPECT_EQ(editorOf(goal)->editor()->textCursor().position(), 2);
    type(editorOf(goal), "x");
    clickBelowGoals();
    EXPECT_EQ(goal->title(), "Goxal");
    EXPECT_EQ(editorOf(other)->editor(), nullptr);
}
