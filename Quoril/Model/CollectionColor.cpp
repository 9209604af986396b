#include "Model/CollectionColor.h"

namespace quoril {

namespace {
constexpr std::array<std::string_view, 8> names{"red",  "orange", "yellow", "green",
                                                "blue", "purple", "black",  "white"};
}

std::string_view rawValue(CollectionColor color) {
    return names[static_cast<std::size_t>(color)];
}

std::optional<CollectionColor> collectionColorFromRawValue(std::string_view raw) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == raw) return allCollectionColors[i];
    return std::nullopt;
}

} // namespace quoril
