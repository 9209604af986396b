#include "TaskFixture.h"

#include "foundation/MainThread.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"
#include "foundation/WorkerPool.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace foundation;
using foundation::testing::runUntilFinished;

namespace {

struct TaskTest : TaskFixture {};

struct Where {
    bool main = false;
    bool worker = false;
    TaskPriority priority;
};

Task<Where> whereAmI() {
    co_return Where{isMainThread(), WorkerPool::isWorkerThread(), Task<>::currentPriority()};
}

Task<long> sumTo(long n) {
    if (n == 0) co_return 0;
    co_return n + co_await sumTo(n - 1);
}

Task<int> failsLater() {
    co_await Task<>::sleep(1);
    throw std::runtime_error("boom");
}

} // namespace

TEST_F(TaskTest, AMainActorTaskStartsFromTheRunLoopAndResumesOnTheMainThread) {
    std::vector<bool> onMain;
    bool started = false;
    Task task([&]() -> Task<int> {
        started = true;
        onMain.push_back(isMainThread());
        const int value = co_await resumedFromAnotherThread(1);
        onMain.push_back(isMainThread());
        co_await Task<>::sleep(0.5);
        onMain.push_back(isMainThread());
        co_return value + 1;
    });
    EXPECT_FALSE(started);
    EXPECT_EQ(runUntilFinished(task), 2);
    EXPECT_EQ(onMain, (std::vector<bool>{true, true, true}));

    // Nobody needs to keep the handle.
    bool ran = false;
    Task([&] { ran = true; });
    loop.runUntilIdle();
    EXPECT_TRUE(ran);
}

TEST_F(TaskTest, DetachedTasksRunOnWorkersOrOnTheMainActorAtTheirPriority) {
    auto worker = Task<Where>::detached(TaskPriority::background(), []() -> Task<Where> {
        co_await resumedFromAnotherThread();
        co_return co_await whereAmI(); // an async call runs inside the calling task
    });
    auto mainBound = Task<Where>::detached(TaskPriority::userInitiated(), onMainActor, []() -> Task<Where> {
        co_await resumedFromAnotherThread();
        co_return co_await whereAmI();
    });
    const Where w = runUntilFinished(worker);
    EXPECT_FALSE(w.main);
    EXPECT_TRUE(w.worker);
    EXPECT_EQ(w.priority, TaskPriority::background());
    const Where m = runUntilFinished(mainBound);
    EXPECT_TRUE(m.main);
    EXPECT_EQ(m.priority, TaskPriority::userInitiated());
}

TEST_F(TaskTest, ChildTasksTakeTheirCreatorsPriorityUnlessGivenOne) {
    auto outer = Task<std::vector<TaskPriority>>::detached(
        TaskPriority::utility(), []() -> Task<std::vector<TaskPriority>> {
            Task inherited([] { return Task<>::currentPriority(); });
            Task given(TaskPriority::high(), [] { return Task<>::currentPriority(); });
            std::vector<TaskPriority> seen;
            seen.push_back(co_await inherited);
            seen.push_back(co_await given);
            co_return seen;
        });
    EXPECT_EQ(runUntilFinished(outer),
              (std::vector<TaskPriority>{TaskPriority::utility(), TaskPriority::high()}));
    Task outside([] { return Task<>::currentPriority(); });
    EXPECT_EQ(runUntilFinished(outside), TaskPriority::medium());
}

TEST_F(TaskTest, AwaitingGivesEveryAwaiterTheValueOrTheError) {
    Task shared([]() -> Task<std::string> {
        co_await Task<>::sleep(1);
        co_return std::string("v");
    });
    Task first([shared]() -> Task<std::string> { co_return co_await shared + "1"; });
    auto second = Task<std::string>::detached(
        [shared]() -> Task<std::string> { co_return co_await shared.value() + "2"; });
    EXPECT_EQ(runUntilFinished(first), "v1");
    EXPECT_EQ(runUntilFinished(second), "v2");
    EXPECT_EQ(runUntilFinished(shared), "v"); // done already: still there for a late awaiter

    Task failing([]() -> Task<int> { co_return co_await failsLater(); });
    EXPECT_THROW(runUntilFinished(failing), std::runtime_error);
    Task catching([]() -> Task<std::string> {
        try {
            co_await failsLater();
        } catch (const std::runtime_error& error) {
            co_return error.what();
        }
        co_return "";
    });
    EXPECT_EQ(runUntilFinished(catching), "boom");

    // Awaiting a temporary moves the value out, so move-only results work.
    Task owner([]() -> Task<int> {
        auto p = co_await []() -> Task<std::unique_ptr<int>> { co_return std::make_unique<int>(5); }();
        co_return *p;
    });
    EXPECT_EQ(runUntilFinished(owner), 5);
}

TEST_F(TaskTest, TheBodysCapturesLiveExactlyAsLongAsTheTask) {
    auto token = std::make_shared<int>(42);
    std::weak_ptr<int> watch = token;
    Task task([token = std::move(token)]() -> Task<int> {
        co_await Task<>::sleep(1); // the statement that created the task is long over
        co_await resumedFromAnotherThread();
        co_return *token;
    });
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(runUntilFinished(task), 42);
    EXPECT_TRUE(watch.expired());
}

TEST_F(TaskTest, DeepChainsOfAsyncCallsDoNotGrowTheStack) {
    EXPECT_EQ(runUntilFinished(sumTo(100000)), 5000050000L);
}

TEST_F(TaskTest, CancellationIsObservedAndCutsASleepShort) {
    std::vector<std::string> log;
    const double start = clock->uptime();
    Task task([&]() -> Task<void> {
        log.push_back(Task<>::isCancelledCurrent() ? "cancelled" : "running");
        try {
            co_await Task<>::sleep(1000);
            log.push_back("slept");
        } catch (const CancellationError&) {
            log.push_back("woken");
        }
        log.push_back(Task<>::isCancelledCurrent() ? "cancelled" : "running");
        try {
            Task<>::checkCancellation();
        } catch (const CancellationError&) {
            log.push_back("checked");
        }
    });
    loop.runUntilIdle();
    EXPECT_FALSE(task.isCancelled());
    std::thread([task] { task.cancel(); }).join();
    EXPECT_TRUE(task.isCancelled());
    runUntilFinished(task);
    EXPECT_EQ(log, (std::vector<std::string>{"running", "woken", "cancelled", "checked"}));
    EXPECT_EQ(clock->uptime(), start);

    Task early([] { return Task<>::isCancelledCurrent(); });
    early.cancel();
    EXPECT_TRUE(runUntilFinished(early));

    EXPECT_FALSE(Task<>::isCancelledCurrent());
    EXPECT_NO_THROW(Task<>::checkCancellation());
}
