// The update feed's parser: any bytes give a feed or a FeedError, never a crash or another
// exception. Every item kept has a version that reads back the same, and the newest item is at
// least as new as every other.
#include "updater/UpdateFeed.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    updater::UpdateFeed feed;
    try {
        feed = updater::UpdateFeed::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const updater::FeedError&) {
        return 0;
    }
    const updater::FeedItem* newest = feed.newestItem();
    if (feed.items.empty() != (newest == nullptr)) std::abort();
    for (const auto& item : feed.items) {
        const auto again = updater::Version::parse(item.version.text());
        if (!again || *again != item.version) std::abort();
        if (item.version > newest->version) std::abort();
    }
    return 0;
}
