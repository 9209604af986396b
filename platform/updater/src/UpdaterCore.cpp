#include "UpdaterCore.h"

#include "DownloadFileName.h"
#include "foundation/Logger.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "foundation/UserFolders.h"

#include <QCoreApplication>

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace updater {

namespace {

constexpr std::int64_t largestFeed = 1024 * 1024;
constexpr double feedTimeout = 30;

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.updater", "check");
    return log;
}

std::shared_ptr<foundation::UserDefaults> suiteOf(const foundation::Bundle& host) {
    if (&host == foundation::Bundle::main().get() || !host.bundleIdentifier())
        return foundation::UserDefaults::standard();
    if (auto suite = foundation::UserDefaults::make(*host.bundleIdentifier())) return suite;
    return foundation::UserDefaults::standard();
}

std::optional<foundation::URL> feedOf(const foundation::Bundle& host) {
    const auto* text = host.objectForInfoDictionaryKey(SPUUpdater::feedURLKey).string();
    if (!text || text->empty()) return std::nullopt;
    auto url = foundation::URL::fromString(*text);
    if (!url) logger().error("The update feed \"{}\" is no absolute URL; no check is possible", *text);
    return url;
}

std::string infoText(const foundation::Bundle& bundle, std::string_view key) {
    const auto* text = bundle.objectForInfoDictionaryKey(key).string();
    return text ? *text : std::string();
}

bool isHttp(const std::string& scheme) {
    return scheme == "http" || scheme == "https";
}

} // namespace

SPUUpdater::Core::Core(std::shared_ptr<foundation::Bundle> hostBundle, std::shared_ptr<UserDriver> userDriver,
                       std::weak_ptr<UpdaterDelegate> updaterDelegate)
    : host(hostBundle ? std::move(hostBundle) : foundation::Bundle::main())
    , driver(std::move(userDriver))
    , delegate(std::move(updaterDelegate))
    , defaults(suiteOf(*host))
    , feed(feedOf(*host)) {}

SPUUpdater::Core::~Core() {
    if (timer_) timer_->invalidate();
    download_.reset();
    transfer_.reset();
}

void SPUUpdater::Core::onMain(std::function<void(Core&)> work) {
    if (foundation::isMainThread()) return work(*this);
    foundation::RunLoop::main().perform([weak = weak_from_this(), work = std::move(work)] {
        if (auto self = weak.lock()) work(*self);
    });
}

// Settings

bool SPUUpdater::Core::automaticallyChecks() const {
    return defaults->objectForKey(automaticallyChecksForUpdatesKey).boolValue().value_or(false);
}

bool SPUUpdater::Core::automaticallyDownloads() const {
    return defaults->objectForKey(automaticallyDownloadsUpdatesKey).boolValue().value_or(false);
}

foundation::TimeInterval SPUUpdater::Core::interval() const {
    const auto stored = defaults->objectForKey(updateCheckIntervalKey).number<double>();
    if (!stored || !std::isfinite(*stored) || *stored <= 0) return defaultUpdateCheckInterval;
    return *stored;
}

std::optional<foundation::Date> SPUUpdater::Core::lastCheck() const {
    return defaults->objectForKey(lastUpdateCheckDateKey).date();
}

std::filesystem::path SPUUpdater::Core::downloadFolder() const {
    const std::string cache = foundation::cacheFolder();
    if (cache.empty()) return {};
    return std::filesystem::path(cache) / defaults->suiteName() / "updates";
}

std::string SPUUpdater::Core::applicationName() const {
    for (const char* key : {"CFBundleName", "CFBundleDisplayName"})
        if (auto name = infoText(*host, key); !name.empty()) return name;
    if (host->bundleIdentifier()) return *host->bundleIdentifier();
    return foundation::Bundle::programPath().filename().string();
}

std::string SPUUpdater::Core::displayedVersion() const {
    if (auto version = infoText(*host, "CFBundleShortVersionString"); !version.empty()) return version;
    return infoText(*host, "CFBundleVersion");
}

// Checks

void SPUUpdater::Core::start() {
    if (started.exchange(true)) return;
    publishCanCheck();
    reschedule();
}

void SPUUpdater::Core::check(Kind kind) {
    if (!started) {
        logger().notice("A check for updates was asked of an updater that is not started");
        return;
    }
    if (inCheck) {
        // No second check; the one under way now shows its result, whatever it is.
        if (kind == Kind::user) kind_ = Kind::user;
        return;
    }
    if (!feed) {
        if (kind == Kind::user && driver) driver->showNoFeed(applicationName());
        return;
    }
    inCheck = true;
    kind_ = kind;
    publishCanCheck();
    if (timer_) timer_->invalidate();
    timer_.reset();
    feedData_.clear();
    transfer_ = Transfer::start(
        network(), *feed, TransferLimits{.maxBytes = largestFeed, .timeout = feedTimeout},
        [this](QByteArrayView piece) -> std::optional<std::string> {
            feedData_.append(piece);
            return std::nullopt;
        },
        [this](std::optional<std::string> error) { feedRead(std::move(error)); });
}

void SPUUpdater::Core::feedRead(std::optional<std::string> error) {
    if (error) return finish({}, false, std::move(error));
    UpdateFeed parsed;
    try {
        parsed = UpdateFeed::parse(std::string_view(feedData_.constData(), std::size_t(feedData_.size())));
    } catch (const FeedError& fault) {
        return finish({}, false, fault.what());
    }
    feedData_.clear();
    const std::string running = infoText(*host, "CFBundleVersion");
    const auto current = Version::parse(running);
    if (!current)
        return finish({}, false,
                      fmt::format("The version of {}, \"{}\", is not a dot-separated number, so no feed "
                                  "version can be compared with it.",
                                  applicationName(), running));
    const FeedItem* newest = parsed.newestItem();
    if (!newest || !(newest->version > *current)) {
        return finish([name = applicationName(), version = displayedVersion()](
                          UserDriver& driver) { driver.showUpToDate(name, version); },
                      false);
    }
    FoundUpdate update{applicationName(), displayedVersion(), *newest, std::nullopt, std::nullopt};
    // Only a web page is ever opened: a javascript:, file: or other link is not offered.
    if (auto link = foundation::URL::fromString(newest->link); link && isHttp(link->scheme()))
        update.downloadPage = *link;
    offer(std::move(update), newest->enclosure ? &*newest->enclosure : nullptr);
}

void SPUUpdater::Core::offer(FoundUpdate update, const FeedEnclosure* enclosure) {
    const auto show = [](FoundUpdate shown) {
        return [shown = std::move(shown)](UserDriver& driver) { driver.showUpdateFound(shown); };
    };
    if (!enclosure || !automaticallyChecks() || !automaticallyDownloads()) return finish(show(update), true);
    const auto folder = downloadFolder();
    if (folder.empty()) {
        logger().error(
            "The update was not downloaded: there is no cache folder (neither XDG_CACHE_HOME nor HOME)");
        return finish(show(update), true);
    }
    // A feed from the web never names a file on this machine.
    const bool allowsFiles = feed->isFileURL();
    download_ = std::make_unique<EnclosureDownload>(
        network(), *enclosure, folder, downloadFileName(enclosure->url, update.item.version), allowsFiles,
        [this, show, update](std::optional<std::filesystem::path> file,
                             std::optional<std::string> error) mutable {
            if (error) logger().error("The update was not downloaded: {}", *error);
            update.downloadedFile = std::move(file);
            finish(show(std::move(update)), true);
        });
}

void SPUUpdater::Core::finish(Report report, bool newer, std::optional<std::string> error) {
    // The transfer or download that called this is released on a later turn, after it returned.
    foundation::RunLoop::main().perform(
        [transfer = std::move(transfer_),
         download = std::shared_ptr<EnclosureDownload>(std::move(download_))] {});
    defaults->setObject(foundation::PropertyList(foundation::Date::now()), lastUpdateCheckDateKey);
    inCheck = false;
    publishCanCheck();
    reschedule();
    if (error) {
        if (kind_ == Kind::user && driver) return driver->showFeedError(*error);
        logger().error("The scheduled check for updates failed: {}", *error);
        return;
    }
    // A scheduled check speaks only of a newer version.
    if ((kind_ == Kind::user || newer) && driver && report) report(*driver);
}

// Scheduling

void SPUUpdater::Core::reschedule() {
    if (timer_) timer_->invalidate();
    timer_.reset();
    if (!started || !feed || inCheck || !automaticallyChecks()) return;
    const double every = std::max(interval(), minimumUpdateCheckInterval);
    double delay = overdueCheckDelay;
    if (const auto last = lastCheck()) {
        delay = (*last + every).timeIntervalSinceNow();
        if (delay <= 0) delay = overdueCheckDelay;
        // A clock set back before the last check waits no longer than one interval.
        delay = std::min(delay, every);
    }
    timer_ = foundation::Timer::scheduledTimer(delay, false, [weak = weak_from_this()](foundation::Timer&) {
        if (auto self = weak.lock()) self->scheduledCheckDue();
    });
}

void SPUUpdater::Core::scheduledCheckDue() {
    timer_.reset();
    if (!started || !feed || inCheck || !automaticallyChecks()) return;
    const double every = std::max(interval(), minimumUpdateCheckInterval);
    // A timer runs on uptime; the wall clock may have been set back meanwhile.
    if (const auto last = lastCheck(); last && (*last + every).timeIntervalSinceNow() > 1)
        return reschedule();
    check(Kind::scheduled);
}

void SPUUpdater::Core::publishCanCheck() {
    const bool value = started && feed && !inCheck;
    if (canCheck.value() != value) canCheck.send(value);
}

HttpTransport* SPUUpdater::Core::network() {
    if (networkTried_ || !QCoreApplication::instance()) return network_.get();
    networkTried_ = true;
    std::string error;
    network_ = makeHttpTransport(error);
    // Checks then fail with this sentence; file: feeds still work.
    if (!network_) logger().error("{}", error);
    return network_.get();
}

} // namespace updater
