#include "updater/SPUStandardUpdaterController.h"

namespace updater {

SPUStandardUpdaterController::SPUStandardUpdaterController(
    bool startingUpdater, std::weak_ptr<UpdaterDelegate> updaterDelegate,
    std::weak_ptr<UserDriverDelegate> userDriverDelegate)
    : userDriver_(std::make_shared<StandardUserDriver>(std::move(userDriverDelegate)))
    , updater_(
          std::make_shared<SPUUpdater>(foundation::Bundle::main(), userDriver_, std::move(updaterDelegate))) {
    if (startingUpdater) startUpdater();
}

void SPUStandardUpdaterController::startUpdater() {
    updater_->startUpdater();
}

} // namespace updater
