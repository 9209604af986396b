// What the updater tests share: a host bundle of their own with a feed, a user driver that
// records what it was asked to show, a manual clock, and a wait for a check to end.
#pragma once

#include "EventPolling.h"
#include "TemporaryFolder.h"
#include "foundation/Bundle.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/UserDefaults.h"
#include "updater/SPUUpdater.h"
#include "updater/UserDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace updater_testing {

class RecordingUserDriver : public updater::UserDriver {
public:
    void showUpToDate(const std::string& name, const std::string& version) override {
        shown.push_back("up to date: " + name + " " + version);
    }
    void showUpdateFound(const updater::FoundUpdate& update) override {
        shown.push_back("found: " + update.item.version.text());
        found = update;
    }
    void showFeedError(const std::string& description) override {
        shown.push_back("error");
        error = description;
    }
    void showNoFeed(const std::string& name) override { shown.push_back("no feed: " + name); }

    std::vector<std::string> shown;
    std::optional<updater::FoundUpdate> found;
    std::string error;
};

// An RSS item of a version, with more elements inside.
inline std::string item(const std::string& version, const std::string& more = {}) {
    return "<item><version>" + version + "</version>" + more + "</item>";
}

inline std::string feed(const std::vector<std::string>& items) {
    std::string text = "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Updates</title>";
    for (const auto& i : items)
        text += i;
    return text + "</channel></rss>";
}

class UpdaterTest : public testing::Test {
protected:
    // A repeated run starts from no settings again.
    void SetUp() override {
        const auto suite = foundation::UserDefaults::make(suiteName());
        for (const char* key :
             {updater::SPUUpdater::automaticallyChecksForUpdatesKey,
              updater::SPUUpdater::automaticallyDownloadsUpdatesKey,
              updater::SPUUpdater::updateCheckIntervalKey, updater::SPUUpdater::lastUpdateCheckDateKey})
            suite->removeObjectForKey(key);
    }
    void TearDown() override {
        updater_.reset();
        foundation::RunLoop::main().runUntilIdle();
    }

    // A host bundle named Quoril at `version` whose Info.plist names `feedURL` (none when empty).
    std::shared_ptr<foundation::Bundle> hostBundle(const std::string& feedURL,
                                                   const std::string& version = "0.9.2") {
        const auto path = folder_.path() / ("Host" + std::to_string(++bundles_) + ".bundle");
        std::filesystem::create_directories(path);
        std::ofstream(path / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
            << "<key>CFBundleIdentifier</key><string>" << suiteName() << "</string>"
            << "<key>CFBundleName</key><string>Quoril</string>"
            << "<key>CFBundleVersion</key><string>" << version << "</string>"
            << "<key>UpdateFeedURL</key><string>" << feedURL << "</string></dict></plist>";
        return foundation::Bundle::withPath(path);
    }

    // A started updater over a new host bundle.
    updater::SPUUpdater& start(const std::string& feedURL, const std::string& version = "0.9.2") {
        updater_.reset();
        updater_ = std::make_unique<updater::SPUUpdater>(hostBundle(feedURL, version), driver_);
        updater_->startUpdater();
        return *updater_;
    }

    // A feed file in the test's folder, as a file: URL.
    std::string feedFile(const std::string& text, const std::string& name = "feed.xml") {
        std::ofstream(folder_.path() / name, std::ios::binary | std::ios::trunc) << text;
        return "file://" + (folder_.path() / name).string();
    }

    // Runs the main run loop and Qt's events until the check under way ended.
    bool settle() {
        return pollEvents([&] {
            foundation::RunLoop::main().runUntilIdle();
            return !updater_->sessionInProgress();
        });
    }

    // Each test its own suite, so settings of one never reach another.
    std::string suiteName() const {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        return std::string("org.quoril.updater-tests.") + info->test_suite_name() + "." + info->name();
    }

    std::vector<std::string> downloads() const {
        std::vector<std::string> names;
        if (!std::filesystem::exists(updater_->downloadFolder())) return names;
        for (const auto& entry : std::filesystem::directory_iterator(updater_->downloadFolder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    foundation::ScopedManualClock clock_{foundation::Date(800'000'000)};
    testing_support::TemporaryFolder folder_;
    std::shared_ptr<RecordingUserDriver> driver_ = std::make_shared<RecordingUserDriver>();
    std::unique_ptr<updater::SPUUpdater> updater_;
    int bundles_ = 0;
};

} // namespace updater_testing
