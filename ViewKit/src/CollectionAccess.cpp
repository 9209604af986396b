#include "ViewKit/CollectionAccess.h"

#include "foundation/GraphemeClusters.h"

namespace ViewKit {

namespace detail {

std::string textSlice(std::string_view text, std::size_t begin, std::size_t end) {
    foundation::GraphemeClusterIterator clusters(text);
    std::size_t offset = 0;
    std::size_t start = text.size();
    for (std::size_t i = 0; i < end; ++i) {
        if (i == begin) start = offset;
        const auto cluster = clusters.next();
        if (!cluster) break;
        offset += cluster->size();
    }
    if (begin >= end) return {};
    return std::string(text.substr(start, offset - start));
}

std::size_t characterCount(std::string_view text) {
    return foundation::graphemeClusterCount(text);
}

} // namespace detail

std::optional<std::string> element(std::string_view text, std::size_t position) {
    foundation::GraphemeClusterIterator clusters(text);
    for (std::size_t i = 0;; ++i) {
        const auto cluster = clusters.next();
        if (!cluster) return std::nullopt;
        if (i == position) return std::string(*cluster);
    }
}

} // namespace ViewKit
