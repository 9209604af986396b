#pragma once

#include "updater/SPUUpdater.h"
#include "updater/StandardUserDriver.h"
#include "updater/UpdaterDelegate.h"
#include "updater/UserDriverDelegate.h"

#include <memory>

namespace updater {

// A program's updater over its main bundle, reporting through the standard dialog.
class SPUStandardUpdaterController {
public:
    // With `startingUpdater` the updater starts at once. The delegates are held weakly.
    SPUStandardUpdaterController(bool startingUpdater, std::weak_ptr<UpdaterDelegate> updaterDelegate,
                                 std::weak_ptr<UserDriverDelegate> userDriverDelegate);

    const std::shared_ptr<SPUUpdater>& updater() const { return updater_; }
    const std::shared_ptr<StandardUserDriver>& userDriver() const { return userDriver_; }

    void startUpdater();

private:
    std::shared_ptr<StandardUserDriver> userDriver_;
    std::shared_ptr<SPUUpdater> updater_;
};

} // namespace updater
