#include "ProgramHostFixture.h"
#include "App/PreferenceKeys.h"
#include "App/SelectionManager.h"
#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"
#include "Views/ContentView.h"
#include "Views/ItemView.h"
#include "Views/QuorilApp.h"

#include "Prefs/ValueAccess.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "desktop/ApplicationHost.h"
#include "desktop/SceneWindow.h"
#include "foundation/Calendar.h"
#include "foundation/Date.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContainer.h"
#include "store/ModelContext.h"
#include "store/ui/ModelContextKey.h"
#include "ui/EnvironmentKeys.h"
#include "ui/HostingWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using quoril::Item;
using quoril::ItemCollection;
using ui::ScenePhase;

namespace {

// The program's application value in a host of its own, over a store in a folder of its own.
class AppWiringTest : public quoriltest::ProgramHostTest {
protected:
    void start() {
        host = std::make_unique<desktop::ApplicationHost>(quoril::QuorilApp{});
        host->start();
        ASSERT_TRUE(settle([&] { return host->scenePhase() == ScenePhase::active; }));
    }
    desktop::SceneWindow* window() { return host->windows().front(); }

    // The store as another program would find it.
    struct Stored {
        std::vector<std::string> collections;
        std::vector<std::string> goals;
    };
    static Stored stored() {
        store::ModelContainer container(quoril::quorilSchema(), store::ModelConfiguration{});
        container.mainContext()->setAutosaveEnabled(false);
        Stored result;
        for (const auto& c : container.mainContext()->fetch<ItemCollection>())
            result.collections.push_back(c->title());
        for (const auto& i : container.mainContext()->fetch<Item>())
            result.goals.push_back(i->title());
        return result;
    }
    // Two collections with a completed and an open goal each.
    static void seed() {
        store::ModelContainer container(quoril::quorilSchema(), store::ModelConfiguration{});
        const auto& context = container.mainContext();
        context->setAutosaveEnabled(false);
        for (const char* name : {"home", "work"}) {
            auto collection = std::make_shared<ItemCollection>(name);
            context->insert(collection);
            for (bool completed : {true, false}) {
                auto item = std::make_shared<Item>(foundation::Date::now(), std::string(name) + (completed ? " done" : " open"),
                                                   completed, completed, std::nullopt, completed ? 0 : 1);
                item->setCollection(collection);
                context->insert(item);
            }
        }
        context->save();
    }
    // The main window's model context.
    std::shared_ptr<store::ModelContext> appContext() {
        std::function<std::shared_ptr<store::ModelContext>(ui::Element&)> find = [&](ui::Element& e) {
            if (const auto& context = e.environment().get<store::ModelContextKey>()) return context;
            for (const auto& child : e.children())
                if (auto context = find(*child)) return context;
            return std::shared_ptr<store::ModelContext>();
        };
        return find(window()->hostingWindow().graph().root());
    }
    std::vector<std::string> shownGoals() {
        std::vector<std::string> titles;
        auto& graph = window()->hostingWindow().graph();
        std::function<void(ui::Element&)> walk = [&](ui::Element& e) {
            if (const auto* row = e.nodeAs<ui::detail::CustomViewNode<quoril::ItemView>>())
                titles.push_back(row->value().item->title());
            for (const auto& child : e.children())
                walk(*child);
        };
        walk(graph.root());
        return titles;
    }
};

} // namespace

TEST_F(AppWiringTest, AFirstStartSeedsOneCollectionAndOpensTheListCentredWithinItsLimits) {
    start();
    EXPECT_EQ(stored().collections, std::vector<std::string>{"Quoril"}) << "saved";
    ASSERT_TRUE(quoril::SelectionManager::shared()->selectedCollection());
    EXPECT_EQ(quoril::SelectionManager::shared()->selectedCollection()->title(), "Quoril");
    ASSERT_EQ(host->windows().size(), 1u);
    auto& content = window()->hostingWindow();
    const double title = content.height() - 350;
    EXPECT_EQ(content.width(), 400);
    EXPECT_GE(title, 0);
    EXPECT_EQ(window()->windowTitle().toStdString(), "Quoril");
    EXPECT_EQ(window()->minimumWidth(), 350);
    EXPECT_EQ(window()->maximumWidth(), 600);
    EXPECT_EQ(content.minimumHeight() - title, 250);
    EXPECT_EQ(content.maximumHeight() - title, 550);
    const auto screen = window()->screen()->availableGeometry().center();
    EXPECT_NEAR(window()->frameGeometry().center().x(), screen.x(), 2);
    EXPECT_NEAR(window()->frameGeometry().center().y(), screen.y(), 2);

    window()->close();
    ASSERT_TRUE(settle([&] { return host->isTerminated(); })) << "closing the window ends the program";
}

TEST_F(AppWiringTest, AnotherSelectionShowsItsOwnGoals) {
    seed();
    start();
    EXPECT_EQ(shownGoals(), (std::vector<std::string>{"home done", "home open"}));
    std::shared_ptr<ItemCollection> work;
    for (const auto& collection : appContext()->fetch<ItemCollection>())
        if (collection->title() == "work") work = collection;
    ASSERT_TRUE(work);
    quoril::SelectionManager::shared()->setSelectedCollection(work);
    ASSERT_TRUE(settle([&] { return shownGoals() == std::vector<std::string>{"work done", "work open"}; }));
}

TEST_F(AppWiringTest, WithBurnOnQuitMinimisingAndQuittingBurnEveryCollection) {
    Prefs::set(quoril::burnOnQuit(), true);
    Prefs::set(quoril::burnAtEndOfDay(), false);
    seed();
    start();
    window()->showMinimized();
    ASSERT_TRUE(settle([&] { return host->scenePhase() == ScenePhase::background; }));
    EXPECT_EQ(stored().goals, (std::vector<std::string>{"home open", "work open"}));

    window()->showNormal();
    window()->activateWindow();
    ASSERT_TRUE(settle([&] { return host->scenePhase() == ScenePhase::active; }));
    appContext()->fetch<Item>().front()->setCompleted(true);
    host->terminate();
    EXPECT_EQ(stored().goals.size(), 1u) << "the goal completed just before quitting is burnt too";
    Prefs::set(quoril::burnOnQuit(), false);
}

TEST_F(AppWiringTest, WithBurnAtEndOfDayAnActivationAfterYesterdaysBurnBurns) {
    Prefs::set(quoril::burnOnQuit(), false);
    Prefs::set(quoril::burnAtEndOfDay(), true);
    const auto yesterday = foundation::Date::now().addingTimeInterval(-36 * 3600);
    Prefs::set(quoril::lastAutoBurnDate(), yesterday);
    seed();
    start();
    ASSERT_TRUE(settle([&] { return stored().goals.size() == 2; }));
    EXPECT_EQ(stored().goals, (std::vector<std::string>{"home open", "work open"}));
    EXPECT_GT(Prefs::get(quoril::lastAutoBurnDate()), yesterday);
    Prefs::set(quoril::burnAtEndOfDay(), false);
}
