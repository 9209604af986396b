#include "graphics/NSColor.h"

#include <foundation/KeyedArchiver.h>
#include <foundation/KeyedUnarchiver.h>

#include <fmt/format.h>

#include <array>

namespace graphics {

namespace {

struct SystemColor {
    std::string_view name;
    CGFloat red, green, blue, alpha;
};

// The dark appearance's values, which is what the goal list uses.
constexpr std::array<SystemColor, 22> systemColors = {{
    {"labelColor", 1, 1, 1, 0.85},
    {"secondaryLabelColor", 1, 1, 1, 0.55},
    {"tertiaryLabelColor", 1, 1, 1, 0.25},
    {"textColor", 1, 1, 1, 1},
    {"textBackgroundColor", 0.118, 0.118, 0.118, 1},
    {"windowBackgroundColor", 0.196, 0.196, 0.196, 1},
    {"controlColor", 1, 1, 1, 0.25},
    {"controlAccentColor", 0.039, 0.518, 1, 1},
    {"separatorColor", 1, 1, 1, 0.1},
    {"systemRedColor", 1, 0.271, 0.227, 1},
    {"systemYellowColor", 1, 0.839, 0.039, 1},
    {"systemGreenColor", 0.196, 0.843, 0.294, 1},
    {"systemOrangeColor", 1, 0.624, 0.141, 1},
    {"systemMintColor", 0.392, 0.898, 0.851, 1},
    {"systemTealColor", 0.353, 0.769, 0.851, 1},
    {"systemCyanColor", 0.4, 0.8, 1, 1},
    {"systemBlueColor", 0.039, 0.518, 1, 1},
    {"systemIndigoColor", 0.451, 0.439, 0.949, 1},
    {"systemPurpleColor", 0.761, 0.4, 0.949, 1},
    {"systemPinkColor", 1, 0.302, 0.502, 1},
    {"systemBrownColor", 0.678, 0.557, 0.427, 1},
    {"systemGrayColor", 0.584, 0.584, 0.612, 1},
}};

const SystemColor* findSystemColor(std::string_view name) {
    for (const auto& color : systemColors)
        if (color.name == name) return &color;
    return nullptr;
}

} // namespace

NSColor NSColor::withCGColor(const CGColor& color) {
    NSColor result;
    result.cgColor_ = color;
    return result;
}

NSColor NSColor::sRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return withCGColor(CGColor::sRGB(red, green, blue, alpha));
}

std::optional<NSColor> NSColor::systemColor(std::string_view name) {
    if (!findSystemColor(name)) return std::nullopt;
    NSColor result;
    result.name_ = std::string(name);
    return result;
}

CGColor NSColor::resolved() const {
    if (cgColor_) return *cgColor_;
    const SystemColor* color = findSystemColor(name_);
    return color ? CGColor::sRGB(color->red, color->green, color->blue, color->alpha) : CGColor::sRGB(0, 0, 0, 1);
}

void NSColor::encode(foundation::KeyedArchiver& archiver) const {
    if (!cgColor_) {
        archiver.encodeString("name", name_);
        return;
    }
    archiver.encodeString("colorSpace", std::string(cgColor_->colorSpace().name()));
    archiver.encodeDoubleArray("components", cgColor_->components());
}

std::shared_ptr<NSColor> NSColor::decode(foundation::KeyedUnarchiver& unarchiver) {
    if (auto name = unarchiver.decodeString("name")) {
        auto color = systemColor(*name);
        if (!color) {
            unarchiver.failWithError(fmt::format("There is no system colour named '{}'.", *name));
            return nullptr;
        }
        return std::make_shared<NSColor>(*color);
    }
    const auto spaceName = unarchiver.decodeString("colorSpace");
    const auto components = unarchiver.decodeDoubleArray("components");
    if (!spaceName || !components) return nullptr;
    const auto space = CGColorSpace::withName(*spaceName);
    if (!space) {
        unarchiver.failWithError(fmt::format("There is no colour space named '{}'.", *spaceName));
        return nullptr;
    }
    const auto color = CGColor::create(*space, *components);
    if (!color) {
        unarchiver.failWithError(
            fmt::format("The components do not fit the colour space '{}': it takes {} plus alpha, all finite.",
                        *spaceName, space->numberOfComponents()));
        return nullptr;
    }
    return std::make_shared<NSColor>(withCGColor(*color));
}

} // namespace graphics
