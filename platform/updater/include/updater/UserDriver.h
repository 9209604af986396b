#pragma once

#include "updater/FoundUpdate.h"

#include <string>

namespace updater {

// What the user is told of a check: the one part of the updater a program or test replaces.
// Called on the main thread; each call reports one check that has ended.
class UserDriver {
public:
    virtual ~UserDriver();

    // The running version is the newest.
    virtual void showUpToDate(const std::string& applicationName, const std::string& version) = 0;
    // A newer version is out.
    virtual void showUpdateFound(const FoundUpdate& update) = 0;
    // The feed could not be read or used; `description` says why.
    virtual void showFeedError(const std::string& description) = 0;
    // The program names no update feed.
    virtual void showNoFeed(const std::string& applicationName) = 0;
};

} // namespace updater
