#include "ui/Color.h"

#include "painting/RecentFew.h"

#include "ColorStorage.h"
#include "ColorSystemTable.h"
#include "ui/NamedColor.h"
#include "ui/StyleContext.h"

#include <foundation/Bundle.h>
#include <foundation/JSONCoding.h>
#include <graphics/CGColorSpace.h>

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace ui {

using graphics::CGColor;
using graphics::CGColorSpace;
using graphics::CGFloat;

namespace {

CGColorSpace spaceNamed(std::string_view name) {
    // Only names of graphics' own table reach here.
    return *CGColorSpace::withName(name);
}

std::string_view spaceName(Color::RGBColorSpace space) {
    switch (space) {
    case Color::RGBColorSpace::sRGBLinear:
        return graphics::kCGColorSpaceLinearSRGB;
    case Color::RGBColorSpace::displayP3:
        return graphics::kCGColorSpaceDisplayP3;
    case Color::RGBColorSpace::sRGB:
        break;
    }
    return graphics::kCGColorSpaceSRGB;
}

// Every RGBColorSpace is bounded: clamp to [0, 1], NaN to 0.
double unitComponent(double value) {
    if (std::isnan(value)) return 0;
    return std::clamp(value, 0.0, 1.0);
}

Color::Resolved resolvedFrom(const CGColor& color) {
    const CGColor linear = color.converted(spaceNamed(graphics::kCGColorSpaceExtendedLinearSRGB));
    const auto& c = linear.components();
    // Extended values can exceed what a float holds; keep them finite.
    const auto narrow = [](CGFloat v) {
        constexpr double max = std::numeric_limits<float>::max();
        return float(std::clamp(v, -max, max));
    };
    Color::Resolved result;
    result.linearRed = narrow(c[0]);
    result.linearGreen = narrow(c[1]);
    result.linearBlue = narrow(c[2]);
    result.opacity = float(c[3]);
    return result;
}

Color::Resolved resolvedFrom(const detail::SystemColorValue& v) {
    return Color::Resolved(Color::RGBColorSpace::sRGB, float(v.red), float(v.green), float(v.blue),
                           float(v.opacity));
}

Color::Resolved withOpacity(Color::Resolved resolved, CGFloat opacity) {
    resolved.opacity = float(std::clamp(double(resolved.opacity), 0.0, 1.0) * opacity);
    return resolved;
}

std::string number(double value) {
    return fmt::format("{:g}", value);
}

const detail::SystemColor* systemColorNamed(std::string_view nsColorName) {
    for (const auto& entry : detail::systemColorTable)
        if (entry.nsColorName == nsColorName) return &entry;
    return nullptr;
}

} // namespace

// Constant-initialised, so other libraries' static objects may use them.
constinit const Color Color::red{Kind::system, detail::systemColorIndex("systemRedColor")};
constinit const Color Color::orange{Kind::system, detail::systemColorIndex("systemOrangeColor")};
constinit const Color Color::yellow{Kind::system, detail::systemColorIndex("systemYellowColor")};
constinit const Color Color::green{Kind::system, detail::systemColorIndex("systemGreenColor")};
constinit const Color Color::mint{Kind::system, detail::systemColorIndex("systemMintColor")};
constinit const Color Color::teal{Kind::system, detail::systemColorIndex("systemTealColor")};
constinit const Color Color::cyan{Kind::system, detail::systemColorIndex("systemCyanColor")};
constinit const Color Color::blue{Kind::system, detail::systemColorIndex("systemBlueColor")};
constinit const Color Color::indigo{Kind::system, detail::systemColorIndex("systemIndigoColor")};
constinit const Color Color::purple{Kind::system, detail::systemColorIndex("systemPurpleColor")};
constinit const Color Color::pink{Kind::system, detail::systemColorIndex("systemPinkColor")};
constinit const Color Color::brown{Kind::system, detail::systemColorIndex("systemBrownColor")};
constinit const Color Color::gray{Kind::system, detail::systemColorIndex("systemGrayColor")};
constinit const Color Color::primary{Kind::system, detail::systemColorIndex("labelColor")};
constinit const Color Color::secondary{Kind::system, detail::systemColorIndex("secondaryLabelColor")};
constinit const Color Color::black{graphics::kCGColorSpaceSRGB, 0, 0, 0, 1};
constinit const Color Color::white{graphics::kCGColorSpaceSRGB, 1, 1, 1, 1};
constinit const Color Color::clear{graphics::kCGColorSpaceSRGB, 0, 0, 0, 0};
constinit const Color Color::accentColor{Kind::accent, detail::accentColorIndex};

// Resolved

Color::Resolved::Resolved(RGBColorSpace colorSpace, float red, float green, float blue, float opacity) {
    const std::vector<CGFloat> components{unitComponent(red), unitComponent(green), unitComponent(blue),
                                          unitComponent(opacity)};
    *this = resolvedFrom(*CGColor::create(spaceNamed(spaceName(colorSpace)), components));
}

graphics::CGColor Color::Resolved::cgColor() const {
    const std::vector<CGFloat> components{linearRed, linearGreen, linearBlue,
                                          std::clamp(opacity, 0.0f, 1.0f)};
    const auto color = CGColor::create(spaceNamed(graphics::kCGColorSpaceExtendedLinearSRGB), components);
    return color ? *color : CGColor::sRGB(0, 0, 0, 0);
}

float Color::Resolved::red() const {
    return float(cgColor().converted(spaceNamed(graphics::kCGColorSpaceExtendedSRGB)).components()[0]);
}

float Color::Resolved::green() const {
    return float(cgColor().converted(spaceNamed(graphics::kCGColorSpaceExtendedSRGB)).components()[1]);
}

float Color::Resolved::blue() const {
    return float(cgColor().converted(spaceNamed(graphics::kCGColorSpaceExtendedSRGB)).components()[2]);
}

QColor Color::Resolved::toQColor() const {
    // Drawings fill with a few colours many times over; their conversions to display sRGB are kept.
    thread_local detail::RecentFew<std::array<float, 4>, QColor, 8> recent;
    const std::array<float, 4> key{linearRed, linearGreen, linearBlue, opacity};
    if (const auto* found = recent.find(key)) return *found;
    return recent.insert(key, cgColor().toQColor());
}

void to_json(nlohmann::json& json, const Color::Resolved& resolved) {
    json = nlohmann::json{{"linearRed", resolved.linearRed},
                          {"linearGreen", resolved.linearGreen},
                          {"linearBlue", resolved.linearBlue},
                          {"opacity", resolved.opacity}};
}

void from_json(const nlohmann::json& json, Color::Resolved& resolved) {
    resolved.linearRed = foundation::decodeJSONField<float>(json, "linearRed");
    resolved.linearGreen = foundation::decodeJSONField<float>(json, "linearGreen");
    resolved.linearBlue = foundation::decodeJSONField<float>(json, "linearBlue");
    resolved.opacity = foundation::decodeJSONField<float>(json, "opacity");
}

// Making colours

Color::Color(RGBColorSpace colorSpace, double red, double green, double blue, double opacity)
    : space_(spaceName(colorSpace))
    , values_{unitComponent(red), unitComponent(green), unitComponent(blue), unitComponent(opacity)} {}

Color::Color(double red, double green, double blue, double opacity)
    : Color(RGBColorSpace::sRGB, red, green, blue, opacity) {}

Color::Color(RGBColorSpace colorSpace, double white, double opacity)
    : Color(colorSpace, white, white, white, opacity) {}

Color::Color(const graphics::CGColor& color) {
    *this = fromCGColor(color);
}

Color::Color(const graphics::NSColor& color) {
    if (const auto& cg = color.cgColor()) {
        *this = fromCGColor(*cg);
        return;
    }
    const auto* entry = systemColorNamed(color.systemColorName());
    if (!entry) {
        // A system colour this table lacks draws as NSColor draws it.
        *this = fromCGColor(color.resolved());
        return;
    }
    const auto index = std::uint8_t(entry - detail::systemColorTable.data());
    if (index == detail::accentColorIndex) {
        kind_ = Kind::accent;
        return;
    }
    kind_ = Kind::system;
    system_ = index;
}

Color::Color(const Resolved& resolved)
    : space_(graphics::kCGColorSpaceExtendedLinearSRGB)
    , values_{resolved.linearRed, resolved.linearGreen, resolved.linearBlue,
              unitComponent(resolved.opacity)} {
    for (std::size_t i = 0; i < 3; ++i)
        if (!std::isfinite(values_[i])) values_[i] = 0;
}

Color::Color(std::string_view name, const std::shared_ptr<foundation::Bundle>& bundle) {
    const auto& source = bundle ? *bundle : *foundation::Bundle::main();
    const auto table = NamedColorTable::forBundle(source);
    detail::NamedColorValue value{std::string(name), table->path().string(), std::nullopt, std::nullopt};
    if (const auto* entry = table->find(name)) {
        value.light = entry->light;
        value.dark = entry->dark;
    }
    kind_ = Kind::named;
    storage_ = std::make_shared<const detail::ColorStorage>(detail::ColorStorage{std::move(value)});
}

Color Color::fromCGColor(const graphics::CGColor& color) {
    Color result;
    const auto& components = color.components();
    if (components.size() > result.values_.size()) {
        // No known space has more than three components; keep the colour through sRGB.
        return fromCGColor(color.converted(spaceNamed(graphics::kCGColorSpaceExtendedSRGB)));
    }
    result.space_ = color.colorSpace().name();
    result.count_ = std::uint8_t(components.size() - 1);
    std::copy(components.begin(), components.end(), result.values_.begin());
    return result;
}

// Operations

Color Color::opacity(double opacity) const {
    const double factor = unitComponent(opacity);
    Color result = *this;
    if (isFixed()) {
        result.values_[count_] *= factor;
    } else {
        result.opacity_ *= factor;
    }
    return result;
}

Color Color::mix(const Color& other, double fraction, GradientColorSpace colorSpace) const {
    const double t = unitComponent(fraction);
    if (isFixed() && other.isFixed()) {
        const StyleContext anyContext;
        return Color(detail::mixResolved(resolve(anyContext), other.resolve(anyContext), t, colorSpace));
    }
    Color result;
    result.kind_ = Kind::mix;
    result.storage_ = std::make_shared<const detail::ColorStorage>(
        detail::ColorStorage{detail::MixedColorValue{*this, other, t, colorSpace}});
    return result;
}

graphics::CGColor Color::makeCGColor() const {
    const std::span<const CGFloat> components(values_.data(), std::size_t(count_) + 1);
    const auto color = CGColor::create(spaceNamed(space_), components);
    return color ? *color : CGColor::sRGB(0, 0, 0, 0);
}

Color::Resolved Color::resolve(const StyleContext& context) const {
    const bool dark = context.colorScheme == ColorScheme::dark;
    switch (kind_) {
    case Kind::components: {
        // A frame fills with a few colours many times over; their conversions are kept.
        struct Key {
            std::string_view space;
            std::uint8_t count = 0;
            std::array<graphics::CGFloat, 4> values{};
            bool operator==(const Key& other) const {
                return space == other.space && count == other.count &&
                       std::memcmp(values.data(), other.values.data(), sizeof values) == 0;
            }
        };
        thread_local detail::RecentFew<Key, Resolved, 8> recent;
        const Key key{space_, count_, values_};
        if (const auto* found = recent.find(key)) return *found;
        return recent.insert(key, resolvedFrom(makeCGColor()));
    }
    case Kind::system: {
        const auto& entry = detail::systemColorTable[system_];
        return withOpacity(resolvedFrom(dark ? entry.dark : entry.light), opacity_);
    }
    case Kind::accent: {
        if (context.accentColor) {
            StyleContext inner = context;
            inner.accentColor.reset();
            return withOpacity(context.accentColor->resolve(inner), opacity_);
        }
        const auto& entry = detail::systemColorTable[detail::accentColorIndex];
        return withOpacity(resolvedFrom(dark ? entry.dark : entry.light), opacity_);
    }
    case Kind::named: {
        const auto& named = std::get<detail::NamedColorValue>(storage_->value);
        const auto& value = dark ? named.dark : named.light;
        return value ? withOpacity(*value, opacity_) : Resolved();
    }
    case Kind::mix: {
        const auto& mixed = std::get<detail::MixedColorValue>(storage_->value);
        return withOpacity(detail::mixResolved(mixed.from.resolve(context), mixed.to.resolve(context),
                                               mixed.fraction, mixed.colorSpace),
                           opacity_);
    }
    }
    return Resolved();
}

std::optional<graphics::CGColor> Color::cgColor() const {
    if (!isFixed()) return std::nullopt;
    return makeCGColor();
}

std::optional<graphics::NSColor> Color::nsColor() const {
    if (isFixed()) return graphics::NSColor::withCGColor(makeCGColor());
    if (opacity_ != 1) return std::nullopt;
    if (kind_ == Kind::system)
        return graphics::NSColor::systemColor(detail::systemColorTable[system_].nsColorName);
    if (kind_ == Kind::accent)
        return graphics::NSColor::systemColor(detail::systemColorTable[detail::accentColorIndex].nsColorName);
    return std::nullopt;
}

QBrush Color::brush(const StyleContext& context, const QRectF&) const {
    QColor color = resolve(context).toQColor();
    color.setAlphaF(color.alphaF() * float(unitComponent(context.opacity)));
    return QBrush(color);
}

bool Color::operator==(const Color& other) const {
    if (kind_ != other.kind_) return false;
    switch (kind_) {
    case Kind::components:
        return count_ == other.count_ && space_ == other.space_ && values_ == other.values_;
    case Kind::system:
        return system_ == other.system_ && opacity_ == other.opacity_;
    case Kind::accent:
        return opacity_ == other.opacity_;
    case Kind::named:
    case Kind::mix:
        return opacity_ == other.opacity_ &&
               (storage_ == other.storage_ || storage_->value == other.storage_->value);
    }
    return false;
}

std::string Color::description() const {
    std::string text;
    switch (kind_) {
    case Kind::components: {
        if (*this == black) return "black";
        if (*this == white) return "white";
        if (*this == clear) return "clear";
        text = fmt::format("{}(", space_);
        for (std::size_t i = 0; i <= count_; ++i)
            text += (i ? ", " : "") + number(values_[i]);
        return text + ")";
    }
    case Kind::system:
        text = detail::systemColorTable[system_].name;
        break;
    case Kind::accent:
        text = "accentColor";
        break;
    case Kind::named:
        text = fmt::format("Color(\"{}\")", std::get<detail::NamedColorValue>(storage_->value).name);
        break;
    case Kind::mix: {
        const auto& mixed = std::get<detail::MixedColorValue>(storage_->value);
        text = fmt::format("{}.mix({}, {}, {})", mixed.from.description(), mixed.to.description(),
                           number(mixed.fraction),
                           mixed.colorSpace == GradientColorSpace::perceptual ? "perceptual" : "device");
        break;
    }
    }
    if (opacity_ != 1) text += fmt::format(".opacity({})", number(opacity_));
    return text;
}

} // namespace ui
