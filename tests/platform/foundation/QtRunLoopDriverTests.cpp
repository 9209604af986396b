#include "foundation/Clock.h"
#include "foundation/DispatchQueue.h"
#include "foundation/QtRunLoopDriver.h"
#include "foundation/Timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace foundation;

TEST(QtRunLoopDriverTest, MainQueueWorkAndTimersRunInsideQtsEventLoop) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QtRunLoopDriver driver;

    std::vector<std::string> log;
    auto note = [&](std::string entry) {
        log.push_back(std::move(entry));
        if (log.size() == 3) app.quit();
    };
    DispatchQueue::main().async([&] { note("async"); });
    DispatchQueue("worker").async([&] { DispatchQueue::main().async([&] { note("from worker"); }); });
    Timer::scheduledTimer(0, false, [&](Timer&) { note("timer"); });
    QTimer::singleShot(5000, &app, [&] { app.quit(); }); // a bound, should the loop never settle
    app.exec();

    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.front(), "async");
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"async", "from worker", "timer"}));
}

TEST(QtRunLoopDriverTest, MainQueueWorkMayDestroyTheDriverRunningIt) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    ScopedManualClock clock; // the later work must not fall due while the loop runs, however slow
    auto driver = std::make_unique<QtRunLoopDriver>();

    bool ranAfter = false;
    DispatchQueue::main().async([&] {
        driver.reset(); // a host closing from a main-queue action
        QTimer::singleShot(0, &app, [&] { app.quit(); });
    });
    // Still queued when the driver goes: the turn must not re-arm a driver that is gone.
    DispatchQueue::main().asyncAfter(DispatchTime::now() + 1, [&] { ranAfter = true; });
    QTimer::singleShot(5000, &app, [&] { app.quit(); });
    app.exec();

    EXPECT_FALSE(driver);
    EXPECT_FALSE(ranAfter); // nothing drives the loop any more
    clock->advance(1);
    RunLoop::main().runUntil([&] { return ranAfter; });
    EXPECT_TRUE(ranAfter);
}
