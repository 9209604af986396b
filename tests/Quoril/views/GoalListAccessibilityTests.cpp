// The goal list as assistive technology reads and works it: through the interfaces Qt asks
// the window for.
#include "GoalListFixture.h"

#include "ui/AccessibilityTree.h"
#include "ui/HostingWindow.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <algorithm>
#include <functional>

using namespace goaltest;

namespace {

struct Row {
    QAccessibleInterface* title = nullptr;
    QAccessibleInterface* completed = nullptr;
    QAccessibleInterface* inProgress = nullptr;
};

void collect(QAccessibleInterface* from, const std::function<void(QAccessibleInterface*)>& visit) {
    for (int i = 0; from && i < from->childCount(); ++i) {
        if (auto* child = from->child(i)) {
            visit(child);
            collect(child, visit);
        }
    }
}

std::vector<QAccessibleInterface*> all(QAccessibleInterface* from, QAccessible::Role role) {
    std::vector<QAccessibleInterface*> found;
    collect(from, [&](QAccessibleInterface* i) {
        if (i->role() == role) found.push_back(i);
    });
    return found;
}

std::vector<QAccessible::Event>& told() {
    static std::vector<QAccessible::Event> events;
    return events;
}
std::vector<QAccessible::Role>& toldRoles() {
    static std::vector<QAccessible::Role> roles;
    return roles;
}

class GoalListAccessibilityTest : public GoalListTest {
protected:
    void TearDown() override {
        ui::overrideAccessibilityActive(std::nullopt);
        ui::setAccessibilityAnnouncer({});
    }
    void open() {
        ui::EnvironmentValues environment;
        environment.set<ui::ColorSchemeKey>(ui::ColorScheme::dark);
        window = std::make_unique<ui::HostingWindow>(content(collection), environment);
        window->resize(int(windowSize.width), int(windowSize.height));
        window->updateNow();
    }
    QAccessibleInterface* root() { return QAccessible::queryAccessibleInterface(window.get()); }

    // The goal rows, top to bottom.
    std::vector<Row> goalRows() {
        std::vector<Row> rows;
        for (auto* item : all(root(), QAccessible::ListItem)) {
            Row row;
            collect(item, [&](QAccessibleInterface* i) {
                if (i->role() == QAccessible::EditableText) row.title = i;
                if (i->role() == QAccessible::CheckBox && i->text(QAccessible::Name) == "Completed")
                    row.completed = i;
                if (i->role() == QAccessible::CheckBox && i->text(QAccessible::Name) == "In Progress")
                    row.inProgress = i;
            });
            rows.push_back(row);
        }
        return rows;
    }
    QAccessibleInterface* button(const QString& name) {
        for (auto* b : all(root(), QAccessible::Button))
            if (b->text(QAccessible::Name) == name) return b;
        return nullptr;
    }

    std::unique_ptr<ui::HostingWindow> window;
};

TEST_F(GoalListAccessibilityTest, RowsShowTheirTitleAndFlagsAndCompletingMovesTheRowFirst) {
    addGoal("Water the plants", 0, false, true);
    addGoal("Call the bank", 1);
    open();
    auto rows = goalRows();
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_TRUE(rows[0].title && rows[0].completed && rows[0].inProgress);
    ASSERT_TRUE(rows[1].title && rows[1].completed && rows[1].inProgress);
    EXPECT_EQ(rows[0].title->text(QAccessible::Name), "Water the plants");
    EXPECT_EQ(rows[1].title->text(QAccessible::Name), "Call the bank");
    EXPECT_TRUE(rows[0].inProgress->state().checked);
    EXPECT_FALSE(rows[0].completed->state().checked);
    EXPECT_FALSE(rows[1].inProgress->state().checked);

    auto* add = button("New Goal");
    ASSERT_NE(add, nullptr);
    EXPECT_FALSE(add->state().disabled);
    auto* burn = button("Burn");
    ASSERT_NE(burn, nullptr);
    EXPECT_TRUE(burn->state().disabled) << "nothing is completed yet";

    // Completing the second goal as a screen reader user would.
    rows[1].completed->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    window->updateNow();
    EXPECT_TRUE(listed().front()->completed());
    EXPECT_EQ(listed().front()->title(), "Call the bank");
    rows = goalRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].title->text(QAccessible::Name), "Call the bank");
    EXPECT_TRUE(rows[0].completed->state().checked);
    EXPECT_TRUE(rows[0].inProgress->state().checked) << "a completed goal is in progress too";
    EXPECT_FALSE(button("Burn")->state().disabled);
}

TEST_F(GoalListAccessibilityTest, ANewGoalIsAnnouncedWithTheFocusOnItsEditor) {
    addGoal("Water the plants", 0);
    open();
    ui::overrideAccessibilityActive(true);
    ui::setAccessibilityAnnouncer([](QAccessibleEvent& event) {
        told().push_back(event.type());
        auto* iface = event.accessibleInterface();
        toldRoles().push_back(iface ? iface->role() : QAccessible::NoRole);
    });
    told().clear();
    toldRoles().clear();
    auto* add = button("New Goal");
    ASSERT_NE(add, nullptr);
    add->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    for (int i = 0; i < 5; ++i)
        window->updateNow();
    EXPECT_EQ(goalRows().size(), 2u);

    auto saw = [](QAccessible::Event type, QAccessible::Role role) {
        for (std::size_t i = 0; i < told().size(); ++i)
            if (told()[i] == type && toldRoles()[i] == role) return true;
        return false;
    };
    EXPECT_TRUE(saw(QAccessible::ObjectCreated, QAccessible::ListItem));
    EXPECT_TRUE(saw(QAccessible::Focus, QAccessible::EditableText));
}

} // namespace
