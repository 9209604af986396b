#include "TaskFixture.h"

#include "foundation/Task.h"
#include "foundation/TaskLocal.h"
#include "foundation/TaskTesting.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace foundation;
using foundation::testing::runUntilFinished;

namespace {

struct TaskLocalTest : TaskFixture {};

const TaskLocal<std::string> requestID{"none"};

using Seen = std::vector<std::string>;

} // namespace

TEST_F(TaskLocalTest, BindingsAreScopedAndNest) {
    EXPECT_EQ(requestID.value(), "none");
    requestID.withValue("a", [] {
        EXPECT_EQ(requestID.value(), "a");
        requestID.withValue("b", [] { EXPECT_EQ(requestID.value(), "b"); });
        EXPECT_EQ(requestID.value(), "a");
        EXPECT_THROW(requestID.withValue("c", [] { throw std::runtime_error("x"); }), std::runtime_error);
        EXPECT_EQ(requestID.value(), "a");
    });
    EXPECT_EQ(requestID.value(), "none");
    EXPECT_EQ(requestID.withValue("r", [] { return requestID.value() + "!"; }), "r!");
}

TEST_F(TaskLocalTest, ABindingTravelsWithItsTaskAcrossSuspensionsAndThreads) {
    auto task = Task<Seen>::detached(TaskPriority::medium(), []() -> Task<Seen> {
        Seen seen;
        co_await requestID.withValue("outer", [&]() -> Task<void> {
            seen.push_back(requestID.value());
            co_await resumedFromAnotherThread(); // back on whichever worker is free
            seen.push_back(requestID.value());
            co_await requestID.withValue("inner", [&]() -> Task<void> {
                co_await Task<>::sleep(1);
                seen.push_back(requestID.value());
            });
            seen.push_back(requestID.value());
        });
        seen.push_back(requestID.value());
        co_return seen;
    });
    EXPECT_EQ(runUntilFinished(task), (Seen{"outer", "outer", "inner", "outer", "none"}));
}

TEST_F(TaskLocalTest, TasksInterleavedOnOneThreadKeepTheirOwnBindings) {
    auto make = [](std::string name) {
        return requestID.withValue(name, [] {
            return Task([]() -> Task<Seen> {
                Seen seen;
                for (int i = 0; i < 3; ++i) {
                    seen.push_back(requestID.value());
                    co_await Task<>::sleep(1);
                }
                co_return seen;
            });
        });
    };
    auto a = make("a");
    auto b = make("b");
    // A binding of the main thread itself while both run changes neither.
    requestID.withValue("thread", [&] { loop.advance(10); });
    EXPECT_EQ(runUntilFinished(a), (Seen{"a", "a", "a"}));
    EXPECT_EQ(runUntilFinished(b), (Seen{"b", "b", "b"}));
}

TEST_F(TaskLocalTest, ChildTasksInheritTheBindingAndDetachedTasksDoNot) {
    Task parent([]() -> Task<Seen> {
        std::optional<Task<std::string>> child, detachedChild, detachedOnMain;
        requestID.withValue("parent", [&] {
            child.emplace([]() -> Task<std::string> {
                co_await Task<>::sleep(1); // runs on after the scope has ended
                co_return requestID.value();
            });
            detachedChild = Task<std::string>::detached([] { return requestID.value(); });
            detachedOnMain = Task<std::string>::detached(TaskPriority::medium(), onMainActor,
                                                         [] { return requestID.value(); });
        });
        Seen seen;
        seen.push_back(co_await *child);
        seen.push_back(co_await *detachedChild);
        seen.push_back(co_await *detachedOnMain);
        seen.push_back(requestID.value());
        co_return seen;
    });
    EXPECT_EQ(runUntilFinished(parent), (Seen{"parent", "none", "none", "none"}));
}
