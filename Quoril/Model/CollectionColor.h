#pragma once

#include "foundation/JSONCoding.h"
#include "foundation/RawRepresentable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quoril {

// The colour of a collection. Its raw values are its names; nothing shows it yet.
enum class CollectionColor { red, orange, yellow, green, blue, purple, black, white };

inline constexpr std::array<CollectionColor, 8> allCollectionColors{
    CollectionColor::red,  CollectionColor::orange, CollectionColor::yellow, CollectionColor::green,
    CollectionColor::blue, CollectionColor::purple, CollectionColor::black,  CollectionColor::white};

std::string_view rawValue(CollectionColor color);
// Exact names only: "Red" is no colour.
std::optional<CollectionColor> collectionColorFromRawValue(std::string_view raw);
// Identifiable by its raw value.
inline std::string_view id(CollectionColor color) {
    return rawValue(color);
}

} // namespace quoril

template <> struct foundation::RawRepresentation<quoril::CollectionColor> {
    using RawValue = std::string;
    static RawValue rawValue(const quoril::CollectionColor& color) {
        return std::string(quoril::rawValue(color));
    }
    static std::optional<quoril::CollectionColor> fromRawValue(const RawValue& raw) {
        return quoril::collectionColorFromRawValue(raw);
    }
};

template <> inline constexpr bool foundation::codesByRawValue<quoril::CollectionColor> = true;
