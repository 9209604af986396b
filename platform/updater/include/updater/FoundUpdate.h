#pragma once

#include "foundation/URL.h"
#include "updater/UpdateFeed.h"

#include <filesystem>
#include <optional>
#include <string>

namespace updater {

// A newer version a check found, as the user driver shows it.
struct FoundUpdate {
    std::string applicationName;
    std::string currentVersion;
    FeedItem item;
    // The item's link, only when it is an http or https URL: no other kind is ever opened.
    std::optional<foundation::URL> downloadPage{};
    // Where the enclosure was saved, when it was downloaded.
    std::optional<std::filesystem::path> downloadedFile{};
};

} // namespace updater
