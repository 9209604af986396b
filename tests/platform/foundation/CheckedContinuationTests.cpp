#include "TaskFixture.h"

#include "foundation/CheckedContinuation.h"
#include "foundation/MainThread.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"
#include "foundation/Timer.h"

#include <gmock/gmock.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <stdexcept>
#include <string>
#include <thread>

using namespace foundation;
using foundation::testing::runUntilFinished;

namespace {

struct CheckedContinuationTest : TaskFixture {};

} // namespace

TEST_F(CheckedContinuationTest, ResumesTheTaskWithTheValueWhenAndWhereverResumed) {
    Task task([]() -> Task<std::string> {
        std::string result;
        result += std::to_string(
            co_await withCheckedContinuation<int>("now", [](CheckedContinuation<int> c) { c.resume(1); }));
        result +=
            std::to_string(co_await withCheckedContinuation<int>("timer", [](CheckedContinuation<int> c) {
                Timer::scheduledTimer(2.0, false, [c](Timer&) { c.resume(2); });
            }));
        result += std::to_string(co_await resumedFromAnotherThread(3));
        result += isMainThread() ? "m" : "?";
        co_return result;
    });
    EXPECT_EQ(runUntilFinished(task), "123m");
}

TEST_F(CheckedContinuationTest, AThrowingContinuationRethrowsInTheTask) {
    Task task([]() -> Task<std::string> {
        try {
            co_await withCheckedThrowingContinuation<int>("fails", [](CheckedThrowingContinuation<int> c) {
                std::thread([c] { c.resumeThrowing(std::runtime_error("remote")); }).detach();
            });
        } catch (const std::runtime_error& error) {
            co_return error.what();
        }
        co_return "";
    });
    EXPECT_EQ(runUntilFinished(task), "remote");

    Task bodyThrows([]() -> Task<void> {
        co_await withCheckedContinuation<void>(
            "body", [](CheckedContinuation<void>) { throw std::logic_error("body"); });
    });
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(runUntilFinished(bodyThrows), std::logic_error);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), ""); // a throw is not also a dropped continuation
}

TEST_F(CheckedContinuationTest, DroppingAContinuationWithoutResumingItIsReported) {
    ::testing::internal::CaptureStderr();
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler keepsItsFrame; // the task can never resume, so its frame stays
#endif
    Task([]() -> Task<void> {
        co_await withCheckedContinuation<void>("lost()", [](CheckedContinuation<void>) {});
    });
    loop.runUntilIdle();
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::HasSubstr("lost() dropped its continuation without resuming it"));
}

TEST(CheckedContinuationDeathTest, ResumingTwiceStopsTheProgramNamingTheContinuation) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ScopedManualClock clock;
            Task([]() -> Task<void> {
                co_await withCheckedContinuation<void>("flush()", [](CheckedContinuation<void> c) {
                    c.resume();
                    c.resume();
                });
            });
            RunLoop::main().runUntilIdle();
        },
        "Fatal error: Task continuation misuse: flush\\(\\) tried to resume its continuation more than once");
}
