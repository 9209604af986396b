#pragma once

#include "foundation/Date.h"
#include "foundation/URL.h"
#include "updater/Version.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace updater {

// A feed that cannot be used: not XML, not RSS. The message is a sentence for the user.
class FeedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file an item offers (`<enclosure url length type>`).
struct FeedEnclosure {
    foundation::URL url;
    std::optional<std::uint64_t> length{}; // bytes; absent when missing or not a number
    std::string type{};
};

// One `<item>` of the feed.
struct FeedItem {
    Version version;
    std::string title{};
    std::optional<foundation::Date> publicationDate{}; // `<pubDate>` in RFC 2822 form
    std::string notes{};                               // `<description>`, shown as plain text
    std::string link{};                                // `<link>` as written: the download page
    std::optional<FeedEnclosure> enclosure{};          // absent when its url is no absolute URL
};

// The update feed: RSS 2.0 (`<rss><channel><item>…`), each item naming its version in
// `<version>`. Elements in a namespace and unknown elements are skipped.
struct UpdateFeed {
    // Only the items whose `<version>` is a Version, in feed order.
    std::vector<FeedItem> items;

    // Throws FeedError when the text is not well-formed XML or not an RSS channel.
    static UpdateFeed parse(std::string_view xml);

    // The item of the highest version (the first of equal ones); nullptr without items.
    const FeedItem* newestItem() const;
};

} // namespace updater
