#include "graphics/CGColor.h"

#include "ColorConversion.h"
#include "ColorSpaceInfo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace graphics {

namespace {

CGFloat clampedComponent(CGFloat value, bool extended) {
    if (std::isnan(value)) return 0;
    if (!extended) return std::clamp(value, CGFloat(0), CGFloat(1));
    // Conversions can overflow a huge extended value; keep it the largest finite one.
    constexpr CGFloat max = std::numeric_limits<CGFloat>::max();
    return std::clamp(value, -max, max);
}

CGColorSpace spaceNamed(std::string_view name) {
    // The table holds every name used here, so this always finds one.
    return *CGColorSpace::withName(name);
}

} // namespace

CGColor::CGColor(const CGColorSpace& space, std::vector<CGFloat> components)
    : space_(space)
    , components_(std::move(components)) {
    const std::size_t alphaIndex = components_.size() - 1;
    for (std::size_t i = 0; i < alphaIndex; ++i)
        components_[i] = clampedComponent(components_[i], space_.isExtended());
    components_[alphaIndex] = clampedComponent(components_[alphaIndex], false);
}

std::optional<CGColor> CGColor::create(const CGColorSpace& space, std::span<const CGFloat> components) {
    if (components.size() != space.numberOfComponents() + 1) return std::nullopt;
    if (!std::all_of(components.begin(), components.end(), [](CGFloat v) { return std::isfinite(v); }))
        return std::nullopt;
    return CGColor(space, std::vector<CGFloat>(components.begin(), components.end()));
}

CGColor CGColor::sRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return CGColor(spaceNamed(kCGColorSpaceSRGB), {red, green, blue, alpha});
}

CGColor CGColor::gray(CGFloat white, CGFloat alpha) {
    return CGColor(spaceNamed(kCGColorSpaceGenericGrayGamma2_2), {white, alpha});
}

CGColor CGColor::fromQColor(const QColor& color) {
    if (!color.isValid()) return sRGB(0, 0, 0, 0);
    const QColor rgb = color.toRgb();
    return sRGB(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

CGColor CGColor::copyWithAlpha(CGFloat alpha) const {
    std::vector<CGFloat> components = components_;
    components.back() = alpha;
    return CGColor(space_, std::move(components));
}

CGColor CGColor::converted(const CGColorSpace& space) const {
    if (space == space_) return *this;
    const detail::ColorSpaceInfo& from = *detail::findColorSpace(space_.name());
    const detail::ColorSpaceInfo& to = *detail::findColorSpace(space.name());
    const std::span<const CGFloat> colour(components_.data(), components_.size() - 1);
    std::vector<CGFloat> result = detail::fromLinearSRGB(to, detail::toLinearSRGB(from, colour));
    result.push_back(alpha());
    return CGColor(space, std::move(result));
}

QColor CGColor::toQColor() const {
    const CGColor display = converted(spaceNamed(kCGColorSpaceSRGB));
    const std::vector<CGFloat>& c = display.components();
    return QColor::fromRgbF(static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]),
                            static_cast<float>(c[3]));
}

} // namespace graphics
