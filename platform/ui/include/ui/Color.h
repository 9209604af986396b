#pragma once

#include "ui/GradientColorSpace.h"

#include <graphics/CGColor.h>
#include <graphics/CGFloat.h>
#include <graphics/NSColor.h>

#include <nlohmann/json_fwd.hpp>

#include <QBrush>
#include <QColor>
#include <QRectF>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {
class Bundle;
}

namespace ui {

struct StyleContext;

namespace detail {
struct ColorStorage;
}

// A colour as views use it: cheap to copy, compared by what it is made of.
//
// A colour has fixed components in a colour space (the sRGB constructors, black, white, clear,
// colours from a CGColor), or it is dynamic and becomes components only when resolved in a
// StyleContext: the system colours (their light and dark values are in one table in
// src/ColorSystemTable.h), the accent colour, named colours from a bundle's colour table, and
// opacity or mixes of those. Only fixed colours have a CGColor.
class Color {
public:
    enum class RGBColorSpace { sRGB, sRGBLinear, displayP3 };

    // Concrete components: linear light on the sRGB primaries, unbounded (so wide-gamut colours
    // keep their values), and an opacity. Codes to JSON as an object with these four fields.
    struct Resolved {
        float linearRed = 0;
        float linearGreen = 0;
        float linearBlue = 0;
        float opacity = 0;

        Resolved() = default;
        // The components are gamma-encoded for sRGB and Display P3, linear for sRGBLinear;
        // all are clamped to [0, 1].
        Resolved(RGBColorSpace colorSpace, float red, float green, float blue, float opacity = 1);

        // Gamma-encoded sRGB, extended: outside [0, 1] for colours outside sRGB.
        float red() const;
        float green() const;
        float blue() const;

        // What a display shows: sRGB, clamped; so is the opacity.
        QColor toQColor() const;
        graphics::CGColor cgColor() const; // extended linear sRGB, which keeps every value

        bool operator==(const Resolved&) const = default;

        friend void to_json(nlohmann::json& json, const Resolved& resolved);
        // Missing fields or fields that are not numbers throw foundation::DecodingError.
        friend void from_json(const nlohmann::json& json, Resolved& resolved);
    };

    // Clear.
    Color() noexcept = default;
    // Components are clamped to [0, 1] as the space requires, and a NaN reads as 0.
    Color(RGBColorSpace colorSpace, double red, double green, double blue, double opacity = 1);
    Color(double red, double green, double blue, double opacity = 1);  // sRGB
    Color(RGBColorSpace colorSpace, double white, double opacity = 1); // equal components
    explicit Color(const graphics::CGColor& color);
    // A system NSColor stays dynamic; a component one becomes a fixed colour.
    explicit Color(const graphics::NSColor& color);
    explicit Color(const Resolved& resolved);
    // The colour `name` of the bundle's colour table (Resources/Colors.plist; see NamedColor.h),
    // of the main bundle when `bundle` is null. A name the table lacks is logged once and
    // resolves as clear.
    explicit Color(std::string_view name, const std::shared_ptr<foundation::Bundle>& bundle = nullptr);

    static const Color red;
    static const Color orange;
    static const Color yellow;
    static const Color green;
    static const Color mint;
    static const Color teal;
    static const Color cyan;
    static const Color blue;
    static const Color indigo;
    static const Color purple;
    static const Color pink;
    static const Color brown;
    static const Color gray;
    static const Color black;
    static const Color white;
    static const Color clear;
    // Text and its secondary level, dark on light and light on dark.
    static const Color primary;
    static const Color secondary;
    // The context's accent colour, or the system accent when it sets none.
    static const Color accentColor;

    // Multiplies the opacity; `opacity` is clamped to [0, 1], and a NaN reads as 0.
    Color opacity(double opacity) const;
    // This colour blended towards `other`: 0 keeps this one, 1 gives `other`. The fraction is
    // clamped to [0, 1], and a NaN reads as 0. Mixing two fixed colours gives a fixed colour.
    Color mix(const Color& other, double fraction,
              GradientColorSpace colorSpace = GradientColorSpace::perceptual) const;

    // The components in `context`; its opacity is not applied (brushes apply it).
    Resolved resolve(const StyleContext& context) const;
    // Present only for a fixed colour.
    std::optional<graphics::CGColor> cgColor() const;
    // A fixed colour as components, a system colour or the accent colour at full opacity as
    // the system NSColor of that name. Nothing for other dynamic colours, which NSColor
    // cannot express.
    std::optional<graphics::NSColor> nsColor() const;

    // As a shape style: a solid brush, at the context's opacity.
    QBrush brush(const StyleContext& context, const QRectF& bounds) const;

    bool operator==(const Color& other) const;

    // "red", "kCGColorSpaceSRGB(1, 0.5, 0, 1)", "accentColor.opacity(0.5)": for logs and test
    // failures.
    std::string description() const;

private:
    enum class Kind : std::uint8_t { components, system, accent, named, mix };
    constexpr Color(Kind kind, std::uint8_t system) noexcept
        : kind_(kind)
        , system_(system) {}
    constexpr Color(std::string_view space, graphics::CGFloat c0, graphics::CGFloat c1, graphics::CGFloat c2,
                    graphics::CGFloat alpha) noexcept
        : count_(3)
        , space_(space)
        , values_{c0, c1, c2, alpha} {}

    static Color fromCGColor(const graphics::CGColor& color);
    bool isFixed() const { return kind_ == Kind::components; }
    graphics::CGColor makeCGColor() const;

    // Components: `count_` colour components of `space_`, alpha at values_[count_]. Dynamic
    // colours scale their resolved opacity by `opacity_`.
    Kind kind_ = Kind::components;
    std::uint8_t count_ = 3;
    std::uint8_t system_ = 0;
    std::string_view space_ = graphics::kCGColorSpaceSRGB;
    std::array<graphics::CGFloat, 4> values_{0, 0, 0, 0};
    graphics::CGFloat opacity_ = 1;
    std::shared_ptr<const detail::ColorStorage> storage_;
};

} // namespace ui
