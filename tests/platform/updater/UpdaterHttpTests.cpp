// Checks against a feed served over HTTP on 127.0.0.1: the answers, redirects, size and time
// limits of outside input.
#include "TestHttpServer.h"
#include "UpdaterFixture.h"

#include <gmock/gmock.h>

using namespace updater_testing;
using testing::ElementsAre;
using testing::HasSubstr;
using Response = testing_support::TestHttpServer::Response;

namespace {

TEST_F(UpdaterTest, AFeedOverHttpIsReadAndEveryFaultOfItIsTheErrorDialog) {
    testing_support::TestHttpServer server;
    const QByteArray newer = QByteArray::fromStdString(feed({item("0.10.0")}));
    server.answer("/feed.xml", {.body = newer});
    server.answer("/moved", {.status = 302, .reason = "Found", .headers = {{"Location", "/feed.xml"}}});
    server.answer("/to-file",
                  {.status = 301, .reason = "Moved", .headers = {{"Location", "file:///etc/passwd"}}});
    // Two MiB of a well-formed feed: the size, not the content, is refused.
    QByteArray big = QByteArray::fromStdString(feed({item("0.10.0", "<description>")}));
    big.insert(big.indexOf("</item>"), QByteArray(2 * 1024 * 1024, 'x') + "</description>");
    server.answer("/big.xml", {.body = big});
    server.answer("/unannounced.xml", {.body = big, .omitsLength = true});

    for (const std::string path : {"/feed.xml", "/moved"}) {
        auto& updater = start(server.url(path));
        updater.checkForUpdates();
        ASSERT_TRUE(settle());
        EXPECT_EQ(driver_->shown.back(), "found: 0.10.0") << path;
    }
    struct Case {
        std::string path;
        std::string says;
    };
    for (const auto& c : {Case{"/missing.xml", "404 (Not Found)"}, Case{"/to-file", "301 (Moved)"},
                          Case{"/big.xml", "more than 1 MiB"}, Case{"/unannounced.xml", "more than 1 MiB"}}) {
        auto& updater = start(server.url(c.path));
        driver_->shown.clear();
        updater.checkForUpdates();
        ASSERT_TRUE(settle()) << c.path;
        EXPECT_THAT(driver_->shown, ElementsAre("error")) << c.path;
        EXPECT_THAT(driver_->error, HasSubstr(c.says));
        EXPECT_TRUE(updater.canCheckForUpdates());
        EXPECT_FALSE(updater.automaticallyChecksForUpdates());
        EXPECT_EQ(updater.lastUpdateCheckDate(), foundation::Date::now());
    }
    EXPECT_EQ(server.requests("/feed.xml"), 2);
}

TEST_F(UpdaterTest, AServerThatStallsEndsTheCheckAfterThirtySeconds) {
    testing_support::TestHttpServer server;
    server.answer("/feed.xml", {.stall = true});
    auto& updater = start(server.url("/feed.xml"));
    updater.checkForUpdates();
    ASSERT_TRUE(pollEvents([&] { return server.requests("/feed.xml") == 1; }));
    foundation::RunLoop::main().advance(29.9);
    pollEvents([n = 0]() mutable { return ++n > 5; });
    EXPECT_TRUE(updater.sessionInProgress());
    EXPECT_TRUE(driver_->shown.empty());
    foundation::RunLoop::main().advance(0.1);
    ASSERT_TRUE(settle());
    EXPECT_THAT(driver_->shown, ElementsAre("error"));
    EXPECT_THAT(driver_->error, HasSubstr("did not answer within 30 seconds"));
    EXPECT_TRUE(updater.canCheckForUpdates());
}

TEST_F(UpdaterTest, ACheckAskedForDuringAScheduledOneShowsItsResult) {
    testing_support::TestHttpServer server;
    server.answer("/feed.xml", {.body = QByteArray::fromStdString(feed({item("0.9.2")}))});
    auto& updater = start(server.url("/feed.xml"));
    updater.setAutomaticallyChecksForUpdates(true);
    foundation::RunLoop::main().advance(updater::SPUUpdater::overdueCheckDelay);
    ASSERT_TRUE(updater.sessionInProgress());
    updater.checkForUpdates();
    ASSERT_TRUE(settle());
    EXPECT_THAT(driver_->shown, ElementsAre("up to date: Quoril 0.9.2"));
    EXPECT_EQ(server.requests("/feed.xml"), 1);
}

} // namespace
