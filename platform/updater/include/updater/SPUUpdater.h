#pragma once

#include "foundation/Bundle.h"
#include "foundation/Date.h"
#include "foundation/URL.h"
#include "reactive/AnyPublisher.h"
#include "updater/UpdaterDelegate.h"
#include "updater/UserDriver.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace updater {

// Checks a host bundle's update feed and reports what it found through a user driver.
//
// The feed is the URL in the host's Info.plist under "UpdateFeedURL" (file:, http: or https:).
// A check reads it (at most 1 MiB, 30 seconds), takes the item of the highest version and
// compares it with the host's "CFBundleVersion". When a check finds a newer version while both
// automatic switches are on, the item's enclosure is first saved into
// `$XDG_CACHE_HOME/<suite>/updates/`. Nothing is ever run or installed.
//
// The settings live in the host's suite (the standard suite for the main bundle) under keys of
// their own, so they survive the object. While automatic checks are on, a check runs at the last
// check's date plus the interval (at least an hour), on a timer of the main run loop.
//
// Checks run on the main thread; calls from other threads are passed to it. The settings and
// canCheckForUpdates may be read on any thread.
class SPUUpdater {
public:
    // The checks, downloads and interval of the settings, and the key each is stored under.
    static constexpr const char* automaticallyChecksForUpdatesKey = "UpdaterAutomaticallyChecksForUpdates";
    static constexpr const char* automaticallyDownloadsUpdatesKey = "UpdaterAutomaticallyDownloadsUpdates";
    static constexpr const char* updateCheckIntervalKey = "UpdaterCheckInterval";
    static constexpr const char* lastUpdateCheckDateKey = "UpdaterLastCheckDate";
    static constexpr const char* feedURLKey = "UpdateFeedURL";
    static constexpr foundation::TimeInterval defaultUpdateCheckInterval = 86400;
    static constexpr foundation::TimeInterval minimumUpdateCheckInterval = 3600;
    // How long after start (or a change of settings) an overdue scheduled check waits.
    static constexpr foundation::TimeInterval overdueCheckDelay = 60;

    SPUUpdater(std::shared_ptr<foundation::Bundle> hostBundle, std::shared_ptr<UserDriver> userDriver,
               std::weak_ptr<UpdaterDelegate> delegate = {});
    ~SPUUpdater();
    SPUUpdater(const SPUUpdater&) = delete;
    SPUUpdater& operator=(const SPUUpdater&) = delete;

    // Lets checks happen and schedules the automatic ones. Starting twice does nothing more.
    void startUpdater();

    const std::shared_ptr<foundation::Bundle>& hostBundle() const;
    const std::shared_ptr<UserDriver>& userDriver() const;
    // Absent when Info.plist names none, or names no absolute URL.
    const std::optional<foundation::URL>& feedURL() const;
    // Where downloads are saved.
    std::filesystem::path downloadFolder() const;

    // True while the updater is started, has a feed and runs no check.
    bool canCheckForUpdates() const;
    // The current value at once, then each change, on the thread that changed it (the main one).
    reactive::AnyPublisher<bool> canCheckForUpdatesPublisher() const;
    bool sessionInProgress() const;

    // A check the user asked for: its result is shown, whatever it is. Returns at once; during a
    // check it does nothing more. Without a feed it says that none is configured.
    void checkForUpdates();

    bool automaticallyChecksForUpdates() const;
    void setAutomaticallyChecksForUpdates(bool value);
    bool automaticallyDownloadsUpdates() const;
    void setAutomaticallyDownloadsUpdates(bool value);
    // Seconds. A stored value that is not a finite number above 0 reads as the default, and
    // setting one is refused (and logged).
    foundation::TimeInterval updateCheckInterval() const;
    void setUpdateCheckInterval(foundation::TimeInterval value);
    // When the last check ended, whatever its end; absent before the first.
    std::optional<foundation::Date> lastUpdateCheckDate() const;

private:
    class Core;
    std::shared_ptr<Core> core_;
};

} // namespace updater
