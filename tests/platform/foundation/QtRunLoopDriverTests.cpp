#include "foundation/DispatchQueue.h"
#include "foundation/QtRunLoopDriver.h"
#include "foundation/Timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
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
