// Keys bound to views: re-evaluation on every write, whoever wrote it, and the observable's watch.
#include "PrefsFixture.h"

#include "Prefs/Default.h"
#include "Prefs/Observable.h"
#include "Prefs/Observe.h"
#include "Prefs/WithoutPropagation.h"

#include "foundation/Clock.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "foundation/TaskTesting.h"

#include "ui/TestHost.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using prefs_testing::PrefsTest;

// What the view saw, and its last Default for the test to use outside the body.
struct Probe {
    std::vector<int> seen;
    std::optional<Prefs::Default<int>> last;
};

struct CounterView {
    std::shared_ptr<Prefs::Key<int>> key;
    std::shared_ptr<Probe> probe;
    ui::View body(ui::ViewContext& ctx) const {
        Prefs::Default<int> count(ctx, "count", key);
        probe->seen.push_back(count.wrappedValue());
        probe->last = count;
        return ui::Text::verbatim("count " + std::to_string(count.wrappedValue()));
    }
};

class DefaultTest : public PrefsTest {
protected:
    // Observation tasks end on the main loop; let them, so that nothing they hold outlives the test.
    void TearDown() override {
        probe.reset();
        foundation::RunLoop::main().runUntilIdle();
    }

    // Virtual time from the start: work posted before a test host takes over the clock must not
    // wait for a real-time deadline the host's clock never reaches.
    foundation::ScopedManualClock clock;
    std::shared_ptr<foundation::UserDefaults> defaults = suite();
    std::shared_ptr<Prefs::Key<int>> key = std::make_shared<Prefs::Key<int>>("count", 0, defaults);
    std::shared_ptr<Probe> probe = std::make_shared<Probe>();

    static int evaluations(ui::TestHost& host) {
        return ui::TestHost::evaluationCount(host.findType<CounterView>());
    }
};

TEST_F(DefaultTest, TheViewEvaluatesOncePerWriteWhoeverWrote) {
    ui::TestHost host(CounterView{key, probe});
    // A write before the main loop ever ran, while the observation task has not started yet.
    Prefs::set(key, 1);
    host.update();
    EXPECT_EQ(evaluations(host), 2);
    EXPECT_NE(host.findByText("count 1"), nullptr);

    host.update();
    host.update();
    EXPECT_EQ(evaluations(host), 2) << "nothing announced without a write";

    defaults->setObject(foundation::PropertyList(2), "count"); // straight into the suite
    host.update();
    Prefs::set(key, 2); // equal, and announced all the same
    host.update();
    probe->last->setWrappedValue(3);
    host.update();
    EXPECT_EQ(evaluations(host), 5);
    EXPECT_EQ(probe->seen, (std::vector<int>{0, 1, 2, 2, 3}));

    Prefs::withoutPropagation([&] { Prefs::set(key, 4); });
    host.update();
    EXPECT_EQ(evaluations(host), 5) << "a write without propagation refreshes nothing";
}

TEST_F(DefaultTest, TheFirstEvaluationAnnouncesNothing) {
    ui::TestHost host(CounterView{key, probe});
    int announcements = 0;
    auto subscription = probe->last->observable()->objectWillChange().sink([&](auto) { ++announcements; });
    host.update();
    EXPECT_EQ(announcements, 0);
    EXPECT_EQ(evaluations(host), 1);
}

TEST_F(DefaultTest, WritesFromAnotherThreadAreAnnouncedOnTheMainActorOneByOne) {
    Prefs::Observable<int> observable(key);
    std::atomic<int> announcements = 0;
    std::atomic<bool> offMain = false;
    std::vector<int> valuesSeen;
    auto subscription = observable.objectWillChange().sink([&](auto) {
        if (!foundation::isMainThread()) offMain = true;
        valuesSeen.push_back(observable.value());
        ++announcements;
    });
    std::thread([&] {
        for (int i = 1; i <= 20; ++i)
            Prefs::set(key, i);
    }).join();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return announcements == 20; }, 10.0));
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(announcements, 20);
    EXPECT_FALSE(offMain);
    EXPECT_EQ(valuesSeen.back(), 20);
}

TEST_F(DefaultTest, WritesReachTheSuiteEveryTime) {
    int writes = 0;
    auto observation = Prefs::observe(key, {}, [&](const Prefs::KeyChange<int>&) { ++writes; });
    ui::TestHost host(CounterView{key, probe});
    const Prefs::Default<int> count = *probe->last;

    count.setWrappedValue(0); // equal to the default, still written
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(storedInFile("com.example.prefs", "count"), foundation::PropertyList(0));

    count.modifyWrappedValue([](int& value) { value += 5; });
    EXPECT_EQ(Prefs::get(key), 5);
    EXPECT_THROW(count.modifyWrappedValue([](int& value) {
        value = 7;
        throw std::runtime_error("abandoned");
    }),
                 std::runtime_error);
    EXPECT_EQ(Prefs::get(key), 7) << "an abandoned change is written back as it stood";

    const ui::Binding<int> binding = count.projectedValue();
    binding.set(9);
    EXPECT_EQ(count.wrappedValue(), 9);
    EXPECT_EQ(binding.get(), 9);
    EXPECT_EQ(writes, 4);
    EXPECT_FALSE(count.isDefaultValue());

    count.reset();
    EXPECT_TRUE(storedInFile("com.example.prefs", "count").isAbsent());
    EXPECT_EQ(count.wrappedValue(), 0);
    EXPECT_TRUE(count.isDefaultValue());
    EXPECT_EQ(writes, 5);
}

TEST_F(DefaultTest, DefaultValueIsAskedEachTimeAndThePublisherStartsWithTheCurrentValue) {
    int asked = 0;
    auto computed =
        std::make_shared<Prefs::Key<int>>("computed", defaults, false, [&] { return ++asked * 10; });
    struct View {
        std::shared_ptr<Prefs::Key<int>> key;
        std::shared_ptr<std::optional<Prefs::Default<int>>> out;
        ui::View body(ui::ViewContext& ctx) const {
            *out = Prefs::Default<int>(ctx, "computed", key);
            return ui::Text::verbatim("x");
        }
    };
    auto out = std::make_shared<std::optional<Prefs::Default<int>>>();
    ui::TestHost host(View{computed, out});
    const int before = asked;
    EXPECT_EQ((*out)->defaultValue(), (before + 1) * 10);
    EXPECT_EQ((*out)->defaultValue(), (before + 2) * 10);

    Prefs::set(computed, 3);
    std::vector<int> published;
    auto subscription = (*out)->publisher().sink(
        [&](const Prefs::KeyChange<int>& change) { published.push_back(change.newValue()); });
    Prefs::set(computed, 4);
    EXPECT_EQ(published, (std::vector<int>{3, 4}));
}

TEST_F(DefaultTest, AnEqualKeyKeepsTheTaskAndAnotherNameOrSuiteRestartsIt) {
    Prefs::Observable<int> observable(key);
    const foundation::Task<> first = *observable.task();
    observable.setKey(std::make_shared<Prefs::Key<int>>("count", 0, defaults));
    EXPECT_TRUE(*observable.task() == first);
    EXPECT_FALSE(first.isCancelled());

    int announcements = 0;
    auto subscription = observable.objectWillChange().sink([&](auto) { ++announcements; });
    auto other = std::make_shared<Prefs::Key<int>>("other", 0, defaults);
    observable.setKey(other);
    EXPECT_TRUE(first.isCancelled());
    const foundation::Task<> second = *observable.task();
    EXPECT_FALSE(second == first);

    Prefs::set(key, 1);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(announcements, 0) << "the old key is no longer watched";
    Prefs::set(other, 1);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(announcements, 1);

    // The same name in another suite object.
    observable.setKey(std::make_shared<Prefs::Key<int>>("other", 0, suite("com.example.elsewhere")));
    EXPECT_TRUE(second.isCancelled());
    Prefs::set(other, 2);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(announcements, 1);
}

TEST_F(DefaultTest, AViewHandedAnotherKeyWatchesThatKey) {
    ui::TestHost host(CounterView{key, probe});
    const auto observable = probe->last->observable();
    const foundation::Task<> first = *observable->task();
    host.update();

    auto other = std::make_shared<Prefs::Key<int>>("other", 0, defaults);
    host.setRoot(CounterView{other, probe});
    host.update();
    EXPECT_EQ(probe->last->observable(), observable) << "made once per view identity";
    EXPECT_EQ(observable->key(), other);
    EXPECT_TRUE(first.isCancelled());
    const int before = evaluations(host);

    Prefs::set(key, 1);
    host.update();
    EXPECT_EQ(evaluations(host), before);
    Prefs::set(other, 1);
    host.update();
    EXPECT_EQ(evaluations(host), before + 1);
    EXPECT_NE(host.findByText("count 1"), nullptr);
}

TEST_F(DefaultTest, AfterTheViewLeavesAWriteAnnouncesNothing) {
    ui::TestHost host(CounterView{key, probe});
    std::weak_ptr<Prefs::Observable<int>> observable = probe->last->observable();
    const foundation::Task<> task = *probe->last->observable()->task();
    probe->last.reset();
    host.setRoot(ui::Text::verbatim("elsewhere"));
    host.update();
    EXPECT_TRUE(observable.expired());
    EXPECT_TRUE(task.isCancelled());

    Prefs::set(key, 1);
    host.update();
    foundation::testing::runUntilFinished(task); // it ends by itself, quietly
    Prefs::set(key, 2);
    host.update();
    EXPECT_EQ(probe->seen, (std::vector<int>{0}));
}

} // namespace
