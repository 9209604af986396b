#pragma once

#include "graphics/CGColorSpace.h"

#include <cstddef>
#include <string_view>

namespace graphics::detail {

enum class TransferCurve { sRGB, linear, gamma2_2 };
enum class Primaries { sRGB, displayP3, gray };

struct ColorSpaceInfo {
    std::string_view name;
    std::size_t components;
    CGColorSpaceModel model;
    bool extended;
    TransferCurve curve;
    Primaries primaries;
};

// Nothing for a name that is not in the table.
const ColorSpaceInfo* findColorSpace(std::string_view name);

} // namespace graphics::detail
