#include "TestBox.h"

#include "ui/Accessibility.h"
#include "ui/Button.h"
#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/EventTargets.h"
#include "ui/Group.h"
#include "ui/Label.h"
#include "ui/LabelStyle.h"
#include "ui/Scene.h"
#include "ui/Settings.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/Toolbar.h"
#include "ui/WindowGroup.h"

#include <gtest/gtest.h>

using namespace ui;
using namespace uitest;

namespace {

// A toolbar button as a program builds one without a button control: a label that runs its
// action when tapped or when its shortcut is pressed.
View toolbarButton(const std::string& title, std::function<void()> action) {
    return keyboardShortcutTarget(View(Text(title)).padding(4).onTapGesture(action), action);
}

} // namespace

TEST(ToolbarTest, ItemsStandInATitleAreaAboveTheContentAndTakeTapsAndShortcuts) {
    int added = 0, burnt = 0;
    bool addDisabled = false;
    auto content = [&] {
        return box(300, 200, "content")
            .toolbar({ToolbarItem(ToolbarItemPlacement::automatic, toolbarButton("Burn", [&] { ++burnt; })),
                      ToolbarItem(ToolbarItemPlacement::automatic,
                                  toolbarButton("New Goal", [&] { ++added; })
                                      .keyboardShortcut(KeyEquivalent::return_, EventModifiers::none)
                                      .disabled(addDisabled)),
                      ToolbarItem(ToolbarItemPlacement::navigation, View(Text("Lists")))});
    };
    TestHost host(toolbarArea(content()), {300, 252});
    host.update();

    EXPECT_EQ(TestHost::frame(host.findByText("content")), (graphics::CGRect{{0, 52}, {300, 200}}));
    EXPECT_EQ(toolbarAreaHeight(host.graph().root()), 52);
    const auto burn = TestHost::frame(host.findByText("Burn"));
    const auto add = TestHost::frame(host.findByText("New Goal"));
    const auto lists = TestHost::frame(host.findByText("Lists"));
    // Automatic items at the trailing end in their order, navigation at the leading end.
    EXPECT_LT(burn.maxX(), add.minX());
    EXPECT_NEAR(add.maxX(), 300 - 12 - 4, 1);
    EXPECT_NEAR(lists.minX(), 12, 1);
    EXPECT_LT(burn.maxY(), 52);

    EXPECT_TRUE(host.tap(host.findByText("Burn")));
    EXPECT_EQ(burnt, 1);
    EXPECT_TRUE(host.keyPress(KeyEquivalent::return_));
    EXPECT_EQ(added, 1);

    addDisabled = true;
    host.setRoot(toolbarArea(content()));
    host.update();
    EXPECT_FALSE(host.keyPress(KeyEquivalent::return_));
    host.tap(host.findByText("New Goal"));
    EXPECT_EQ(added, 1);
}

TEST(ToolbarTest, ItemsKeepTheirIdealSizeInANarrowWindow) {
    auto content = box(100, 50, "content")
                       .toolbar({ToolbarItem(ToolbarItemPlacement::automatic, View(Text("Burn"))),
                                 ToolbarItem(ToolbarItemPlacement::automatic, View(Text("New Goal")))});
    TestHost wide(toolbarArea(content), {600, 102});
    TestHost narrow(toolbarArea(content), {150, 102});
    wide.update();
    narrow.update();
    for (const char* title : {"Burn", "New Goal"})
        EXPECT_EQ(TestHost::frame(narrow.findByText(title)).size, TestHost::frame(wide.findByText(title)).size) << title;
}

TEST(ToolbarTest, ContentWithoutItemsHasNoTitleAreaAndItemsOfNestedViewsAllShow) {
    TestHost plain(toolbarArea(box(100, 50, "content")), {100, 50});
    plain.update();
    EXPECT_EQ(TestHost::frame(plain.findByText("content")), (graphics::CGRect{{0, 0}, {100, 50}}));
    EXPECT_EQ(plain.graph().sizeThatFits(ProposedViewSize::unspecified()), (graphics::CGSize{100, 50}));

    auto nested = VStack({box(100, 20, "a").toolbar({ToolbarItem(ToolbarItemPlacement::automatic, View(Text("A")))}),
                          box(100, 20, "b").toolbar({ToolbarItem(ToolbarItemPlacement::principal, View(Text("B")))})});
    TestHost both(toolbarArea(nested).environment(WindowToolbarStyleKey{}, WindowToolbarStyle::unifiedCompact),
                  {200, 100});
    both.update();
    ASSERT_NE(both.findByText("A"), nullptr);
    ASSERT_NE(both.findByText("B"), nullptr);
    EXPECT_EQ(both.graph().sizeThatFits(ProposedViewSize::unspecified()).height, 38 + 20 + 8 + 20);
    // The area keeps the items to itself.
    EXPECT_TRUE(both.graph().root().preferences().get<ToolbarItemsKey>().empty());
}

TEST(SceneTest, ScenesAndCommandGroupsAreHandedUpInOrderWithItemState) {
    int chosen = 0;
    auto commands = Group({CommandGroup::replacing(CommandGroupPlacement::newItem,
                                                   Group({CommandItem("New Goal", [&] { ++chosen; })
                                                              .keyboardShortcut(KeyEquivalent(U'n')),
                                                          CommandItem("Burn", {}).disabled(true)})),
                           CommandGroup::after(CommandGroupPlacement::appInfo, CommandItem("Check", {}))});
    Scene app({WindowGroup(box(10, 10, "main")).commands(commands).defaultSize(400, 350),
               Settings(box(10, 10, "settings"))});
    TestHost host(app.windowResizability(WindowResizability::contentSize).view());
    host.update();

    const auto scenes = host.graph().root().preferences().get<ScenesKey>();
    ASSERT_EQ(scenes.size(), 2u);
    EXPECT_EQ(scenes[0].kind, SceneKind::windowGroup);
    EXPECT_EQ(scenes[0].defaultSize, (graphics::CGSize{400, 350}));
    EXPECT_EQ(scenes[1].kind, SceneKind::settings);
    EXPECT_FALSE(scenes[1].defaultSize);
    EXPECT_EQ(scenes[0].resizability, WindowResizability::contentSize);
    EXPECT_EQ(scenes[1].resizability, WindowResizability::contentSize);

    const auto groups = host.graph().root().preferences().get<CommandGroupsKey>();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].placement, CommandGroupPlacement::newItem);
    EXPECT_EQ(groups[0].position, CommandGroupDescription::Position::replacing);
    ASSERT_EQ(groups[0].items.size(), 2u);
    EXPECT_EQ(groups[0].items[0].title, "New Goal");
    EXPECT_EQ(groups[0].items[0].shortcut, (KeyboardShortcut{U'n', EventModifiers::command}));
    EXPECT_TRUE(groups[0].items[0].enabled);
    EXPECT_FALSE(groups[0].items[1].enabled);
    EXPECT_EQ(groups[1].placement, CommandGroupPlacement::appInfo);
    EXPECT_EQ(groups[1].items[0].title, "Check");
    groups[0].items[0].action();
    EXPECT_EQ(chosen, 1);
}

TEST(ToolbarTest, LabelsShowTheirIconsInTheToolbarAndTheirTitlesElsewhere) {
    auto named = [](const Element& e, const std::string& title) {
        const auto* record = e.nodeAs<AccessibilityNode>();
        return record && record->properties().label && record->properties().label->string({}) == title;
    };
    TestHost host(toolbarArea(VStack({View(Label("Inside", "star")),
                                      View(Label("Plain", "star")).environment<LabelStyleKey>(LabelStyle::titleOnly)})
                                  .frame(300, 200)
                                  .toolbar({ToolbarItem(ToolbarItemPlacement::automatic, Button([] {}, Label("New Goal", "plus"))),
                                            ToolbarItem(ToolbarItemPlacement::automatic,
                                                        View(Label("Both", "flame"))
                                                            .environment<LabelStyleKey>(LabelStyle::titleAndIcon))})),
                  {300, 252});
    host.update();
    // In the title area: the icon, named by the title for assistive technologies.
    EXPECT_FALSE(host.findByText("New Goal"));
    const auto icons = host.findAll([&](const Element& e) { return named(e, "New Goal"); });
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_LT(TestHost::frame(icons.front()).maxY(), 52);
    // A style set on the item itself wins over the toolbar's.
    EXPECT_TRUE(host.findByText("Both"));
    // In the content: title and icon, or the title alone when asked.
    EXPECT_TRUE(host.findByText("Inside"));
    EXPECT_TRUE(host.findByText("Plain"));
    EXPECT_TRUE(host.findAll([&](const Element& e) { return named(e, "Inside"); }).empty());
}
