#pragma once

#include "foundation/CodingError.h"
#include "foundation/JSONCoding.h"
#include "ui/Color.h"

#include <nlohmann/json.hpp>

// Colours code to JSON as an object of four numbers, "red", "green", "blue" and "alpha": the
// colour in sRGB, extended (a wide-gamut colour keeps components outside 0…1). A colour without
// fixed components (primary, the system and accent colours, named colours, mixes of them)
// cannot be encoded: that is an EncodingError (invalidValue). Decoding needs all four numbers
// (keyNotFound, typeMismatch otherwise) and makes an sRGB colour, clamped to 0…1.
namespace ViewKit::detail {

void encodeColor(nlohmann::json& json, const ui::Color& color);
ui::Color decodeColor(const nlohmann::json& json);

} // namespace ViewKit::detail

NLOHMANN_JSON_NAMESPACE_BEGIN

template <> struct adl_serializer<ui::Color> {
    static void to_json(json& out, const ui::Color& color) { ViewKit::detail::encodeColor(out, color); }
    static ui::Color from_json(const json& in) { return ViewKit::detail::decodeColor(in); }
};

NLOHMANN_JSON_NAMESPACE_END
