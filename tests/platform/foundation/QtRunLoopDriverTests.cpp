#include "foundation/DispatchQueue.h"
#include "foundation/QtRunLoopDriver.h"
#include "foundation/Timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

using namespace foundation;

TEST(QtRunLoopDriverTest, MainQueueWorkAndTimersRunInsideQtsEventLoop) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QtRunLoopDriver driver;

    std::vector<std::string> log;
    DispatchQueue::main().async([&] { log.push_back("async"); });
    DispatchQueue("worker").async([&] { DispatchQueue::main().async([&] { log.push_back("from worker"); }); });
    Timer::scheduledTimer(0, false, [&](Timer&) {
        log.push_back("timer");
        app.quit();
    });
    QTimer::singleShot(5000, &app, [&] { app.quit(); }); // a bound, should the loop never settle
    app.exec();

    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.front(), "async");
    EXPECT_EQ(log.back(), "timer");
}
