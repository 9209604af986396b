#include "updater/SPUUpdater.h"

#include "UpdaterCore.h"
#include "foundation/Logger.h"

#include <cmath>

namespace updater {

SPUUpdater::SPUUpdater(std::shared_ptr<foundation::Bundle> hostBundle, std::shared_ptr<UserDriver> userDriver,
                       std::weak_ptr<UpdaterDelegate> delegate)
    : core_(std::make_shared<Core>(std::move(hostBundle), std::move(userDriver), std::move(delegate))) {}

SPUUpdater::~SPUUpdater() = default;

void SPUUpdater::startUpdater() {
    core_->onMain([](Core& core) { core.start(); });
}

const std::shared_ptr<foundation::Bundle>& SPUUpdater::hostBundle() const {
    return core_->host;
}

const std::shared_ptr<UserDriver>& SPUUpdater::userDriver() const {
    return core_->driver;
}

const std::optional<foundation::URL>& SPUUpdater::feedURL() const {
    return core_->feed;
}

std::filesystem::path SPUUpdater::downloadFolder() const {
    return core_->downloadFolder();
}

bool SPUUpdater::canCheckForUpdates() const {
    return core_->canCheck.value();
}

reactive::AnyPublisher<bool> SPUUpdater::canCheckForUpdatesPublisher() const {
    return core_->canCheck.eraseToAnyPublisher();
}

bool SPUUpdater::sessionInProgress() const {
    return core_->inCheck;
}

void SPUUpdater::checkForUpdates() {
    core_->onMain([](Core& core) { core.check(Core::Kind::user); });
}

bool SPUUpdater::automaticallyChecksForUpdates() const {
    return core_->automaticallyChecks();
}

void SPUUpdater::setAutomaticallyChecksForUpdates(bool value) {
    core_->defaults->setObject(foundation::PropertyList(value), automaticallyChecksForUpdatesKey);
    core_->onMain([](Core& core) { core.reschedule(); });
}

bool SPUUpdater::automaticallyDownloadsUpdates() const {
    return core_->automaticallyDownloads();
}

void SPUUpdater::setAutomaticallyDownloadsUpdates(bool value) {
    core_->defaults->setObject(foundation::PropertyList(value), automaticallyDownloadsUpdatesKey);
}

foundation::TimeInterval SPUUpdater::updateCheckInterval() const {
    return core_->interval();
}

void SPUUpdater::setUpdateCheckInterval(foundation::TimeInterval value) {
    if (!std::isfinite(value) || value <= 0) {
        static const foundation::Logger log("org.quoril.updater", "settings");
        log.error("An update check interval of {} seconds was refused: it must be a finite number above 0",
                  value);
        return;
    }
    core_->defaults->setObject(foundation::PropertyList(value), updateCheckIntervalKey);
    core_->onMain([](Core& core) { core.reschedule(); });
}

std::optional<foundation::Date> SPUUpdater::lastUpdateCheckDate() const {
    return core_->lastCheck();
}

} // namespace updater
