#include "App/AutoBurn.h"
#include "App/PreferenceKeys.h"
#include "App/SharedModelContainer.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "TestDates.h"

#include "Prefs/ValueAccess.h"

#include "foundation/Clock.h"
#include "foundation/DayChangeSource.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/UndoManager.h"
#include "store/ModelContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace quoril;
using foundation::Date;
using foundation::ScenePhase;
using testing_support::utc;

namespace {

class AutoBurnTest : public testing::Test {
protected:
    AutoBurnTest() {
        configuration.url = folder.path() / "goals.store";
        container = std::make_shared<store::ModelContainer>(quorilSchema(), configuration);
        context()->setUndoManager(undoManager);
        undoManager->setGroupsByEvent(false);
        // Two collections, each with a completed goal and an open one.
        for (const char* title : {"one", "two"}) {
            auto collection = std::make_shared<ItemCollection>(title);
            addGoal(collection, std::string(title) + " done", true);
            addGoal(collection, std::string(title) + " open", false);
        }
        context()->save();
    }

    ~AutoBurnTest() override {
        watch.cancel();
        foundation::RunLoop::main().runUntilIdle();
        for (const auto& key : {burnOnQuit(), burnAtEndOfDay()})
            key->reset();
        lastAutoBurnDate()->reset();
    }

    const std::shared_ptr<store::ModelContext>& context() { return container->mainContext(); }

    std::shared_ptr<Item> addGoal(const std::shared_ptr<ItemCollection>& collection, std::string title,
                                  bool completed) {
        auto goal = std::make_shared<Item>(Date::now(), std::move(title), true, completed);
        goal->setCollection(collection);
        context()->insert(goal);
        return goal;
    }

    std::vector<std::string> titlesIn(store::ModelContext& from) {
        std::vector<std::string> titles;
        for (const auto& goal : from.fetch<Item>())
            titles.push_back(goal->title());
        std::sort(titles.begin(), titles.end());
        return titles;
    }
    std::vector<std::string> titles() { return titlesIn(*context()); }
    // What the file holds, read by a container that shares nothing with the one under test.
    std::vector<std::string> storedTitles() {
        store::ModelContainer other(quorilSchema(), configuration);
        return titlesIn(*other.mainContext());
    }

    const std::vector<std::string> everyGoal{"one done", "one open", "two done", "two open"};
    const std::vector<std::string> openGoals{"one open", "two open"};

    testing_support::ScopedEnvironment zone{"TZ", "Europe/Berlin"};
    foundation::ScopedManualClock clock{utc(2026, 3, 10, 12)}; // 13:00 in Berlin
    const Date startOfToday = utc(2026, 3, 9, 23);
    testing_support::TemporaryFolder folder;
    store::ModelConfiguration configuration;
    std::shared_ptr<foundation::UndoManager> undoManager = std::make_shared<foundation::UndoManager>();
    std::shared_ptr<store::ModelContainer> container;
    DayChangeWatch watch;
};

void postDayChange() {
    foundation::NotificationCenter::defaultCenter().post(foundation::NSCalendarDayChangedNotification);
}

TEST_F(AutoBurnTest, GoingToTheBackgroundBurnsEveryCollectionOnlyWithBurnOnQuit) {
    scenePhaseChanged(ScenePhase::background, container, watch);
    EXPECT_EQ(storedTitles(), everyGoal);

    Prefs::set(burnOnQuit(), true);
    const Date stamp = Prefs::get(lastAutoBurnDate());
    scenePhaseChanged(ScenePhase::inactive, container, watch);
    EXPECT_EQ(storedTitles(), everyGoal);

    scenePhaseChanged(ScenePhase::background, container, watch);
    EXPECT_EQ(storedTitles(), openGoals);
    EXPECT_EQ(titles(), openGoals);
    EXPECT_EQ(context()->fetchCount<ItemCollection>(), 2u);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), stamp) << "quitting is no day's burn";
    EXPECT_FALSE(watch.isRunning());
}

TEST_F(AutoBurnTest, TheFirstActivationOfALaterDayBurnsAndEveryActivationStamps) {
    Prefs::set(burnAtEndOfDay(), true);
    Prefs::set(lastAutoBurnDate(), utc(2026, 3, 8, 20));
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_EQ(storedTitles(), openGoals);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), Date::now());
    EXPECT_TRUE(watch.isRunning());

    // Later the same day nothing more burns, and the stamp still moves on.
    addGoal(context()->fetch<ItemCollection>().front(), "finished later", true);
    clock->advance(3600);
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_EQ(titles(), (std::vector<std::string>{"finished later", "one open", "two open"}));
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), Date::now());
}

TEST_F(AutoBurnTest, TheStampMustLieStrictlyBeforeTheStartOfToday) {
    Prefs::set(burnAtEndOfDay(), true);
    Prefs::set(lastAutoBurnDate(), startOfToday);
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_EQ(storedTitles(), everyGoal);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), Date::now());

    Prefs::set(lastAutoBurnDate(), startOfToday - 1);
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_EQ(storedTitles(), openGoals);
}

TEST_F(AutoBurnTest, WithBurnAtEndOfDayOffAnActivationBurnsNothingStampsNothingAndStartsNoTask) {
    const Date yesterday = utc(2026, 3, 8, 20);
    Prefs::set(lastAutoBurnDate(), yesterday);
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_FALSE(watch.isRunning());
    postDayChange();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(storedTitles(), everyGoal);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), yesterday);
}

TEST_F(AutoBurnTest, ADayChangeBurnsAndStampsWhileTheSettingIsOn) {
    Prefs::set(burnAtEndOfDay(), true);
    Prefs::set(lastAutoBurnDate(), startOfToday + 60);
    scenePhaseChanged(ScenePhase::active, container, watch);
    ASSERT_EQ(storedTitles(), everyGoal);

    clock->advance(12 * 3600);
    postDayChange();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return titles() == openGoals; }));
    EXPECT_EQ(storedTitles(), openGoals);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), Date::now());

    // Switched off, the task stays and neither burns nor stamps.
    Prefs::set(burnAtEndOfDay(), false);
    const Date stamp = Prefs::get(lastAutoBurnDate());
    addGoal(context()->fetch<ItemCollection>().front(), "finished", true);
    context()->save();
    postDayChange();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(storedTitles().size(), 3u);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), stamp);
    EXPECT_TRUE(watch.isRunning());

    Prefs::set(burnAtEndOfDay(), true);
    postDayChange();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return titles() == openGoals; }));
}

TEST_F(AutoBurnTest, ActivationsShareOneDayChangeTask) {
    Prefs::set(burnAtEndOfDay(), true);
    for (int i = 0; i < 3; ++i) {
        scenePhaseChanged(ScenePhase::active, container, watch);
        foundation::RunLoop::main().runUntilIdle();
    }
    // With the one task cancelled, no other is left to burn.
    watch.cancel();
    foundation::RunLoop::main().runUntilIdle();
    const Date stamp = Prefs::get(lastAutoBurnDate());
    postDayChange();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(storedTitles(), everyGoal);
    EXPECT_EQ(Prefs::get(lastAutoBurnDate()), stamp);

    // A new activation starts it again, and it ends when the container goes.
    scenePhaseChanged(ScenePhase::active, container, watch);
    EXPECT_TRUE(watch.isRunning());
    container.reset();
    postDayChange();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_FALSE(watch.isRunning());
    EXPECT_EQ(storedTitles(), everyGoal);
}

TEST_F(AutoBurnTest, UnsavedGoalsAreSavedFirstAndTheMainContextShowsTheBurn) {
    Prefs::set(burnOnQuit(), true);
    const auto collection = context()->fetch<ItemCollection>().front();
    const auto justDone = addGoal(collection, "just done", true);
    const auto justAdded = addGoal(collection, "just added", false);
    const auto saved = context()->fetch<Item>(
        store::FetchDescriptor<Item>{store::Predicate<Item>::equals("title", std::string("one open"))});
    ASSERT_EQ(saved.size(), 1u);
    saved.front()->setCompleted(true); // undoable, unsaved
    ASSERT_TRUE(context()->hasChanges());

    scenePhaseChanged(ScenePhase::background, container, watch);
    EXPECT_FALSE(context()->hasChanges());
    EXPECT_EQ(storedTitles(), (std::vector<std::string>{"just added", "two open"}));
    EXPECT_EQ(titles(), (std::vector<std::string>{"just added", "two open"}));
    EXPECT_TRUE(justDone->isDeleted());
    EXPECT_FALSE(justAdded->isDeleted());
    for (const auto& member : collection->items())
        EXPECT_FALSE(member->completed()) << member->title();

    // Undoing the completion of a burnt goal does not bring it back.
    undoManager->undo();
    context()->autosaveNow();
    EXPECT_EQ(storedTitles(), (std::vector<std::string>{"just added", "two open"}));
}

} // namespace
