#include "ViewKit/ColorCoding.h"

#include <graphics/CGColorSpace.h>

namespace ViewKit::detail {

void encodeColor(nlohmann::json& json, const ui::Color& color) {
    const auto fixed = color.cgColor();
    if (!fixed)
        throw foundation::EncodingError(foundation::EncodingError::Kind::invalidValue,
                                        "Unable to encode the colour " + color.description() +
                                            ", which has no fixed components.");
    const auto srgb =
        fixed->converted(*graphics::CGColorSpace::withName(graphics::kCGColorSpaceExtendedSRGB));
    const auto& c = srgb.components();
    json = nlohmann::json::object();
    json["red"] = c[0];
    json["green"] = c[1];
    json["blue"] = c[2];
    json["alpha"] = c[3];
}

ui::Color decodeColor(const nlohmann::json& json) {
    const auto red = foundation::decodeJSONField<double>(json, "red");
    const auto green = foundation::decodeJSONField<double>(json, "green");
    const auto blue = foundation::decodeJSONField<double>(json, "blue");
    const auto alpha = foundation::decodeJSONField<double>(json, "alpha");
    return ui::Color(ui::Color::RGBColorSpace::sRGB, red, green, blue, alpha);
}

} // namespace ViewKit::detail
