#include "Views/AppUpdatesViewModel.h"
#include "Views/MainCommands.h"

#include "ProgramHostFixture.h"
#include "TestUpdater.h"
#include "desktop/SceneWindow.h"
#include "ui/HostingWindow.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "reactive/CurrentValueSubject.h"
#include "ui/Button.h"
#include "ui/WindowGroup.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

using ui::CommandGroupPlacement;
using ui::ScenePhase;

namespace {

// A window with the menu commands and no goal list, so nothing answers on the channels; its
// one button has the burn item's shortcut, as the list's Burn button does.
struct CommandsOnlyApp {
    std::shared_ptr<updater::SPUUpdater> updater;
    std::shared_ptr<quoril::CommandManager> commandManager;
    std::shared_ptr<int> buttonPresses = std::make_shared<int>(0);
    ui::Scene body(ui::ViewContext&) const {
        auto presses = buttonPresses;
        return ui::WindowGroup("Quoril", ui::View(ui::Button("Burn", [presses] { ++*presses; }))
                                             .keyboardShortcut(ui::KeyEquivalent(U'b'))
                                             .frame(300, 200))
            .commands(quoril::MainCommands{updater, commandManager});
    }
};

class MenuCommandsTest : public quoriltest::ProgramHostTest {
protected:
    // Keys go where a user's would: to the window's content, which has the focus.
    QWidget* window() { return &host->windows().front()->hostingWindow(); }
    void press(Qt::Key key) {
        QTest::keyClick(window(), key, Qt::ControlModifier);
        host->updateNow();
    }
};

} // namespace

TEST_F(MenuCommandsTest, TheProgramsMenusHoldItsItemsWhereTheyBelong) {
    startProgram();
    auto titles = [&](CommandGroupPlacement placement) {
        std::vector<std::string> result;
        for (const auto& item : host->menus().items(placement)) result.push_back(item.title);
        return result;
    };
    EXPECT_EQ(titles(CommandGroupPlacement::newItem),
              (std::vector<std::string>{"New Goal", "Burn Accomplished Goals"}))
        << "the group is replaced, not extended";
    EXPECT_EQ(titles(CommandGroupPlacement::appInfo),
              (std::vector<std::string>{"About Quoril", "Check for Updates\u2026"}));
    EXPECT_EQ(action("New Goal")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(action("Burn Accomplished Goals")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    // This test program names no feed, so its updater can never check.
    EXPECT_FALSE(action("Check for Updates\u2026")->isEnabled());

    // The empty list's first message has reached the menu.
    EXPECT_TRUE(settle([&] { return !action("Burn Accomplished Goals")->isEnabled(); }));
    EXPECT_TRUE(action("New Goal")->isEnabled());
    press(Qt::Key_B);
    EXPECT_EQ(burns, 0);
}

TEST_F(MenuCommandsTest, WhileAGoalIsBeingAddedNewGoalDoesNothingUntilTheListSendsFalse) {
    startProgram();
    press(Qt::Key_N);
    EXPECT_EQ(newItems, 1);
    ASSERT_TRUE(settle([&] { return !action("New Goal")->isEnabled(); })) << "the list is adding a goal";
    press(Qt::Key_N);
    action("New Goal")->trigger();
    host->updateNow();
    EXPECT_EQ(newItems, 1);

    commands->newItemMenuItemDisabled.send(false);
    host->updateNow();
    EXPECT_TRUE(action("New Goal")->isEnabled());
    action("New Goal")->trigger();
    EXPECT_EQ(newItems, 2);
}

TEST_F(MenuCommandsTest, OneCtrlBWithACompletedGoalSendsOneBurn) {
    startProgram(true);
    ASSERT_TRUE(action("Burn Accomplished Goals")->isEnabled());
    press(Qt::Key_B);
    EXPECT_EQ(burns, 1);
}

TEST_F(MenuCommandsTest, BeforeTheListSpeaksBothGoalItemsWorkAndAnUpdaterThatCanCheckEnablesItsItemAtOnce) {
    quoriltest::TestUpdater updates;
    updates.updater->startUpdater();
    ASSERT_TRUE(updates.updater->canCheckForUpdates());
    commands = std::make_shared<quoril::CommandManager>();
    const CommandsOnlyApp app{updates.updater, commands};
    start(app);
    QAction* check = action("Check for Updates\u2026");
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->isEnabled()) << "at the first display";
    EXPECT_TRUE(action("New Goal")->isEnabled());
    EXPECT_TRUE(action("Burn Accomplished Goals")->isEnabled());
    action("New Goal")->trigger();
    action("Burn Accomplished Goals")->trigger();
    EXPECT_EQ(newItems, 1);
    EXPECT_EQ(burns, 1);
    ASSERT_TRUE(settle([&] { return host->scenePhase() == ScenePhase::active; }));
    press(Qt::Key_B);
    EXPECT_EQ(burns, 2);
    EXPECT_EQ(*app.buttonPresses, 0) << "the menu item takes the key: one press, one burn";

    check->trigger();
    host->updateNow();
    EXPECT_FALSE(action("Check for Updates\u2026")->isEnabled()) << "during the check";
    ASSERT_TRUE(settle([&] {
        foundation::RunLoop::main().runUntilIdle();
        return updates.driver->shown == 1;
    }));
    EXPECT_TRUE(settle([&] { return action("Check for Updates\u2026")->isEnabled(); }));
}

TEST(AppUpdatesViewModelTest, TheFlagIsOnlyEverWrittenOnTheMainThreadInTheOrderSent) {
    reactive::CurrentValueSubject<bool> canCheck(true);
    auto model = std::make_shared<quoril::AppUpdatesViewModel>(canCheck.eraseToAnyPublisher());
    EXPECT_TRUE(model->canCheckForUpdates.get()) << "the current value is taken at once";

    std::vector<bool> announcedOnMain;
    auto announcements =
        model->objectWillChange().sink([&](const reactive::Void&) { announcedOnMain.push_back(foundation::isMainThread()); });
    std::thread([&] { canCheck.send(false); }).join();
    EXPECT_TRUE(model->canCheckForUpdates.get()) << "not yet: it is on its way to the main queue";
    canCheck.send(true); // on the main thread, but after the worker's value
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(model->canCheckForUpdates.get());
    EXPECT_EQ(announcedOnMain, (std::vector<bool>{true, true}));

    canCheck.send(false);
    EXPECT_FALSE(model->canCheckForUpdates.get()) << "nothing pending: taken at once";

    std::thread([&] { canCheck.send(true); }).join();
    model.reset();
    foundation::RunLoop::main().runUntilIdle(); // a value arriving after the model went is dropped
}
