#include "desktop/Application.h"
#include "desktop/ApplicationHost.h"
#include "desktop/RunApp.h"
#include "desktop/ScenePhases.h"
#include "desktop/TextView.h"
#include "desktop/TextViewDelegate.h"

#include "foundation/UndoManager.h"
#include "reactive/PassthroughSubject.h"
#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Frame.h"
#include "ui/Group.h"
#include "ui/Rectangle.h"
#include "ui/Representable.h"
#include "ui/Settings.h"
#include "ui/Text.h"
#include "ui/WindowGroup.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <signal.h>

#include <functional>
#include <string>
#include <memory>
#include <vector>

using desktop::ApplicationHost;
using ui::ScenePhase;

namespace {

struct Probe {
    std::vector<ScenePhase> appPhases;        // what the application value's handler saw
    std::vector<ScenePhase> mainPhases;       // what the main window's content saw
    std::vector<ScenePhase> settingsPhases;   // and the settings window's
    int newGoal = 0, burn = 0;
    reactive::PassthroughSubject<bool> newGoalDisabled;
    std::shared_ptr<foundation::UndoManager> undoManager = std::make_shared<foundation::UndoManager>();
};

// Records each phase its content sees.
struct PhaseRecorder {
    std::shared_ptr<Probe> probe;
    bool settings = false;
    ui::View body(ui::ViewContext& ctx) const {
        const ScenePhase phase = ctx.environment<ui::ScenePhaseKey>();
        auto& seen = settings ? probe->settingsPhases : probe->mainPhases;
        if (seen.empty() || seen.back() != phase) seen.push_back(phase);
        return ui::Rectangle()
            .fill()
            .frame(ui::FlexibleFrame{.minWidth = 350, .idealWidth = 400, .maxWidth = 600, .minHeight = 250,
                                     .idealHeight = 350, .maxHeight = 550})
            .toolbar({ui::ToolbarItem(ui::ToolbarItemPlacement::automatic, ui::View(ui::Text("Burn")))})
            .environment<ui::UndoManagerKey>(probe->undoManager);
    }
};

struct GoalCommands {
    std::shared_ptr<Probe> probe;
    ui::View body(ui::ViewContext& ctx) const {
        auto disabled = ctx.state<bool>("newItemMenuItemDisabled", false);
        auto p = probe;
        return ui::Group(
            {ui::CommandGroup::after(ui::CommandGroupPlacement::appInfo, ui::CommandItem("Check for Updates…", {})),
             ui::CommandGroup::replacing(
                 ui::CommandGroupPlacement::newItem,
                 ui::Group({ui::CommandItem("New Goal", [p] { ++p->newGoal; })
                                .keyboardShortcut(ui::KeyEquivalent(U'n'))
                                .disabled(disabled.value())
                                .onReceive(p->newGoalDisabled, [disabled](bool flag) { disabled.set(flag); }),
                            ui::CommandItem("Burn & Clear", [p] { ++p->burn; }).keyboardShortcut(ui::KeyEquivalent(U'b'))})),
             ui::CommandGroup::before(ui::CommandGroupPlacement::pasteboard, ui::CommandItem("Paste Goal", {}))});
    }
};

struct TestApp {
    std::shared_ptr<Probe> probe;
    ui::Scene body(ui::ViewContext& ctx) const {
        const ScenePhase phase = ctx.environment<ui::ScenePhaseKey>();
        auto p = probe;
        return ui::Scene({ui::WindowGroup(ui::View(PhaseRecorder{probe}))
                              .commands(ui::View(GoalCommands{probe}))
                              .onChange(phase, false, [p](ScenePhase, ScenePhase now) { p->appPhases.push_back(now); })
                              .windowResizability(ui::WindowResizability::contentSize)
                              .defaultSize(400, 350)
                              .defaultPosition(ui::UnitPoint::center)
                              .windowToolbarStyle(ui::WindowToolbarStyle::unified),
                          ui::Settings(ui::View(PhaseRecorder{probe, true}))});
    }
};

struct StayingDelegate : desktop::ApplicationDelegate {
    bool applicationShouldTerminateAfterLastWindowClosed(desktop::Application&) override { return false; }
};

// Window events arrive through Qt's queue: process them (bounded) until `done`.
bool settle(ApplicationHost& host, const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
        QCoreApplication::processEvents();
        host.updateNow();
        if (done()) return true;
    }
    return false;
}

class ApplicationHostTest : public testing::Test {
protected:
    std::shared_ptr<Probe> probe = std::make_shared<Probe>();
    std::shared_ptr<StayingDelegate> staying;
    std::unique_ptr<ApplicationHost> host;

    void start(bool stayAfterLastWindow = false) {
        if (stayAfterLastWindow) {
            staying = std::make_shared<StayingDelegate>();
            desktop::Application::shared().setDelegate(staying);
        }
        host = std::make_unique<ApplicationHost>(TestApp{probe});
        host->start();
        ASSERT_TRUE(settle(*host, [&] { return host->scenePhase() == ScenePhase::active; }));
    }
    desktop::SceneWindow* mainWindow() { return host->windows().front(); }
    void TearDown() override {
        host.reset();
        desktop::Application::shared().setDelegate(nullptr);
    }
};

} // namespace

TEST(ScenePhasesTest, SceneAndApplicationPhasesFollowTheWindows) {
    using desktop::WindowPresence;
    EXPECT_EQ(desktop::scenePhase({}), ScenePhase::background);
    EXPECT_EQ(desktop::scenePhase({{true, false, false}}), ScenePhase::inactive);
    EXPECT_EQ(desktop::scenePhase({{true, false, false}, {true, false, true}}), ScenePhase::active);
    EXPECT_EQ(desktop::scenePhase({{true, true, true}, {false, false, false}}), ScenePhase::background);
    EXPECT_EQ(desktop::applicationPhase({}), ScenePhase::background);
    EXPECT_EQ(desktop::applicationPhase({ScenePhase::background, ScenePhase::active}), ScenePhase::active);
    EXPECT_EQ(desktop::applicationPhase({ScenePhase::background, ScenePhase::inactive}), ScenePhase::inactive);
    EXPECT_EQ(desktop::applicationPhase({ScenePhase::background, ScenePhase::background}), ScenePhase::background);
}

TEST_F(ApplicationHostTest, TheFirstWindowHasTheDefaultSizeBelowItsTitleAreaAndIsCentred) {
    start();
    ASSERT_EQ(host->windows().size(), 1u);
    auto* window = mainWindow();
    ASSERT_NE(window->menuBar(), nullptr);
    // The default size is the content's; the toolbar's title area comes on top.
    EXPECT_EQ(window->hostingWindow().size(), QSize(400, 350 + 52));
    EXPECT_EQ(window->hostingWindow().maximumSize(), QSize(600, 550 + 52));
    EXPECT_EQ(window->hostingWindow().minimumSize(), QSize(350, 250 + 52));
    const QRect area = window->screen()->availableGeometry();
    EXPECT_NEAR(window->frameGeometry().center().x(), area.center().x(), 2);
    EXPECT_NEAR(window->frameGeometry().center().y(), area.center().y(), 2);
}

TEST_F(ApplicationHostTest, MenusInsertAndReplaceGroupsWhereAskedWithVerbatimTitles) {
    start();
    auto titles = [&](ui::CommandGroupPlacement placement) {
        std::vector<std::string> result;
        for (const auto& item : host->menus().items(placement)) result.push_back(item.title);
        return result;
    };
    const std::string name = QCoreApplication::applicationName().toStdString();
    EXPECT_EQ(titles(ui::CommandGroupPlacement::appInfo),
              (std::vector<std::string>{"About " + name, "Check for Updates…"}));
    EXPECT_EQ(titles(ui::CommandGroupPlacement::newItem), (std::vector<std::string>{"New Goal", "Burn & Clear"}));
    EXPECT_EQ(titles(ui::CommandGroupPlacement::pasteboard),
              (std::vector<std::string>{"Paste Goal", "Cut", "Copy", "Paste", "Delete", "Select All"}));
    EXPECT_EQ(titles(ui::CommandGroupPlacement::appSettings), (std::vector<std::string>{"Settings…"}));

    const auto menus = host->menus().menus();
    ASSERT_EQ(menus.size(), 4u);
    EXPECT_EQ(menus[1]->title(), "File");
    EXPECT_EQ(mainWindow()->menuBar()->actions().size(), 4);
    QAction* burn = host->menus().action("Burn & Clear");
    ASSERT_NE(burn, nullptr);
    EXPECT_EQ(burn->text(), "Burn && Clear"); // shown with its '&', not as a mnemonic
    EXPECT_EQ(burn->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(host->menus().action("Settings…")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(host->menus().action("New Window"), nullptr);
    // The application menu: About, Check for Updates…, then Settings… and Quit apart.
    const auto appMenu = menus[0]->actions();
    ASSERT_EQ(appMenu.size(), 6);
    EXPECT_TRUE(appMenu[2]->isSeparator());
    EXPECT_EQ(appMenu[3]->text(), "Settings…");
    EXPECT_EQ(appMenu[5]->text(), QString::fromStdString("Quit " + name));
}

TEST_F(ApplicationHostTest, CommandStateFollowsOnReceiveAndADisabledItemCannotBeTriggered) {
    start();
    QAction* newGoal = host->menus().action("New Goal");
    ASSERT_NE(newGoal, nullptr);
    EXPECT_TRUE(newGoal->isEnabled());
    QTest::keyClick(mainWindow(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(probe->newGoal, 1);

    probe->newGoalDisabled.send(true);
    host->updateNow();
    EXPECT_FALSE(newGoal->isEnabled());
    newGoal->trigger(); // Qt triggers disabled actions from code; the item does nothing
    QTest::keyClick(mainWindow(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(probe->newGoal, 1);

    probe->newGoalDisabled.send(false);
    host->updateNow();
    EXPECT_EQ(host->menus().action("New Goal"), newGoal); // updated in place
    EXPECT_TRUE(newGoal->isEnabled());
    newGoal->trigger();
    QTest::keyClick(mainWindow(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(probe->newGoal, 2);
    EXPECT_EQ(probe->burn, 1);
}

TEST_F(ApplicationHostTest, SettingsOpenFromTheMenuAndFromCtrlCommaAsOneWindow) {
    start();
    EXPECT_EQ(host->settingsWindow(), nullptr);
    host->menus().action("Settings…")->trigger();
    auto* settings = host->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->menuBar(), nullptr);
    EXPECT_EQ(settings->windowTitle(), "Settings");
    host->menus().action("Settings…")->trigger();
    EXPECT_EQ(host->settingsWindow(), settings);

    settings->close();
    ASSERT_TRUE(settle(*host, [&] { return host->settingsWindow() == nullptr && host->windows().size() == 1; }));
    mainWindow()->activateWindow();
    ASSERT_TRUE(settle(*host, [&] { return mainWindow()->isActiveWindow(); }));
    QTest::keyClick(mainWindow(), Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_NE(host->settingsWindow(), nullptr);
    EXPECT_TRUE(host->settingsWindow()->isVisible());
}

TEST_F(ApplicationHostTest, SwitchingToTheSettingsWindowAndBackKeepsTheApplicationActive) {
    start();
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::active);
    EXPECT_EQ(probe->mainPhases.back(), ScenePhase::active);
    const auto appPhasesSoFar = probe->appPhases;

    auto* settings = host->openSettings();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase(1) == ScenePhase::active; }));
    EXPECT_EQ(host->scenePhase(0), ScenePhase::inactive);
    EXPECT_EQ(probe->mainPhases.back(), ScenePhase::inactive);
    EXPECT_EQ(probe->settingsPhases.back(), ScenePhase::active);

    mainWindow()->activateWindow();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase(0) == ScenePhase::active; }));
    EXPECT_EQ(host->scenePhase(1), ScenePhase::inactive);
    EXPECT_EQ(probe->appPhases, appPhasesSoFar); // never left the active phase

    settings->close();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase(1) == ScenePhase::background; }));
    EXPECT_EQ(probe->appPhases, appPhasesSoFar);
}

TEST_F(ApplicationHostTest, MinimisingClosingAndQuittingGoToTheBackground) {
    start(true);
    mainWindow()->showMinimized();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase() == ScenePhase::background; }));
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::background);
    EXPECT_EQ(probe->mainPhases.back(), ScenePhase::background);

    mainWindow()->showNormal();
    mainWindow()->activateWindow();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase() == ScenePhase::active; }));
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::active);

    // The delegate keeps the program running without windows.
    mainWindow()->close();
    ASSERT_TRUE(settle(*host, [&] { return host->windows().empty(); }));
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::background);
    EXPECT_FALSE(host->isTerminated());

    host->openWindow();
    ASSERT_TRUE(settle(*host, [&] { return host->scenePhase() == ScenePhase::active; }));
    const auto count = probe->appPhases.size();
    host->terminate(); // delivered before terminate returns
    ASSERT_EQ(probe->appPhases.size(), count + 1);
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::background);
    EXPECT_TRUE(host->windows().empty());
    EXPECT_EQ(host->openWindow(), nullptr);
}

TEST_F(ApplicationHostTest, ClosingTheLastWindowEndsTheProgramUnlessTheDelegateKeepsIt) {
    start();
    mainWindow()->close();
    ASSERT_TRUE(settle(*host, [&] { return host->isTerminated(); }));
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::background);
}

TEST_F(ApplicationHostTest, UndoAndRedoActOnTheWindowsUndoManager) {
    start();
    // A value whose every change can be undone.
    struct Counter : std::enable_shared_from_this<Counter> {
        int value = 0;
        std::shared_ptr<foundation::UndoManager> undo;
        void set(int next) {
            undo->registerUndo(shared_from_this(), [old = value](Counter& c) { c.set(old); });
            value = next;
        }
    };
    auto counter = std::make_shared<Counter>();
    counter->undo = probe->undoManager;
    probe->undoManager->setGroupsByEvent(false);
    counter->set(1);
    host->menus().action("Undo")->trigger();
    EXPECT_EQ(counter->value, 0);
    host->menus().action("Redo")->trigger();
    EXPECT_EQ(counter->value, 1);
}

TEST_F(ApplicationHostTest, SigtermEndsTheProgramThroughTheBackgroundPhase) {
    start();
    desktop::terminateOnSignals();
    ::raise(SIGTERM);
    ASSERT_TRUE(settle(*host, [&] { return host->isTerminated(); }));
    EXPECT_EQ(probe->appPhases.back(), ScenePhase::background);
}

namespace {

// A window with one title editor that takes the focus when it shows, and a log shared with
// the application's phase handler.
struct EditorLog : desktop::TextViewDelegate {
    std::vector<std::string> entries;
    void textDidEndEditing(const desktop::TextViewNotification& n) override { entries.push_back("end " + n.object->string()); }
};
struct Editor {
    using WidgetType = desktop::TextView;
    std::shared_ptr<EditorLog> log;
    std::shared_ptr<EditorLog> makeCoordinator() const { return log; }
    std::unique_ptr<desktop::TextView> makeWidget(const ui::RepresentableContext<Editor>& context) const {
        auto view = std::make_unique<desktop::TextView>();
        view->setDelegate(context.coordinator);
        view->setFieldEditor(true);
        return view;
    }
    void updateWidget(desktop::TextView&, const ui::RepresentableContext<Editor>&) const {}
};
struct EditorWindow {
    std::shared_ptr<EditorLog> log;
    ui::View body(ui::ViewContext& ctx) const {
        auto focused = ctx.focusState<bool>("focused");
        return ui::View(Editor{log}).focused(focused.binding()).frame(200, 30).onAppear([focused] { focused.set(true); });
    }
};
struct EditorApp {
    std::shared_ptr<EditorLog> log;
    ui::Scene body(ui::ViewContext& ctx) const {
        const ScenePhase phase = ctx.environment<ui::ScenePhaseKey>();
        auto l = log;
        return ui::WindowGroup(ui::View(EditorWindow{log})).onChange(phase, false, [l](ScenePhase, ScenePhase now) {
            if (now == ScenePhase::background) l->entries.push_back("background");
        });
    }
};

} // namespace

TEST(ApplicationHostEditing, QuittingEndsTheEditBeforeTheBackgroundPhase) {
    auto log = std::make_shared<EditorLog>();
    ApplicationHost host{EditorApp{log}};
    host.start();
    desktop::TextView* editor = nullptr;
    ASSERT_TRUE(settle(host, [&] {
        editor = host.windows().empty() ? nullptr : host.windows().front()->findChild<desktop::TextView*>();
        return editor && editor->isFirstResponder();
    }));
    QTest::keyClicks(editor, "typed");
    host.terminate();
    EXPECT_EQ(log->entries, (std::vector<std::string>{"end typed", "background"}));
}

namespace {

struct ListTitleKey {
    using Value = std::string;
};

// A window that publishes the title of its list while it is not empty.
struct TitledWindow {
    std::shared_ptr<reactive::PassthroughSubject<std::string>> titles;
    ui::View body(ui::ViewContext& ctx) const {
        auto title = ctx.state<std::string>("title", "Groceries");
        const std::string shown = title.value();
        return ui::Rectangle()
            .fill()
            .frame(200, 100)
            .focusedValue(ListTitleKey{},
                          shown.empty() ? std::nullopt : std::optional<std::string>(shown))
            .onReceive(*titles, [title](const std::string& now) { title.set(now); });
    }
};

struct RenameCommand {
    ui::View body(ui::ViewContext& ctx) const {
        const auto title = ctx.focusedValue<ListTitleKey>();
        return ui::CommandGroup::after(ui::CommandGroupPlacement::newItem,
                                       ui::CommandItem("Rename " + title.value_or("nothing"), {}));
    }
};

struct FocusedApp {
    std::shared_ptr<reactive::PassthroughSubject<std::string>> titles;
    ui::Scene body(ui::ViewContext&) const {
        return ui::Scene({ui::WindowGroup(ui::View(TitledWindow{titles})).commands(ui::View(RenameCommand{}))});
    }
};

} // namespace

TEST(ApplicationHostFocusTest, CommandsSeeTheFocusedValuesOfTheActiveWindow) {
    auto titles = std::make_shared<reactive::PassthroughSubject<std::string>>();
    ApplicationHost host(FocusedApp{titles});
    auto lastItem = [&] { return host.menus().items(ui::CommandGroupPlacement::newItem).back().title; };
    EXPECT_EQ(lastItem(), "Rename nothing") << "no window yet";
    host.start();
    ASSERT_TRUE(settle(host, [&] { return lastItem() == "Rename Groceries"; })) << lastItem();
    titles->send("Chores");
    ASSERT_TRUE(settle(host, [&] { return lastItem() == "Rename Chores"; })) << lastItem();
    titles->send("");
    ASSERT_TRUE(settle(host, [&] { return lastItem() == "Rename nothing"; })) << lastItem();
    host.terminate();
}
