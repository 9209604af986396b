#pragma once

#include "foundation/CheckedContinuation.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/Task.h"

#include <gtest/gtest.h>

#include <thread>

// A manual clock for the test; the main run loop is drained at the end, so nothing scheduled
// here runs in the next test.
struct TaskFixture : ::testing::Test {
    foundation::ScopedManualClock clock{foundation::Date(1000)};
    foundation::RunLoop& loop = foundation::RunLoop::main();
    void TearDown() override { loop.advance(1e7); }
};

// Resumed by a thread of its own, so the awaiting task has to hop back to its executor.
inline foundation::Task<int> resumedFromAnotherThread(int value = 0) {
    co_return co_await foundation::withCheckedContinuation<int>(
        "resumedFromAnotherThread", [value](foundation::CheckedContinuation<int> continuation) {
            std::thread([continuation, value] { continuation.resume(value); }).detach();
        });
}
