// An updater over a host bundle of the test's own, with a feed file saying the running version
// is the newest, and a user driver that counts what it was asked to show.
#pragma once

#include "TemporaryFolder.h"
#include "foundation/Bundle.h"
#include "foundation/UserDefaults.h"
#include "updater/SPUUpdater.h"
#include "updater/UserDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quoriltest {

struct CountingUserDriver : updater::UserDriver {
    void showUpToDate(const std::string&, const std::string&) override { ++shown; }
    void showUpdateFound(const updater::FoundUpdate&) override { ++shown; }
    void showFeedError(const std::string&) override { ++shown; }
    void showNoFeed(const std::string&) override { ++shown; }
    int shown = 0;
};

class TestUpdater {
public:
    // Each test its own suite, starting without settings.
    TestUpdater() {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        suite_ = std::string("org.quoril.view-tests.") + info->test_suite_name() + "." + info->name();
        const auto defaults = foundation::UserDefaults::make(suite_);
        for (const char* key : {updater::SPUUpdater::automaticallyChecksForUpdatesKey,
                                updater::SPUUpdater::automaticallyDownloadsUpdatesKey,
                                updater::SPUUpdater::updateCheckIntervalKey, updater::SPUUpdater::lastUpdateCheckDateKey})
            defaults->removeObjectForKey(key);
        std::ofstream(folder_.path() / "feed.xml")
            << "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item><version>1.0</version></item></channel></rss>";
        const auto bundle = folder_.path() / "Host.bundle";
        std::filesystem::create_directories(bundle);
        std::ofstream(bundle / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
            << "<key>CFBundleIdentifier</key><string>" << suite_ << "</string>"
            << "<key>CFBundleName</key><string>Quoril</string>"
            << "<key>CFBundleVersion</key><string>1.0</string>"
            << "<key>UpdateFeedURL</key><string>file://" << (folder_.path() / "feed.xml").string()
            << "</string></dict></plist>";
        updater = std::make_shared<updater::SPUUpdater>(foundation::Bundle::withPath(bundle), driver);
    }

    // The updater's settings as stored.
    std::shared_ptr<foundation::UserDefaults> settings() const { return foundation::UserDefaults::make(suite_); }

    std::shared_ptr<CountingUserDriver> driver = std::make_shared<CountingUserDriver>();
    std::shared_ptr<updater::SPUUpdater> updater;

private:
    testing_support::TemporaryFolder folder_;
    std::string suite_;
};

} // namespace quoriltest
