#include "ui/AccessibilityTree.h"
#include "ui/Button.h"
#include "ui/ForEach.h"
#include "ui/HostingWindow.h"
#include "ui/Image.h"
#include "ui/List.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/TabView.h"
#include "ui/Toggle.h"
#include "ui/ViewContext.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

QAccessibleInterface* windowInterface(ui::HostingWindow& window) {
    return QAccessible::queryAccessibleInterface(&window);
}

// Depth first among the interfaces under `from`.
QAccessibleInterface* findInterface(QAccessibleInterface* from,
                                    const std::function<bool(QAccessibleInterface*)>& match) {
    for (int i = 0; from && i < from->childCount(); ++i) {
        QAccessibleInterface* child = from->child(i);
        if (!child) continue;
        if (match(child)) return child;
        if (auto* inner = findInterface(child, match)) return inner;
    }
    return nullptr;
}

QAccessibleInterface* named(ui::HostingWindow& window, const QString& name) {
    return findInterface(windowInterface(window),
                         [&](QAccessibleInterface* i) { return i->text(QAccessible::Name) == name; });
}

std::vector<QString> childNames(QAccessibleInterface* parent) {
    std::vector<QString> names;
    for (int i = 0; i < parent->childCount(); ++i)
        names.push_back(parent->child(i)->text(QAccessible::Name));
    return names;
}

struct Controls {
    std::shared_ptr<int> saves;
    bool combined = true;
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("on", true);
        auto saves = this->saves;
        ui::View pair = ui::HStack(ui::VerticalAlignment::center, 4, {ui::Text("Left"), ui::Text("Right")});
        if (combined) pair = pair.accessibilityElement(ui::AccessibilityChildBehavior::combine);
        return ui::VStack(ui::HorizontalAlignment::leading, 4,
                          {ui::Button("Save", [saves] { ++*saves; }), ui::Toggle("Wi-Fi", on.binding()),
                           ui::View(ui::Text("Secret")).accessibilityHidden(true), pair,
                           ui::View(ui::Button("Later", [saves] { ++*saves; })).disabled(true),
                           ui::View(ui::Image::systemName("star")).accessibilityLabel(ui::Text("Favourite")),
                           ui::Spacer(0),
                           ui::View(ui::Text("Plain")).accessibilityHint(ui::Text("Just text"))});
    }
};

TEST(AccessibilityBridgeTest, ViewsBecomeObjectsWithRolesNamesAndStates) {
    auto saves = std::make_shared<int>(0);
    ui::HostingWindow window(ui::View(Controls{saves}));
    QAccessibleInterface* root = windowInterface(window);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->role(), QAccessible::Window);
    // The spacer, the hidden text and the layout stacks make no object; the pair is one.
    EXPECT_EQ(childNames(root),
              (std::vector<QString>{"Save", "Wi-Fi", "Left, Right", "Later", "Favourite", "Plain"}));

    auto* save = named(window, "Save");
    EXPECT_EQ(save->role(), QAccessible::Button);
    EXPECT_FALSE(save->state().disabled);
    EXPECT_EQ(save->parent(), root);
    EXPECT_EQ(root->indexOfChild(save), 0);
    auto* toggle = named(window, "Wi-Fi");
    EXPECT_EQ(toggle->role(), QAccessible::CheckBox);
    EXPECT_TRUE(toggle->state().checkable);
    EXPECT_TRUE(toggle->state().checked);
    EXPECT_TRUE(named(window, "Later")->state().disabled);
    EXPECT_EQ(named(window, "Favourite")->role(), QAccessible::Graphic);
    EXPECT_EQ(named(window, "Plain")->role(), QAccessible::StaticText);
    EXPECT_EQ(named(window, "Plain")->text(QAccessible::Description), "Just text");
    EXPECT_EQ(named(window, "Secret"), nullptr);

    // Shown where the view is: inside the window, and what lies at its centre.
    const QRect shown = save->rect();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_TRUE(QRect(window.mapToGlobal(QPoint(0, 0)), window.size()).contains(shown));
    EXPECT_EQ(root->childAt(shown.center().x(), shown.center().y()), save);

    // Without the combining modifier each text is an object of its own.
    window.setRootView(ui::View(Controls{saves, false}));
    window.updateNow();
    EXPECT_EQ(childNames(root),
              (std::vector<QString>{"Save", "Wi-Fi", "Left", "Right", "Later", "Favourite", "Plain"}));
    EXPECT_EQ(save->isValid(), true); // the button stayed
}

TEST(AccessibilityBridgeTest, ActionsGoThroughTheClickPath) {
    auto saves = std::make_shared<int>(0);
    ui::HostingWindow window(ui::View(Controls{saves}));
    auto* save = named(window, "Save");
    ASSERT_TRUE(save->actionInterface());
    EXPECT_EQ(save->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    save->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(*saves, 1);

    auto* toggle = named(window, "Wi-Fi");
    toggle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    window.updateNow();
    EXPECT_FALSE(toggle->state().checked);
    toggle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    window.updateNow();
    EXPECT_TRUE(toggle->state().checked);

    // A disabled button offers nothing and does nothing.
    auto* later = named(window, "Later");
    EXPECT_TRUE(later->actionInterface()->actionNames().isEmpty());
    later->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(*saves, 1);
}

struct Rows {
    std::shared_ptr<std::vector<std::string>> names;
    ui::View body(ui::ViewContext&) const {
        return ui::List({ui::ForEach(
            *names, [](const std::string& name) { return name; },
            [](const std::string& name) { return ui::View(ui::Text(std::string(name))); })});
    }
};

TEST(AccessibilityBridgeTest, ListsExposeTheirBuiltRowsAndCount) {
    auto names = std::make_shared<std::vector<std::string>>();
    for (int i = 0; i < 200; ++i)
        names->push_back("Row " + std::to_string(i));
    ui::HostingWindow window(ui::View(Rows{names}));
    window.resize(200, 120);
    window.updateNow();
    auto tree = ui::accessibilityTree(window.graph());
    ASSERT_EQ(tree.children.size(), 1u);
    const auto& list = tree.children.front();
    EXPECT_EQ(list.role, ui::AccessibilityRole::list);
    EXPECT_EQ(list.rowCount, 200u);
    ASSERT_FALSE(list.children.empty());
    EXPECT_LT(list.children.size(), 200u); // only the rows built
    EXPECT_EQ(list.children.front().role, ui::AccessibilityRole::listItem);
    ASSERT_EQ(list.children.front().children.size(), 1u);
    EXPECT_EQ(list.children.front().children.front().name, "Row 0");

    auto* listInterface = windowInterface(window)->child(0);
    EXPECT_EQ(listInterface->role(), QAccessible::List);
    EXPECT_EQ(listInterface->child(0)->role(), QAccessible::ListItem);
    EXPECT_EQ(listInterface->child(0)->parent(), listInterface);
}

struct Settings {
    ui::View body(ui::ViewContext& ctx) const {
        auto asking = ctx.state<bool>("asking", true);
        return ui::View(ui::TabView({ui::Tab(ui::Text("General"), "gear", 0, ui::Text("Shown at login")),
                                     ui::Tab(ui::Text("Updates"), "arrow.down", 1, ui::Text("Check daily"))}))
            .alert(ui::Text("Reset everything?"), asking.binding(), ui::Button("Reset", [] {}));
    }
};

TEST(AccessibilityBridgeTest, TabsAndAlertsHaveTheirRoles) {
    ui::HostingWindow window(ui::View(Settings{}));
    window.resize(400, 300);
    window.updateNow();
    QAccessibleInterface* root = windowInterface(window);
    auto* tabs =
        findInterface(root, [](QAccessibleInterface* i) { return i->role() == QAccessible::PageTabList; });
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->childCount(), 2);
    EXPECT_EQ(tabs->child(0)->role(), QAccessible::PageTab);
    EXPECT_EQ(tabs->child(0)->text(QAccessible::Name), "General");
    EXPECT_TRUE(tabs->child(0)->state().selected);
    EXPECT_FALSE(tabs->child(1)->state().selected);
    EXPECT_NE(named(window, "Shown at login"), nullptr) << "the shown tab's content follows the tabs";

    auto* alert = named(window, "Reset everything?");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->role(), QAccessible::Dialog);
    auto* reset =
        findInterface(alert, [](QAccessibleInterface* i) { return i->role() == QAccessible::Button; });
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->text(QAccessible::Name), "Reset");
    // The way out by Escape is not seen, so not read either.
    EXPECT_EQ(findInterface(root,
                            [](QAccessibleInterface* i) {
                                return i->role() == QAccessible::Button &&
                                       i->text(QAccessible::Name).isEmpty();
                            }),
              nullptr);

    tabs->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    window.updateNow();
    EXPECT_FALSE(tabs->child(1)->state().selected) << "a press goes where a click would: the alert takes it";
}

// What Qt was told, recorded while a test runs.
struct Told {
    QAccessible::Event type;
    QAccessible::Role role;
    QString name;
    QAccessible::State changed;
};
std::vector<Told>& told() {
    static std::vector<Told> events;
    return events;
}
void record(QAccessibleEvent& event) {
    QAccessibleInterface* iface = event.accessibleInterface();
    Told entry{event.type(),
               iface ? iface->role() : QAccessible::NoRole,
               iface ? iface->text(QAccessible::Name) : QString(),
               {}};
    if (event.type() == QAccessible::StateChanged)
        entry.changed = static_cast<QAccessibleStateChangeEvent&>(event).changedStates();
    told().push_back(entry);
}

class Listening {
public:
    explicit Listening(bool active) {
        told().clear();
        ui::setAccessibilityAnnouncer(&record);
        ui::overrideAccessibilityActive(active);
    }
    ~Listening() {
        ui::overrideAccessibilityActive(std::nullopt);
        ui::setAccessibilityAnnouncer({});
    }
    bool has(QAccessible::Event type, const QString& name) const {
        for (const auto& entry : told())
            if (entry.type == type && entry.name == name) return true;
        return false;
    }
};

struct Counter {
    std::shared_ptr<int> shown;
    ui::View body(ui::ViewContext& ctx) const {
        auto on = ctx.state<bool>("on", false);
        std::vector<ui::View> views{ui::Toggle("Alarm", on.binding()),
                                    ui::Text(std::string("Count ") + std::to_string(*shown))};
        if (*on) views.push_back(ui::Text("Ringing"));
        return ui::VStack(ui::HorizontalAlignment::leading, 4, std::move(views));
    }
};

TEST(AccessibilityBridgeTest, ChangesAreAnnouncedOnlyWhileSomeoneListens) {
    auto shown = std::make_shared<int>(1);
    ui::HostingWindow window(ui::View(Counter{shown}));
    auto* alarm = named(window, "Alarm");
    ASSERT_NE(alarm, nullptr);
    {
        Listening listening(true);
        alarm->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        window.updateNow();
        ASSERT_TRUE(listening.has(QAccessible::StateChanged, "Alarm"));
        for (const auto& entry : told())
            if (entry.type == QAccessible::StateChanged) {
                EXPECT_TRUE(entry.changed.checked);
            }
        EXPECT_TRUE(listening.has(QAccessible::ObjectCreated, "Ringing"));

        told().clear();
        *shown = 2;
        window.setRootView(ui::View(Counter{shown}));
        window.updateNow();
        EXPECT_TRUE(listening.has(QAccessible::NameChanged, "Count 2"));

        // An update that changed nothing says nothing.
        told().clear();
        window.graph().root().invalidateForAnimationFrame();
        window.updateNow();
        EXPECT_TRUE(told().empty());

        alarm->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        window.updateNow();
        EXPECT_TRUE(std::any_of(told().begin(), told().end(), [](const Told& entry) {
            return entry.type == QAccessible::ObjectDestroyed;
        }));
    }
    Listening deaf(false);
    alarm->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    *shown = 3;
    window.setRootView(ui::View(Counter{shown}));
    window.updateNow();
    EXPECT_TRUE(told().empty());
}

} // namespace
