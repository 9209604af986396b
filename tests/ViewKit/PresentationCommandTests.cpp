// Menu commands reach a window's presentation contexts through its focused values.
#include "ViewKit/AlertContext.h"
#include "ViewKit/FullScreenCoverContext.h"
#include "ViewKit/SheetContext.h"

#include "desktop/ApplicationHost.h"
#include "desktop/CommandMenus.h"
#include "foundation/RunLoop.h"
#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/Group.h"
#include "ui/Rectangle.h"
#include "ui/Text.h"
#include "ui/WindowGroup.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Contexts {
    std::shared_ptr<ViewKit::AlertContext> alert = std::make_shared<ViewKit::AlertContext>();
    std::shared_ptr<ViewKit::SheetContext> sheet = std::make_shared<ViewKit::SheetContext>();
    std::shared_ptr<ViewKit::FullScreenCoverContext> cover = std::make_shared<ViewKit::FullScreenCoverContext>();
};

struct Screen {
    std::shared_ptr<Contexts> contexts;
    ui::View body(ui::ViewContext&) const {
        return ui::View(ui::Rectangle())
                   .frame(200, 100)
                   .focusedValue(ViewKit::AlertContextFocusedValueKey{}, contexts->alert)
                   .focusedValue(ViewKit::SheetContextFocusedValueKey{}, contexts->sheet)
                   .focusedValue(ViewKit::FullScreenCoverContextFocusedValueKey{}, contexts->cover) |
               ViewKit::alert(contexts->alert) | ViewKit::sheet(contexts->sheet);
    }
};

// One item per kind, present only while the focused window publishes that context.
struct PresentCommands {
    ui::View body(ui::ViewContext& ctx) const {
        std::vector<ui::View> items;
        if (auto alert = ctx.focusedValue<ViewKit::AlertContextFocusedValueKey>())
            items.push_back(ui::CommandItem("Show Alert", [alert = *alert] {
                alert->present([] { return ui::Alert(ui::Text("From the menu")); });
            }));
        if (auto sheet = ctx.focusedValue<ViewKit::SheetContextFocusedValueKey>())
            items.push_back(ui::CommandItem("Show Sheet", [sheet = *sheet] {
                sheet->present([] { return ui::Text("Sheet from the menu"); });
            }));
        if (auto cover = ctx.focusedValue<ViewKit::FullScreenCoverContextFocusedValueKey>())
            items.push_back(ui::CommandItem("Show Cover", [cover = *cover] {
                cover->present([] { return ui::Text("Cover from the menu"); });
            }));
        return ui::CommandGroup::after(ui::CommandGroupPlacement::newItem, ui::Group(std::move(items)));
    }
};

struct PresentingApp {
    std::shared_ptr<Contexts> contexts;
    ui::Scene body(ui::ViewContext&) const {
        return ui::Scene({ui::WindowGroup(ui::View(Screen{contexts})).commands(ui::View(PresentCommands{}))});
    }
};

bool settle(desktop::ApplicationHost& host, const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        QCoreApplication::processEvents();
        foundation::RunLoop::main().runUntilIdle();
        host.updateNow();
        if (done()) return true;
    }
    return false;
}

} // namespace

TEST(PresentationCommandTest, ACommandReadsEachContextThroughItsFocusedValue) {
    auto contexts = std::make_shared<Contexts>();
    desktop::ApplicationHost host(PresentingApp{contexts});
    EXPECT_EQ(host.menus().action("Show Alert"), nullptr) << "no window, no context";
    host.start();
    ASSERT_TRUE(settle(host, [&] { return host.menus().action("Show Cover") != nullptr; }));
    ASSERT_NE(host.menus().action("Show Alert"), nullptr);
    ASSERT_NE(host.menus().action("Show Sheet"), nullptr);

    host.menus().action("Show Alert")->trigger();
    ASSERT_TRUE(settle(host, [&] { return contexts->alert->isActive(); }));
    host.menus().action("Show Sheet")->trigger();
    ASSERT_TRUE(settle(host, [&] { return contexts->sheet->isActive(); }));
    host.menus().action("Show Cover")->trigger();
    ASSERT_TRUE(settle(host, [&] { return contexts->cover->isActive(); }));
    host.terminate();
}
