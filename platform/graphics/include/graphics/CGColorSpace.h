#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace graphics {

// The names are stored with colours, so they never change.
inline constexpr std::string_view kCGColorSpaceSRGB = "kCGColorSpaceSRGB";
inline constexpr std::string_view kCGColorSpaceExtendedSRGB = "kCGColorSpaceExtendedSRGB";
inline constexpr std::string_view kCGColorSpaceLinearSRGB = "kCGColorSpaceLinearSRGB";
inline constexpr std::string_view kCGColorSpaceExtendedLinearSRGB = "kCGColorSpaceExtendedLinearSRGB";
inline constexpr std::string_view kCGColorSpaceDisplayP3 = "kCGColorSpaceDisplayP3";
inline constexpr std::string_view kCGColorSpaceGenericGrayGamma2_2 = "kCGColorSpaceGenericGrayGamma2_2";
inline constexpr std::string_view kCGColorSpaceExtendedGray = "kCGColorSpaceExtendedGray";

enum class CGColorSpaceModel { monochrome, rgb };

namespace detail {
struct ColorSpaceInfo;
}

// One of the known colour spaces; there is no other way to get one than by its name.
class CGColorSpace {
public:
    static std::optional<CGColorSpace> withName(std::string_view name);

    std::string_view name() const;
    // Colour components, alpha not counted.
    std::size_t numberOfComponents() const;
    CGColorSpaceModel model() const;
    // Extended spaces keep components outside [0, 1].
    bool isExtended() const;
    bool isLinear() const;

    bool operator==(const CGColorSpace& other) const { return name() == other.name(); }

private:
    explicit CGColorSpace(const detail::ColorSpaceInfo* info)
        : info_(info) {}

    const detail::ColorSpaceInfo* info_;
};

} // namespace graphics
