#include "graphics/CGColorSpace.h"

#include "ColorSpaceInfo.h"

#include <array>

namespace graphics {

namespace detail {

namespace {

using enum CGColorSpaceModel;

constexpr std::array colorSpaces{
    ColorSpaceInfo{kCGColorSpaceSRGB, 3, rgb, false, TransferCurve::sRGB, Primaries::sRGB},
    ColorSpaceInfo{kCGColorSpaceExtendedSRGB, 3, rgb, true, TransferCurve::sRGB, Primaries::sRGB},
    ColorSpaceInfo{kCGColorSpaceLinearSRGB, 3, rgb, false, TransferCurve::linear, Primaries::sRGB},
    ColorSpaceInfo{kCGColorSpaceExtendedLinearSRGB, 3, rgb, true, TransferCurve::linear, Primaries::sRGB},
    ColorSpaceInfo{kCGColorSpaceDisplayP3, 3, rgb, false, TransferCurve::sRGB, Primaries::displayP3},
    ColorSpaceInfo{kCGColorSpaceGenericGrayGamma2_2, 1, monochrome, false, TransferCurve::gamma2_2,
                   Primaries::gray},
    ColorSpaceInfo{kCGColorSpaceExtendedGray, 1, monochrome, true, TransferCurve::sRGB, Primaries::gray},
};

} // namespace

const ColorSpaceInfo* findColorSpace(std::string_view name) {
    for (const ColorSpaceInfo& info : colorSpaces) {
        if (info.name == name) return &info;
    }
    return nullptr;
}

} // namespace detail

std::optional<CGColorSpace> CGColorSpace::withName(std::string_view name) {
    const detail::ColorSpaceInfo* info = detail::findColorSpace(name);
    if (!info) return std::nullopt;
    return CGColorSpace(info);
}

std::string_view CGColorSpace::name() const {
    return info_->name;
}

std::size_t CGColorSpace::numberOfComponents() const {
    return info_->components;
}

CGColorSpaceModel CGColorSpace::model() const {
    return info_->model;
}

bool CGColorSpace::isExtended() const {
    return info_->extended;
}

bool CGColorSpace::isLinear() const {
    return info_->curve == detail::TransferCurve::linear;
}

} // namespace graphics
