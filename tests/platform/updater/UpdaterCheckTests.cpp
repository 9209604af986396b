// Checks against a feed file: what the user is shown, canCheckForUpdates, and that a bad feed
// changes nothing but the last check's date.
#include "UpdaterFixture.h"

#include "reactive/Sink.h"

#include <gmock/gmock.h>

using namespace updater_testing;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

const std::string newerItem = item("0.10.0", "<title>Quoril 0.10.0</title>"
                                             "<pubDate>Wed, 09 Dec 2026 13:40:00 +0000</pubDate>"
                                             "<description>Goals <b>burn</b> faster.</description>"
                                             "<link>https://example.org/quoril/0.10.0</link>");

TEST_F(UpdaterTest, AFeedFileSaysUpToDateOrOffersTheHighestNewerVersion) {
    // 0.9.2 is the running version; "1.0-beta" is no version and is ignored.
    auto& upToDate = start(feedFile(feed({item("0.9.2"), item("0.9.1"), item("1.0-beta")})));
    upToDate.checkForUpdates();
    ASSERT_TRUE(settle());
    EXPECT_THAT(driver_->shown, ElementsAre("up to date: Quoril 0.9.2"));

    auto& newer = start(feedFile(feed({item("0.9.2"), newerItem, item("0.9.10")})));
    newer.checkForUpdates();
    ASSERT_TRUE(settle());
    EXPECT_EQ(driver_->shown.back(), "found: 0.10.0");
    const auto& found = *driver_->found;
    EXPECT_EQ(found.applicationName, "Quoril");
    EXPECT_EQ(found.currentVersion, "0.9.2");
    EXPECT_EQ(found.item.notes, "Goals burn faster.");
    ASSERT_TRUE(found.item.publicationDate);
    EXPECT_EQ(found.item.publicationDate->timeIntervalSince1970(), 1796823600);
    ASSERT_TRUE(found.downloadPage);
    EXPECT_EQ(found.downloadPage->absoluteString(), "https://example.org/quoril/0.10.0");
    EXPECT_FALSE(found.downloadedFile);

    // Compared as text, 0.9.2 would be newer than 0.10.0.
    auto& running = start(feedFile(feed({item("0.9.2"), item("0.10.0")})), "0.10.0");
    running.checkForUpdates();
    ASSERT_TRUE(settle());
    EXPECT_EQ(driver_->shown.back(), "up to date: Quoril 0.10.0");
}

TEST_F(UpdaterTest, OnlyAnHttpOrHttpsLinkIsOfferedAsTheDownloadPage) {
    for (const std::string link : {"javascript:alert(1)", "file:///usr/bin/xterm", "quoril/0.10.0", ""}) {
        auto& updater = start(feedFile(feed({item("0.10.0", "<link>" + link + "</link>")})));
        updater.checkForUpdates();
        ASSERT_TRUE(settle());
        ASSERT_EQ(driver_->shown.back(), "found: 0.10.0");
        EXPECT_FALSE(driver_->found->downloadPage) << link;
    }
    auto& updater = start(feedFile(feed({item("0.10.0", "<link>http://example.org/get</link>")})));
    updater.checkForUpdates();
    ASSERT_TRUE(settle());
    ASSERT_TRUE(driver_->found->downloadPage);
}

TEST_F(UpdaterTest, AFeedThatCannotBeReadShowsTheErrorAndChangesNothingElse) {
    struct Case {
        std::string url;
        std::string says;
    };
    const std::vector<Case> cases{
        {feedFile("Hello, this is not a feed.", "text.xml"), "not well-formed XML"},
        {feedFile("<html><body>Moved</body></html>", "page.html"), "not an RSS feed"},
        {"file://" + (folder_.path() / "missing.xml").string(), "does not exist"},
        {"ftp://example.org/feed.xml", "not an http or https address"},
        {"file:///dev/zero", "not a regular file"},
    };
    for (const auto& c : cases) {
        auto& updater = start(c.url);
        updater.setAutomaticallyChecksForUpdates(true);
        updater.setAutomaticallyDownloadsUpdates(true);
        updater.setUpdateCheckInterval(7200);
        driver_->shown.clear();
        updater.checkForUpdates();
        ASSERT_TRUE(settle());
        EXPECT_THAT(driver_->shown, ElementsAre("error")) << c.url;
        EXPECT_THAT(driver_->error, HasSubstr(c.says));
        EXPECT_TRUE(updater.automaticallyChecksForUpdates());
        EXPECT_TRUE(updater.automaticallyDownloadsUpdates());
        EXPECT_EQ(updater.updateCheckInterval(), 7200);
        EXPECT_EQ(updater.lastUpdateCheckDate(), foundation::Date::now());
        EXPECT_TRUE(downloads().empty());
        EXPECT_TRUE(updater.canCheckForUpdates());
    }
}

TEST_F(UpdaterTest, CanCheckForUpdatesIsFalseDuringACheckAndTrueAfter) {
    auto& updater = start(feedFile(feed({item("0.9.2")})));
    std::vector<bool> values;
    auto subscription =
        updater.canCheckForUpdatesPublisher().sink([&](bool value) { values.push_back(value); });
    EXPECT_THAT(values, ElementsAre(true)); // the current value at once

    updater.checkForUpdates();
    EXPECT_THAT(values, ElementsAre(true, false));
    EXPECT_FALSE(updater.canCheckForUpdates());
    updater.checkForUpdates(); // does nothing more during a check
    ASSERT_TRUE(settle());
    EXPECT_THAT(values, ElementsAre(true, false, true));
    EXPECT_THAT(driver_->shown, ElementsAre("up to date: Quoril 0.9.2"));

    // Not started, or without a feed, no check is possible.
    updater::SPUUpdater idle(hostBundle(feedFile(feed({}))), driver_);
    EXPECT_FALSE(idle.canCheckForUpdates());
    auto& noFeed = start("");
    EXPECT_FALSE(noFeed.canCheckForUpdates());
    const auto lastCheck = noFeed.lastUpdateCheckDate();
    clock_->advance(10);
    noFeed.checkForUpdates();
    EXPECT_EQ(driver_->shown.back(), "no feed: Quoril");
    EXPECT_EQ(noFeed.lastUpdateCheckDate(), lastCheck) << "no check ran";
}

TEST_F(UpdaterTest, SettingsSurviveANewUpdaterObjectAndBadStoredIntervalsReadAsTheDefault) {
    const std::string url = feedFile(feed({item("0.9.2")}));
    auto& first = start(url);
    EXPECT_FALSE(first.automaticallyChecksForUpdates());
    EXPECT_FALSE(first.automaticallyDownloadsUpdates());
    EXPECT_EQ(first.updateCheckInterval(), 86400);
    EXPECT_FALSE(first.lastUpdateCheckDate());
    first.setAutomaticallyChecksForUpdates(true);
    first.setAutomaticallyDownloadsUpdates(true);
    first.setUpdateCheckInterval(2629800);
    first.checkForUpdates();
    ASSERT_TRUE(settle());

    auto& second = start(url);
    EXPECT_TRUE(second.automaticallyChecksForUpdates());
    EXPECT_TRUE(second.automaticallyDownloadsUpdates());
    EXPECT_EQ(second.updateCheckInterval(), 2629800);
    EXPECT_EQ(second.lastUpdateCheckDate(), foundation::Date::now());

    second.setUpdateCheckInterval(-1);
    second.setUpdateCheckInterval(std::numeric_limits<double>::infinity());
    EXPECT_EQ(second.updateCheckInterval(), 2629800);
    const auto suite = foundation::UserDefaults::make(suiteName());
    for (const foundation::PropertyList& stored :
         {foundation::PropertyList(0.0), foundation::PropertyList(-5.0),
          foundation::PropertyList(std::nan("")), foundation::PropertyList("hourly")}) {
        suite->setObject(stored, updater::SPUUpdater::updateCheckIntervalKey);
        EXPECT_EQ(second.updateCheckInterval(), 86400) << stored.description();
    }
}

TEST_F(UpdaterTest, ScheduledChecksRunAtTheLastCheckPlusTheIntervalAndSpeakOnlyOfNewerVersions) {
    const std::string url = feedFile(feed({item("0.9.2")}));
    auto& updater = start(url);
    updater.checkForUpdates();
    ASSERT_TRUE(settle());
    const auto firstCheck = *updater.lastUpdateCheckDate();
    driver_->shown.clear();

    updater.setAutomaticallyChecksForUpdates(true); // daily
    auto& loop = foundation::RunLoop::main();
    loop.advance(7199);
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck);
    updater.setUpdateCheckInterval(7200); // moves the next check to the first plus two hours
    loop.advance(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck + 7200);
    EXPECT_TRUE(driver_->shown.empty()) << "an automatic check does not say it is up to date";

    // A fault is only logged; a newer version is shown.
    feedFile("not a feed");
    loop.advance(7200);
    ASSERT_TRUE(settle());
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck + 14400);
    EXPECT_TRUE(driver_->shown.empty());
    feedFile(feed({item("0.9.3")}));
    loop.advance(7199);
    EXPECT_TRUE(driver_->shown.empty());
    loop.advance(1);
    ASSERT_TRUE(settle());
    EXPECT_THAT(driver_->shown, ElementsAre("found: 0.9.3"));

    // Never more often than hourly; turned off, no more checks.
    updater.setUpdateCheckInterval(60);
    loop.advance(3599);
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck + 21600);
    loop.advance(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck + 25200);
    updater.setAutomaticallyChecksForUpdates(false);
    loop.advance(86400);
    EXPECT_EQ(updater.lastUpdateCheckDate(), firstCheck + 25200);

    // Overdue when a new updater starts: shortly after.
    updater.setAutomaticallyChecksForUpdates(true);
    auto& restarted = start(url);
    loop.advance(updater::SPUUpdater::overdueCheckDelay);
    ASSERT_TRUE(settle());
    EXPECT_EQ(restarted.lastUpdateCheckDate(), foundation::Date::now());
}

} // namespace
